#include "calc/calcdatatest.h"
#include "calc/run/numbers.h"
#include "calc/run/workingcomposition.h"
#include "calc/solver/solversession.h"
#include "data/apperror.h"
#include "data/fields.h"
#include "support/readmerecipe.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

using namespace ReadmeRecipe;

// A sitting of the solver over the test crop Томат and the README's fertilizers, no window.
class SolverSessionTest : public CalcDataTest
{
protected:
    void SetUp() override
    {
        CalcDataTest::SetUp();
        for (const Amount &a : amounts())
            addToComposition(a.fertilizer, QString::fromLatin1(a.grams).toDouble());
        selectCrop(QStringLiteral("Томат"));
    }

    // Sets an element's targets of the selected crop, as the concentration grid would, and
    // gives its id_el.
    int setTargets(const QString &symbol, double vega, double cvet)
    {
        Dataset &targets = f4().ADOTable2;
        for (int r = 0; r < targets.recordCount(); ++r) {
            targets.moveTo(r);
            if (targets.asString(Fields::name_el) == symbol) {
                targets.edit();
                targets.setValue(Fields::vega, vega);
                targets.setValue(Fields::cvet, cvet);
                targets.post();
                return targets.asInteger(Fields::id_el);
            }
        }
        ADD_FAILURE() << "no target row " << symbol.toStdString();
        return 0;
    }

    static int elementRow(const SolverSession &s, const QString &symbol)
    {
        for (int r = 0; r < s.elements().size(); ++r) {
            if (s.elements().at(r).name == symbol)
                return r;
        }
        ADD_FAILURE() << "no element " << symbol.toStdString();
        return 0;
    }

    static ElementMode modeOf(const SolverSession &s, const QString &symbol)
    {
        return s.elements().at(elementRow(s, symbol)).mode;
    }

    SolverSource source{data};
    SolverChoices choices;
};

// The default follows the stage's target; a mode the grower set stays through a change of
// stage and into the next session.
TEST_F(SolverSessionTest, ModesTheGrowerDidNotSetFollowTheStage)
{
    setTargets(QStringLiteral("Zn"), 0, 0.3);
    setTargets(QStringLiteral("Mo"), 0.05, 0);
    choices.modes[setTargets(QStringLiteral("B"), 0, 0.7)] = ElementMode::AtLeast;
    const struct
    {
        const char *symbol;
        ElementMode vegetative;
        ElementMode flowering;
    } cases[] = {
        {"N", ElementMode::Target, ElementMode::Target},
        {"Zn", ElementMode::Ignore, ElementMode::Target},
        {"Mo", ElementMode::Target, ElementMode::Ignore},
        {"B", ElementMode::AtLeast, ElementMode::AtLeast}, // the grower's, whatever the target
        {"Na", ElementMode::Ignore, ElementMode::Ignore},  // no target in either stage
    };
    SolverSession session(source, choices, u'.');
    for (const auto &c : cases)
        EXPECT_EQ(modeOf(session, QString::fromLatin1(c.symbol)), c.vegetative) << c.symbol;
    session.setMode(elementRow(session, QStringLiteral("K")), ElementMode::AtMost);
    session.setStage(Stage::Flowering);
    for (const auto &c : cases)
        EXPECT_EQ(modeOf(session, QString::fromLatin1(c.symbol)), c.flowering) << c.symbol;
    EXPECT_EQ(modeOf(session, QStringLiteral("K")), ElementMode::AtMost);
    EXPECT_EQ(session.elementRow(elementRow(session, QStringLiteral("N"))).target, QStringLiteral("150"));

    // Back to the vegetative stage: the same defaults again, the grower's mode kept.
    session.setStage(Stage::Vegetative);
    for (const auto &c : cases)
        EXPECT_EQ(modeOf(session, QString::fromLatin1(c.symbol)), c.vegetative) << c.symbol;
    EXPECT_EQ(modeOf(session, QStringLiteral("K")), ElementMode::AtMost);
}

