#include "calculator/calculatorfixture.h"
#include "support/accessibilitywalk.h"

#include "calc/run/savedsolutions.h"
#include "data/fields.h"
#include "ions/ionswindow.h"
#include "solver/waterwindow.h"

#include <QComboBox>
#include <QTableView>

#include <memory>

namespace {

using namespace ReadmeRecipe;

// The calculator with the README's recipe typed in, and the ion window "Ионы..." opens.
class IonsWindowTest : public CalculatorTest
{
protected:
    void openIons()
    {
        press("ButtonIons");
        ASSERT_NE(IonsForm, nullptr);
        ASSERT_TRUE(IonsForm->isVisible());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(IonsForm));
        settle();
    }

    // The events in hand, then the refresh that follows them (a zero-time timer).
    static void settle()
    {
        for (int i = 0; i < 4; ++i)
            QCoreApplication::processEvents();
    }

    template<typename T>
    static T *inIons(const char *name)
    {
        T *w = IonsForm->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << "no control " << name;
        return w;
    }

    static QString ionsLabel(const char *name)
    {
        auto *l = inIons<QLabel>(name);
        return l ? l->text() : QString();
    }

    // A figure of IonGrid's row labelled `ion` ("K⁺"), column 1 mg/L, 2 mmol/L, 3 meq/L;
    // none when the ion has no row.
    static std::optional<double> ion(const QString &label, int column)
    {
        const QAbstractItemModel *m = inIons<QTableView>("IonGrid")->model();
        for (int r = 0; r < m->rowCount(); ++r) {
            if (m->index(r, 0).data().toString() == label) {
                double v = 0;
                EXPECT_TRUE(tryParseDecimal(m->index(r, column).data().toString(), v));
                return v;
            }
        }
        return std::nullopt;
    }

    static void choose(const char *box, const QString &text)
    {
        auto *b = inIons<QComboBox>(box);
        ASSERT_NE(b, nullptr);
        const int i = b->findText(text);
        ASSERT_GE(i, 0) << "no item " << text.toStdString() << " in " << box;
        b->setCurrentIndex(i);
        settle();
    }

    static void setPercentage(const char *text)
    {
        auto *edit2 = find<QLineEdit>(QStringLiteral("Edit2"));
        ASSERT_NE(edit2, nullptr);
        edit2->setText(QString::fromLatin1(text));
        settle();
    }

    // A water analysis stored as the water window stores it.
    static void storeWater(const QString &name, double hco3, double ph)
    {
        Dataset &analyses = data().own.T_voda;
        analyses.append();
        analyses.setValue(Fields::name_voda, name);
        analyses.setValue(Fields::hco3, hco3);
        analyses.setValue(Fields::ph_voda, ph);
        analyses.post();
    }

    // A fertilizer with the composition rows given (element symbol, %), added to the base and
    // to the working composition at `grams` g/L.
    void addOwnFertilizer(const QString &name, const QList<QPair<QString, double>> &rows, const char *grams)
    {
        Connection &c = data().ADOConnection1;
        Connection::Statement f(c, QStringLiteral("INSERT INTO t_udobra (name_udobra, ppm) VALUES (?, 0)"));
        f.bind(1, name);
        f.step();
        for (const auto &[symbol, percent] : rows) {
            Connection::Statement r(c, QStringLiteral(
                "INSERT INTO T_sostav_udobra (id_udobra, id_element, kol_element) SELECT u.id_udobra, "
                "e.id_element, ? FROM t_udobra u, T_element e WHERE u.name_udobra = ? "
                "AND e.Smallname_element = ?"));
            r.bind(1, percent);
            r.bind(2, name);
            r.bind(3, symbol);
            r.step();
        }
        ASSERT_TRUE(DatabaseCycleForTest());
        addFertilizer(name);
        typeAmount(name, QString::fromLatin1(grams).replace(u'.', systemDecimalSeparator()));
        settle();
    }

    // N of the concentration grid at the slider's percentage ("Расчёт от p%"), as the last run
    // worked it out.
    static double nitrogen()
    {
        DataGrid *g = grid("dxDBGrid3");
        const int row = rowOf(g, "dxDBGrid3name_el", QStringLiteral("N"));
        EXPECT_GE(row, 0);
        double v = 0;
        EXPECT_TRUE(tryParseDecimal(cell(g, row, "dxDBGrid3Column10"), v));
        return v;
    }