TEST_F(SolverSessionTest, ChoicesOutliveTheSessionForWhatIsStillThere)
{
    const QVariant well = addAnalysis(QStringLiteral("Скважина"), {{4, 40}}); // Ca
    {
        SolverSession first(source, choices, u'.');
        first.setStage(Stage::Flowering);
        first.setWater(well);
        first.setMode(elementRow(first, QStringLiteral("K")), ElementMode::AtMost);
        first.setFixed(1, true);
        first.setAtMost(2, 0.05);
        first.setAtMost(3, 0.2);
        first.setAtMost(3, std::nullopt); // a bound typed and taken back
    }
    SolverSession second(source, choices, u',');
    EXPECT_EQ(second.stage(), Stage::Flowering);
    EXPECT_EQ(second.water(), well);
    EXPECT_EQ(second.elements().at(elementRow(second, QStringLiteral("Ca"))).water, 40);
    EXPECT_EQ(second.elementRow(elementRow(second, QStringLiteral("Ca"))).water, QStringLiteral("40"));
    EXPECT_EQ(modeOf(second, QStringLiteral("K")), ElementMode::AtMost);
    const QList<SolverSession::FertilizerRow> expected = {
        {CalciumNitrate, QStringLiteral("0,95"), false, QString()},
        {PotassiumNitrate, QStringLiteral("0,56"), true, QString()},
        {AmmoniumNitrate, QStringLiteral("0,04"), false, QStringLiteral("0,05")},
        {Mkp, QStringLiteral("0,17"), false, QString()},
    };
    for (int f = 0; f < expected.size(); ++f) {
        const SolverSession::FertilizerRow row = second.fertilizerRow(f);
        EXPECT_EQ(row.name, expected.at(f).name);
        EXPECT_EQ(row.amount, expected.at(f).amount) << f;
        EXPECT_EQ(row.fixed, expected.at(f).fixed) << f;
        EXPECT_EQ(row.atMost, expected.at(f).atMost) << f;
    }

    // The kept row taken out of the composition and the analysis deleted: neither comes back.
    f4().T_rachet.moveTo(1);
    f4().T_rachet.remove();
    Dataset &analyses = data.own.T_voda;
    analyses.first();
    analyses.remove();
    SolverSession third(source, choices, u'.');
    EXPECT_TRUE(third.water().isNull());
    EXPECT_EQ(third.elements().at(elementRow(third, QStringLiteral("Ca"))).water, 0);
    for (const SolverProblem::Fertilizer &f : third.fertilizers())
        EXPECT_FALSE(f.fixed) << f.name.toStdString();
    EXPECT_TRUE(choices.fixed.isEmpty());
    EXPECT_EQ(choices.atMost.size(), 1) << "the bound of a row still there";
}

// An answer is shown in the session's words, written where it was found, and taken back by
// any change of a condition.
// The ammonium share and the EC start from the crop's properties (15 % and none for a crop
// without them), the weights from the element; what the grower types stays for the crop and
// the next session, and figures out of range are refused with nothing changed.
TEST_F(SolverSessionTest, SharesEcsAndWeightsStartFromTheCropAndStayAsTyped)
{
    {
        SolverSession s(source, choices, u'.');
        EXPECT_EQ(s.ammoniumShare(), 15.0) << "the test crop stores no share";
        EXPECT_EQ(s.ec(), std::nullopt);
        EXPECT_EQ(s.elements().at(elementRow(s, QStringLiteral("Ca"))).weight, 3);
        EXPECT_EQ(s.elements().at(elementRow(s, QStringLiteral("P"))).weight, 2);
        EXPECT_EQ(modeOf(s, QStringLiteral("S")), ElementMode::AtLeast);

        QSignalSpy changed(&s, &SolverSession::changed);
        s.setAmmoniumShare(std::nullopt);
        s.setEc(1.8);
        s.setByEc(true);
        s.setWeight(elementRow(s, QStringLiteral("N")), 7);
        EXPECT_EQ(changed.count(), 4);
        for (const std::function<void()> &refused :
             std::initializer_list<std::function<void()>>{[&] { s.setAmmoniumShare(101); },
                                                          [&] { s.setAmmoniumShare(-1); },
                                                          [&] { s.setEc(0); },
                                                          [&] { s.setEc(SolverSession::MaxEc + 1); },
                                                          [&] { s.setWeight(0, 0); },
                                                          [&] { s.setWeight(0, 11); }}) {
            EXPECT_THROW(refused(), AppError);
        }
        EXPECT_EQ(changed.count(), 4) << "a refused figure changes nothing";
        s.solve(100);
        ASSERT_TRUE(s.hasAmounts());
        EXPECT_NEAR(s.result()->ec.value_or(0), 1.8, EcTolerance) << "the EC typed, by the targets' scale";
        EXPECT_TRUE(s.chemistryText().startsWith(QStringLiteral("EC ответа 1.8")));
        EXPECT_FALSE(s.chemistryText().contains(QStringLiteral("не больше"))) << "no share limit";
    }
    SolverSession next(source, choices, u'.');
    EXPECT_EQ(next.ammoniumShare(), std::nullopt) << "no limit, as typed";
    EXPECT_EQ(next.ec(), 1.8);
    EXPECT_TRUE(next.byEc());
    EXPECT_EQ(next.elements().at(elementRow(next, QStringLiteral("N"))).weight, 7);
    next.setStage(Stage::Flowering);
    EXPECT_EQ(next.ec(), std::nullopt) << "an EC is typed for a stage";
}