    // The calculator's database cycle, which reads every dataset afresh.
    static bool DatabaseCycleForTest()
    {
        data().closeAll();
        data().openAll();
        return f4().T_rachet.isActive();
    }
};

// Hand figures for the README's recipe: K from potassium nitrate 0.56 g/L x 46.58 % K2O x 10 x
// 0.8302 = 216.55 mg/L and from MKP 0.17 x 34.61 % x 10 x 0.8302 = 48.85, together 265.40 mg/L
// = 6.788 mmol/L (39.098 g/mol).
TEST_F(IonsWindowTest, FollowsRunsPercentageCropAndSavedSolution)
{
    typeReadmeRecipe();
    openIons();
    EXPECT_EQ(IonsForm->windowTitle(), QStringLiteral("Ионный состав"));
    EXPECT_NEAR(ion(QStringLiteral("K⁺"), 2).value_or(0), 6.788, 0.001);
    EXPECT_NEAR(ion(QStringLiteral("K⁺"), 1).value_or(0), 265.40, 0.01);
    EXPECT_NEAR(ion(QStringLiteral("K⁺"), 3).value_or(0), 6.788, 0.001);
    // Ca2+ carries two charges: its meq are twice its mmol.
    EXPECT_NEAR(ion(QStringLiteral("Ca²⁺"), 3).value_or(0), 2 * ion(QStringLiteral("Ca²⁺"), 2).value_or(-1), 0.002);
    const QString ec = ionsLabel("EcLabel");
    EXPECT_TRUE(ec.startsWith(QStringLiteral("EC ≈ "))) << ec.toStdString();
    EXPECT_TRUE(ec.contains(QStringLiteral(" мСм/см при 25 °C"))) << ec.toStdString();
    EXPECT_TRUE(ionsLabel("PhLabel").endsWith(QStringLiteral(", оценка")));
    // No standard salt brings an element without an ion here.
    EXPECT_EQ(ionsLabel("UnmappedLabel"), QStringLiteral("Все элементы состава учтены в ионах."));

    // The slider's percentage: half the potassium.
    setPercentage("50");
    EXPECT_NEAR(ion(QStringLiteral("K⁺"), 2).value_or(0), 6.788 / 2, 0.001);
    // An amount typed: 1.12 g/L of potassium nitrate, 2 x 216.55 / 2 + 48.85 / 2 at 50 %.
    typeAmount(PotassiumNitrate, QStringLiteral("1") + systemDecimalSeparator() + QStringLiteral("12"));
    tick(recalculationTimer());
    settle();
    EXPECT_NEAR(ion(QStringLiteral("K⁺"), 1).value_or(0), 216.55 + 48.85 / 2, 0.02);

    // Another crop: its name and its targets' balance, its EC target not yet stated.
    selectCrop(QStringLiteral("Огурец"));
    settle();
    EXPECT_EQ(ionsLabel("CropLabel"), QStringLiteral("Огурец"));
    EXPECT_TRUE(ionsLabel("TargetBalanceLabel").startsWith(QStringLiteral("Цели культуры: ")));
    EXPECT_TRUE(ec.isEmpty() || ionsLabel("EcLabel").contains(QStringLiteral("цель культуры не указана")));

    // A saved solution, at the percentage it was saved with (100), whatever the slider says.
    SavedSolutions solutions(data());
    solutions.copyCompositionInto(solutions.appendSolution(QStringLiteral("Рассада"), QStringLiteral("100")));
    settle();
    auto *source = inIons<QComboBox>("SourceBox");
    ASSERT_EQ(source->count(), 2);
    source->setCurrentIndex(1);
    settle();
    EXPECT_NEAR(ion(QStringLiteral("K⁺"), 1).value_or(0), 2 * 216.55 + 48.85, 0.02);
}

// Plain N counts as the form the fertilizer's properties state: nitrate until the grower says
// ammonium, then all of it is NH4+. An element no ion stands for is named, never dropped.
TEST_F(IonsWindowTest, PlainNitrogenFollowsItsFormAndUnmappedElementsAreListed)
{
    data().ADOConnection1.exec(QStringLiteral(
        "INSERT INTO T_element (Smallname_element, fullname_element, kof) VALUES ('Co', 'Кобальт', 0)"));
    // Ammonium sulphate typed with plain N, 1 g/L: N 21.2 % = 212 mg/L = 15.135 mmol/L, S 24.26 %
    // as sulphate; Co 1 % = 10 mg/L.
    addOwnFertilizer(QStringLiteral("Азотное с кобальтом"),
                     {{QStringLiteral("N"), 21.2}, {QStringLiteral("S"), 24.26}, {QStringLiteral("Co"), 1}}, "1");
    openIons();
    EXPECT_NEAR(ion(QStringLiteral("NO₃⁻"), 2).value_or(0), 212 / 14.007, 0.001);
    EXPECT_FALSE(ion(QStringLiteral("NH₄⁺"), 2).has_value());
    EXPECT_TRUE(ionsLabel("UnmappedLabel").contains(QStringLiteral("Co 10") + systemDecimalSeparator()
                                                    + QStringLiteral("00 мг/л (Азотное с кобальтом)")))
        << ionsLabel("UnmappedLabel").toStdString();

    // "аммонийный" in the properties grid of the recipe's fertilizers.
    Dataset &properties = data().own.T_SVOISTVA_ION;
    ASSERT_EQ(properties.recordCount(), 1);
    properties.edit();
    properties.setValue(Fields::forma_azota, int(NitrogenForm::Ammonium));
    properties.post();
    settle();
    EXPECT_FALSE(ion(QStringLiteral("NO₃⁻"), 2).has_value());
    // At the solution's pH of about 5 a few thousandths of it are NH3.
    EXPECT_NEAR(ion(QStringLiteral("NH₄⁺"), 2).value_or(0), 212 / 14.007, 0.01);
    EXPECT_TRUE(ionsLabel("Nh4Label").startsWith(QStringLiteral("Аммоний: 100")));
    EXPECT_EQ(stored("SELECT forma_azota FROM t_svoistva_udobra p JOIN t_udobra u ON u.id_udobra = p.id_udobra "
                     "WHERE u.name_udobra = 'Азотное с кобальтом'"),
              QVariant(1));
}

// The dose against the water's alkalinity goes into the working composition in g/L (mL x
// density, at the slider's percentage), and the run then counts its nitrogen.
TEST_F(IonsWindowTest, AddAcidPutsTheDoseInGramsAndTheRunCountsItsNitrogen)
{
    typeReadmeRecipe();
    storeWater(QStringLiteral("Скважина"), 244.068, 7.5); // 4 meq/L
    setPercentage("50");
    press("Button4");
    const double nBefore = nitrogen();
    openIons();
    choose("WaterBox", QStringLiteral("Скважина"));
    choose("AcidBox", QStringLiteral("Азотная кислота 60%"));
    ASSERT_TRUE(IonsForm->analysis() && IonsForm->analysis()->acid);
    const Chemistry::AcidDose dose = *IonsForm->analysis()->acid;
    ASSERT_GT(dose.mlPerLitre, 0);
    // Nitric acid gives one H+ for each N: at most the water's 4 meq/L, 14.007 mg/L of N each.
    EXPECT_LE(dose.elementMg, 4 * 14.007);
    EXPECT_GT(dose.elementMg, 0);
    EXPECT_TRUE(ionsLabel("AcidLabel").contains(QStringLiteral("мл на 1000 л"))) << ionsLabel("AcidLabel").toStdString();

    QTest::mouseClick(inIons<QPushButton>("AddAcidButton"), Qt::LeftButton);
    settle();
    const double density = stored("SELECT plotnost FROM t_svoistva_udobra WHERE id_udobra = 18").toDouble();
    ASSERT_GT(density, 1);
    const QVariant kol = f4().T_rachet.lookup(Fields::id_udobra, 18, Fields::kol);
    ASSERT_FALSE(kol.isNull()) << "the acid is in the working composition";
    // g/L at 100 % in the row, so that the slider's 50 % gives the dose itself.
    EXPECT_NEAR(kol.toDouble() * 50 / 100, dose.mlPerLitre * density, 1e-6);
    EXPECT_NEAR(nitrogen() - nBefore, dose.elementMg, 0.01) << "the run counted the acid's N";
    // A second press sets the same row again: the dose is for the water, not added twice.
    QTest::mouseClick(inIons<QPushButton>("AddAcidButton"), Qt::LeftButton);
    settle();
    EXPECT_EQ(stored("SELECT count(*) FROM t_rachet WHERE id_udobra = 18").toInt(), 1);
    EXPECT_EQ(f4().T_rachet.lookup(Fields::id_udobra, 18, Fields::kol), kol);
    EXPECT_EQ(boxes.count(), 0);
}