TEST_F(SolverSessionTest, AnAnswerIsShownWrittenAndTakenBack)
{
    SolverSession session(source, choices, u',');
    QSignalSpy changed(&session, &SolverSession::changed);
    EXPECT_FALSE(session.result());
    EXPECT_TRUE(session.statusText().isEmpty());
    EXPECT_EQ(session.elementRow(0).meaning, RowMeaning::Pending);
    WorkingComposition composition(f4());
    EXPECT_FALSE(session.apply(composition)) << "nothing to write";

    session.solve(100);
    ASSERT_TRUE(session.hasAmounts());
    EXPECT_EQ(changed.count(), 1);
    // The old tomato's targets: more cations than anions, by what the core finds for them.
    ASSERT_TRUE(session.result()->imbalance);
    EXPECT_GT(*session.result()->imbalance, 0);
    EXPECT_EQ(session.statusText(),
              QStringLiteral("Подобрано по остальным элементам. Ни одно удобрение состава не содержит: Mn, Zn, "
                             "Cu, B, Mo. Цели не сбалансированы: катионов больше, чем анионов, на %1 мг-экв/л; "
                             "такую смесь солей составить нельзя. Поставьте Ca или Mg в режим «Не больше» или "
                             "добавьте хлорид/сульфат.")
                  .arg(QString::number(*session.result()->imbalance, 'f', 1).replace(u'.', u',')));
    EXPECT_FALSE(session.statusIsWarning());
    EXPECT_TRUE(session.totalsText().startsWith(QStringLiteral("Общее кол-во солей: ")));
    int met = 0;
    for (int r = 0; r < session.elements().size(); ++r) {
        const SolverSession::ElementRow row = session.elementRow(r);
        const SolverResult::Element &e = session.result()->elements.at(r);
        EXPECT_EQ(row.result, formatGeneral(RoundDecimals(e.result, 2), u',')) << row.name.toStdString();
        // A target met to the trace of rounding reads as the target.
        if (e.deviation && std::abs(*e.deviation) < 0.01) {
            EXPECT_EQ(row.result, row.target) << row.name.toStdString();
            ++met;
        }
        EXPECT_EQ(isWarning(row.meaning), e.warning) << row.name.toStdString();
        EXPECT_EQ(row.note.isEmpty(), !e.warning) << row.name.toStdString();
    }
    EXPECT_GE(met, 5) << "N, P, K, Mg, S and Fe are met";

    const SolverResult answer = *session.result();
    ASSERT_TRUE(session.apply(composition));
    Dataset &rows = f4().T_rachet;
    ASSERT_EQ(rows.recordCount(), answer.amounts.size());
    for (int f = 0; f < rows.recordCount(); ++f)
        EXPECT_EQ(rows.valueAt(f, Fields::kol).toDouble(), answer.amounts.at(f)) << f;

    // Each change of a condition takes the answer back and says so once.
    const std::function<void()> changes[] = {
        [&] { session.setStage(Stage::Flowering); },
        [&] { session.setWater(QVariant()); },
        [&] { session.setMode(0, ElementMode::AtLeast); },
        [&] { session.setFixed(0, true); },
        [&] { session.setAtMost(1, 0.5); },
        [&] { session.rereadWater(); },
    };
    for (const auto &change : changes) {
        session.solve(100);
        ASSERT_TRUE(session.result());
        changed.clear();
        change();
        EXPECT_FALSE(session.result());
        EXPECT_FALSE(session.hasAmounts());
        EXPECT_EQ(changed.count(), 1);
        EXPECT_TRUE(session.elementRow(0).result.isEmpty());
    }
}