// The crop's EC target and ammonium share are written into its properties row, made at the
// first figure; a row a second seat made meanwhile is written, never doubled.
TEST_F(IonsWindowTest, CropFiguresMakeOnePropertiesRowAndShowBesideTheEc)
{
    typeReadmeRecipe();
    openIons();
    const QString crop = ionsLabel("CropLabel");
    ASSERT_FALSE(crop.isEmpty());
    EXPECT_TRUE(ionsLabel("EcLabel").contains(QStringLiteral("цель культуры не указана")));
    auto type = [](const char *edit, const QString &text) {
        auto *e = inIons<QLineEdit>(edit);
        ASSERT_NE(e, nullptr);
        e->setFocus();
        e->selectAll();
        typeText(e, text);
        QTest::keyClick(e, Qt::Key_Return);
        settle();
    };
    const QString sep = systemDecimalSeparator();
    type("CropEcVegaEdit", QStringLiteral("2") + sep + QStringLiteral("3"));
    EXPECT_EQ(stored("SELECT count(*) FROM t_svoistva_kult").toInt(), 1);
    EXPECT_EQ(stored("SELECT ec_vega FROM t_svoistva_kult").toDouble(), 2.3);
    EXPECT_TRUE(ionsLabel("EcLabel").contains(QStringLiteral("цель культуры (вега): 2") + sep + QStringLiteral("30")))
        << ionsLabel("EcLabel").toStdString();
    choose("StageBox", QStringLiteral("Цвет"));
    EXPECT_TRUE(ionsLabel("EcLabel").contains(QStringLiteral("цель культуры не указана")));

    // Another seat makes the next crop's row first; this one writes into it.
    selectCrop(QStringLiteral("Огурец"));
    settle();
    data().ADOConnection1.exec(QStringLiteral(
        "INSERT INTO t_svoistva_kult (id_kult, ec_cvet) SELECT id_kult, 1.9 FROM T_kult WHERE name_kult = 'Огурец'"));
    type("CropNh4Edit", QStringLiteral("8"));
    EXPECT_EQ(stored("SELECT count(*) FROM t_svoistva_kult").toInt(), 2);
    EXPECT_EQ(stored("SELECT nh4_dolya FROM t_svoistva_kult p JOIN T_kult k ON k.id_kult = p.id_kult "
                     "WHERE k.name_kult = 'Огурец'").toDouble(), 8);
    EXPECT_EQ(stored("SELECT ec_cvet FROM t_svoistva_kult p JOIN T_kult k ON k.id_kult = p.id_kult "
                     "WHERE k.name_kult = 'Огурец'").toDouble(), 1.9);
    EXPECT_EQ(inIons<QLineEdit>("CropEcCvetEdit")->text(), QStringLiteral("1") + sep + QStringLiteral("9"));

    // A share above 100 % is refused with its name, and nothing is written.
    boxes.expect(BoxButton::Ok);
    type("CropNh4Edit", QStringLiteral("120"));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.last().text.contains(QStringLiteral("Доля аммония в азоте"))) << boxes.last().text.toStdString();
    EXPECT_EQ(stored("SELECT max(nh4_dolya) FROM t_svoistva_kult").toDouble(), 8);
}

// Na, Cl and Si are recent elements: a base without them opens the window, those ions absent.
TEST_F(IonsWindowTest, BaseWithoutSodiumChlorideAndSiliconOpensTheWindow)
{
    for (const char *sql : {"DELETE FROM t_konc WHERE id_el IN (SELECT id_element FROM T_element WHERE "
                            "Smallname_element IN ('Na', 'Cl', 'Si'))",
                            "DELETE FROM T_sostav_udobra WHERE id_element IN (SELECT id_element FROM "
                            "T_element WHERE Smallname_element IN ('Na', 'Cl', 'Si'))",
                            "DELETE FROM T_element WHERE Smallname_element IN ('Na', 'Cl', 'Si')"})
        data().ADOConnection1.exec(QString::fromUtf8(sql));
    ASSERT_TRUE(DatabaseCycleForTest());
    typeReadmeRecipe();
    openIons();
    EXPECT_NEAR(ion(QStringLiteral("K⁺"), 2).value_or(0), 6.788, 0.001);
    EXPECT_FALSE(ion(QStringLiteral("Na⁺"), 2).has_value());
    EXPECT_FALSE(ion(QStringLiteral("Cl⁻"), 2).has_value());
    EXPECT_TRUE(ionsLabel("BalanceLabel").startsWith(QStringLiteral("Катионы ")));
    EXPECT_EQ(boxes.count(), 0);
}