// ---------------------------------------------------------------- the words, without a base

SolverProblem::Element element(const char *name, ElementMode mode, double target)
{
    SolverProblem::Element e;
    e.name = QString::fromLatin1(name);
    e.mode = mode;
    e.vega = target;
    e.cvet = target;
    return e;
}

SolverResult::Element figure(double target, double result, bool warning)
{
    SolverResult::Element e;
    e.target = target;
    e.result = result;
    e.fertilizers = result;
    if (target > 0)
        e.deviation = (result - target) / target * 100;
    e.warning = warning;
    return e;
}

// Six elements, two fertilizers, and an answer for them with every kind of row.
struct Outcome
{
    SolverProblem problem;
    SolverResult result;
};

Outcome everyKindOfRow()
{
    Outcome o;
    o.problem.elements = {element("N", ElementMode::Target, 150),    element("Ca", ElementMode::Target, 150),
                          element("Mn", ElementMode::Target, 0.8),   element("Na", ElementMode::AtMost, 20),
                          element("K", ElementMode::AtLeast, 200),   element("Si", ElementMode::Ignore, 0)};
    SolverProblem::Fertilizer kept;
    kept.name = QStringLiteral("Калиевая селитра");
    SolverProblem::Fertilizer bounded;
    bounded.name = QStringLiteral("Сульфат магния");
    o.problem.fertilizers = {kept, bounded};
    o.result.amounts = {0.5, 0.25};
    o.result.elements = {figure(150, 149.9999, false), figure(150, 97.6791, true), figure(0.8, 0, true),
                         figure(20, 31, true),         figure(200, 199.9998, true), figure(0, 3, false)};
    o.result.uncarried = {2, 3};
    o.result.unmet = {3};
    o.result.missedByRounding = {4};
    o.result.totals.concentration = 1234.567;
    o.result.totals.ppm = 617.283;
    return o;
}

TEST(SolverExplanation, EachRowSaysWhatItMeans)
{
    const Outcome o = everyKindOfRow();
    const SolverExplanation words(u',');
    const struct
    {
        RowMeaning meaning;
        bool warning;
        const char *note;
    } expected[] = {
        {RowMeaning::OnTarget, false, ""},
        {RowMeaning::OffTarget, true, "Ниже цели на 34,9 %: больше допустимых 10 %."},
        {RowMeaning::Uncarried, true, "Ни одно удобрение состава не содержит этот элемент."},
        {RowMeaning::Unmet, true, "Режим «Не больше» не выполнен: его решает одна вода."},
        {RowMeaning::MissedByRounding, true, "Режим «Не меньше» выполнен с точностью до округления количеств."},
        {RowMeaning::Ignored, false, ""},
    };
    for (int i = 0; i < o.problem.elements.size(); ++i) {
        const auto &e = expected[i];
        EXPECT_EQ(SolverExplanation::meaning(o.problem, o.result, i), e.meaning) << i;
        EXPECT_EQ(isWarning(e.meaning), e.warning) << i;
        EXPECT_EQ(words.note(o.problem, o.result, i), QString::fromUtf8(e.note)) << i;
    }
    // Beyond the tolerance above its target.
    Outcome above = o;
    above.result.elements[1] = figure(150, 170.25, true);
    EXPECT_EQ(words.note(above.problem, above.result, 1), QStringLiteral("Выше цели на 13,5 %: больше допустимых 10 %."));

    // Without amounts no row is judged.
    Outcome none = o;
    none.result.status = SolverResult::Status::Contradiction;
    none.result.elements.clear();
    for (int i = 0; i < none.problem.elements.size(); ++i) {
        EXPECT_EQ(SolverExplanation::meaning(none.problem, none.result, i), RowMeaning::Pending) << i;
        EXPECT_TRUE(words.note(none.problem, none.result, i).isEmpty()) << i;
    }
}

TEST(SolverExplanation, TheStatusLineOfEachOutcome)
{
    using Kind = SolverResult::Conflict::Kind;
    const Outcome base = everyKindOfRow();
    const struct
    {
        const char *what;
        std::function<void(SolverResult &)> make;
        const char *status;
    } cases[] = {
        {"solved", [](SolverResult &r) { r.uncarried.clear(); r.unmet.clear(); r.missedByRounding.clear(); },
         "Подобрано."},
        {"uncarried", [](SolverResult &r) { r.unmet.clear(); r.missedByRounding.clear(); },
         "Подобрано по остальным элементам. Ни одно удобрение состава не содержит: Mn, Na."},
        {"unmet and missed by rounding", [](SolverResult &) {},
         "Подобрано по остальным элементам. Ни одно удобрение состава не содержит: Mn, Na. "
         "Не выполнено: Na «Не больше». С точностью до округления количеств: K «Не меньше»."},
        {"contradiction",
         [](SolverResult &r) {
             r.status = SolverResult::Status::Contradiction;
             r.amounts.clear();
             r.elements.clear();
             r.unmet.clear();
             r.missedByRounding.clear();
             r.conflicts = {{Kind::AtLeast, 4}, {Kind::AtMost, 3}, {Kind::Fixed, 0}, {Kind::AmountAtMost, 1}};
         },
         "Ограничения противоречат друг другу: K «Не меньше», Na «Не больше», Калиевая селитра "
         "«Закрепить», Сульфат магния «Не больше г/л.». Ничего не подобрано. Ни одно удобрение "
         "состава не содержит: Mn, Na."},
        {"nothing asked",
         [](SolverResult &r) {
             r = SolverResult();
             r.status = SolverResult::Status::NothingAsked;
         },
         "Нечего подбирать: ни один элемент не участвует."},
        {"no answer",
         [](SolverResult &r) {
             r = SolverResult();
             r.status = SolverResult::Status::NoAnswer;
             r.uncarried = {2};
         },
         "Решение не найдено: задача слишком вырождена. Измените режимы или ограничения и подберите "
         "снова. Ни одно удобрение состава не содержит: Mn."},
        {"held at the most an amount can be",
         [](SolverResult &r) { r.uncarried.clear(); r.unmet.clear(); r.missedByRounding.clear(); r.atMaxAmount = {0, 1}; },
         "Подобрано. Целям нужно больше 1000 г/л: Калиевая селитра, Сульфат магния."},
    };
    for (const auto &c : cases) {
        SolverResult r = base.result;
        c.make(r);
        EXPECT_EQ(SolverExplanation(u'.').status(base.problem, r), QString::fromUtf8(c.status)) << c.what;
        // Rows the reading left out are named after every outcome.
        SolverProblem leftOut = base.problem;
        leftOut.leftOut = {QStringLiteral("строки целей без элемента: 2")};
        EXPECT_EQ(SolverExplanation(u'.').status(leftOut, r),
                  QString::fromUtf8(c.status) + QStringLiteral(" Не учтены строки целей без элемента: 2."))
            << c.what;
    }
}

TEST(SolverExplanation, NumbersTakeTheSeparatorGiven)
{
    const Outcome o = everyKindOfRow();
    const struct
    {
        QChar separator;
        QStringList texts;
    } cases[] = {
        {u'.', {"50", "2.8", "0.05", "-34.9", "0.000123", "Общее кол-во солей: 1234.57 мг./л., 617.28 PPM"}},
        {u',', {"50", "2,8", "0,05", "-34,9", "0,000123", "Общее кол-во солей: 1234,57 мг./л., 617,28 PPM"}},
    };
    for (const auto &c : cases) {
        const SolverExplanation words(c.separator);
        const QStringList texts = {words.concentration(49.9999), words.concentration(2.7999),
                                   words.concentration(0.0499), words.percent(-34.94),
                                   words.number(0.000123), words.totals(o.result)};
        EXPECT_EQ(texts, c.texts) << QString(c.separator).toStdString();
    }
    SolverResult contradiction = o.result;
    contradiction.status = SolverResult::Status::Contradiction;
    EXPECT_TRUE(SolverExplanation(u'.').totals(contradiction).isEmpty()) << "no amounts, no totals";
    EXPECT_EQ(SolverExplanation(u'.').number(-0.0), QStringLiteral("0"));
}

} // namespace