// A screen reader finds every control with a role and a Russian name; Tab reaches each one
// that takes input; Escape closes the window.
TEST_F(IonsWindowTest, EveryControlIsNamedAndReachableAndEscapeCloses)
{
    typeReadmeRecipe();
    storeWater(QStringLiteral("Скважина"), 183, 7.8);
    openIons();
    choose("WaterBox", QStringLiteral("Скважина"));
    int named = 0;
    for (const AccessibleControl &c : accessibleControls(IonsForm)) {
        if (c.container)
            continue;
        EXPECT_NE(c.role, QAccessible::NoRole) << c.objectName.toStdString();
        EXPECT_TRUE(isRussian(c.name)) << c.objectName.toStdString() << ": " << c.name.toStdString();
        ++named;
    }
    EXPECT_GT(named, 20);

    QSet<QString> reached;
    IonsForm->activateWindow();
    inIons<QComboBox>("SourceBox")->setFocus();
    for (int i = 0; i < 40; ++i) {
        if (QWidget *w = QApplication::focusWidget())
            reached.insert(w->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    for (const char *name : {"SourceBox", "WaterBox", "StageBox", "IonGrid", "IonPropertiesGrid",
                             "CropEcVegaEdit", "CropEcCvetEdit", "CropNh4Edit", "AcidBox", "TargetPhEdit",
                             "AddAcidButton"})
        EXPECT_TRUE(reached.contains(QString::fromLatin1(name))) << name;

    QTest::keyClick(IonsForm, Qt::Key_Escape);
    EXPECT_FALSE(IonsForm->isVisible());
}

// "Анализ воды" takes the alkalinity as a report states it and stores it as HCO3: 4 meq/L in
// every unit is 4 x 61.017 = 244.068 mg/L, stored with one decimal.
TEST_F(IonsWindowTest, AlkalinityInEveryUnitStoresTheSameHco3)
{
    storeWater(QStringLiteral("Скважина"), 0, 7.2);
    WaterWindow water(data());
    water.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&water));
    auto *edit = water.findChild<QLineEdit *>(QStringLiteral("AlkalinityEdit"));
    auto *unit = water.findChild<QComboBox *>(QStringLiteral("AlkalinityUnitBox"));
    auto *button = water.findChild<QPushButton *>(QStringLiteral("AlkalinityButton"));
    ASSERT_TRUE(edit && unit && button);
    ASSERT_EQ(unit->count(), 4);
    const QString sep = systemDecimalSeparator();
    // HCO3 mg/L, CaCO3 mg/L (50.043 per meq), meq/L, German degrees (17.848 mg/L CaCO3 each).
    const QString typed[] = {QStringLiteral("244") + sep + QStringLiteral("068"),
                             QStringLiteral("200") + sep + QStringLiteral("172"), QStringLiteral("4"),
                             QStringLiteral("11") + sep + QStringLiteral("2154")};
    for (int i = 0; i < 4; ++i) {
        data().ADOConnection1.exec(QStringLiteral("UPDATE t_voda SET hco3 = 0"));
        data().own.T_voda.refresh();
        unit->setCurrentIndex(i);
        edit->setText(typed[i]);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_DOUBLE_EQ(stored("SELECT hco3 FROM t_voda").toDouble(), 244.1) << unit->currentText().toStdString();
        EXPECT_TRUE(edit->text().isEmpty());
    }
    boxes.expect(BoxButton::Ok);
    edit->setText(QStringLiteral("много"));
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("Щёлочность «много» не число."));
    EXPECT_DOUBLE_EQ(stored("SELECT hco3 FROM t_voda").toDouble(), 244.1);
}

} // namespace
