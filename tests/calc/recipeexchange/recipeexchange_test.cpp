#include "data/csvtable.h"
#include "calc/recipeexchange/fertilizercsv.h"
#include "calc/recipeexchange/recipeexport.h"
#include "calc/recipeexchange/recipeimport.h"
#include "calc/recipeexchange/recipesolve.h"
#include "calc/calcdatatest.h"
#include "calc/solver/solverexplanation.h"
#include "calc/solver/solversource.h"
#include "calc/recipefile/recipeanalysis.h"
#include "data/apperror.h"
#include "data/basequeries.h"
#include "data/connection.h"
#include "calc/recipefile/recipefiletestdata.h"
#include "support/freshbase.h"

#include <gtest/gtest.h>

// Recipes carried from one base into another: what the import decides, what it writes, and that
// the solution computes the same on the other side.
namespace {

using RecipeImport::Decision;

// The example recipe with a crop and a fertilizer of the grower's own, which no default base has.
RecipeFile::Recipe sharedRecipe()
{
    RecipeFile::Recipe r = RecipeFile::read(RecipeFileTestData::example());
    r.name = QStringLiteral("Томат, от соседа");
    r.percentage = 120;
    r.litres = 200;
    r.fertilizers.append({QStringLiteral("Смесь соседа"), {{QStringLiteral("K2O"), 20}, {QStringLiteral("MgO"), 5.5}},
                          0.3, {}, {}, 900, 350, 120});
    r.crop = RecipeFile::Crop{QStringLiteral("Томат, сосед"), QStringLiteral("5.8"),
                              {{QStringLiteral("N"), 200, 180}, {QStringLiteral("K"), 300, 350}},
                              2.5, 3.0, 8};
    return r;
}

class RecipeExchange : public ::testing::Test
{
protected:
    // A base of its own beside the fresh one the fixture works in.
    struct Side
    {
        FreshBase files;
        Connection connection{files.basePath()};
    };

    QMap<QString, double> labelIn(Connection &c, const QString &fertilizer)
    {
        BaseQueries q(c);
        const auto row = q.fertilizerByName(fertilizer);
        QMap<QString, double> out;
        if (!row)
            return out;
        for (const BaseRows::CompositionLine &line : q.compositions(QList<int>{row->id}).value(row->id))
            out[line.symbol] += line.percent;
        return out;
    }

    int fertilizerCount(Connection &c) { return int(BaseQueries(c).fertilizers().size()); }

    // Imports `recipe` into `c` and returns the saved solution exported back from it.
    RecipeFile::Recipe throughBase(Connection &c, const RecipeFile::Recipe &recipe, RecipeImport::Plan *planOut = nullptr)
    {
        const RecipeImport::Plan plan = RecipeImport::plan(c, recipe);
        if (planOut)
            *planOut = plan;
        const RecipeImport::Result result = RecipeImport::apply(c, plan);
        BaseQueries q(c);
        return RecipeExport::savedSolution(q, result.solution);
    }
};

TEST_F(RecipeExchange, SavedSolutionCarriedToAnotherBaseComputesTheSame)
{
    Side from;
    const RecipeFile::Recipe original = throughBase(from.connection, sharedRecipe());
    const QByteArray file = RecipeFile::write(original);

    // The other greenhouse typed its potassium nitrate from another label.
    Side to;
    to.connection.exec(QStringLiteral(
        "UPDATE T_sostav_udobra SET kol_element = 44 WHERE id_udobra = "
        "(SELECT id_udobra FROM t_udobra WHERE name_udobra = 'Калиевая селитра') AND id_element = "
        "(SELECT id_element FROM T_element WHERE Smallname_element = 'K2O')"));
    const QMap<QString, double> theirs = labelIn(to.connection, QStringLiteral("Калиевая селитра"));
    ASSERT_EQ(theirs.value(QStringLiteral("K2O")), 44);
    const int before = fertilizerCount(to.connection);

    RecipeImport::Plan plan;
    const RecipeFile::Recipe arrived = throughBase(to.connection, RecipeFile::read(file), &plan);

    // Their own fertilizer is left as it was; the file's comes in under a new name.
    EXPECT_EQ(labelIn(to.connection, QStringLiteral("Калиевая селитра")), theirs);
    for (qsizetype i = 0; i < plan.fertilizers.size(); ++i) {
        const QString name = original.fertilizers.at(i).name;
        SCOPED_TRACE(name.toStdString());
        const Decision expected = name == QStringLiteral("Калиевая селитра") ? Decision::Rename
                                  : name == QStringLiteral("Смесь соседа") ? Decision::Create
                                                                            : Decision::Reuse;
        EXPECT_EQ(plan.fertilizers.at(i).decision, expected);
    }
    EXPECT_EQ(plan.fertilizers.at(1).name, QStringLiteral("Калиевая селитра (2)"));
    EXPECT_FALSE(plan.crop.reuse);
    EXPECT_EQ(fertilizerCount(to.connection), before + 2);

    // The same figures on both sides: every element and the EC.
    const RecipeFile::Analysis a = RecipeFile::analyse(original);
    const RecipeFile::Analysis b = RecipeFile::analyse(arrived);
    ASSERT_EQ(a.elements.size(), b.elements.size());
    for (qsizetype i = 0; i < a.elements.size(); ++i) {
        SCOPED_TRACE(a.elements.at(i).symbol.toStdString());
        EXPECT_NEAR(a.elements.at(i).total(), b.elements.at(i).total(), 1e-9);
    }
    EXPECT_NEAR(a.chemistry.solution.conductivity.ec, b.chemistry.solution.conductivity.ec, 1e-9);
    EXPECT_GT(a.chemistry.solution.conductivity.ec, 1);

    // Everything else the file carries arrives as it left.
    EXPECT_EQ(arrived.crop, original.crop);
    EXPECT_EQ(arrived.percentage, 120);
    EXPECT_EQ(arrived.litres, original.litres);
    for (qsizetype i = 0; i < arrived.fertilizers.size(); ++i) {
        RecipeFile::Fertilizer f = arrived.fertilizers.at(i);
        f.name = original.fertilizers.at(i).name;
        EXPECT_EQ(f, original.fertilizers.at(i)) << f.name.toStdString();
    }
}

TEST_F(RecipeExchange, SecondImportOfOneFileCreatesNothing)
{
    Side side;
    const RecipeFile::Recipe recipe = sharedRecipe();
    throughBase(side.connection, recipe);
    const int fertilizers = fertilizerCount(side.connection);

    const RecipeImport::Plan again = RecipeImport::plan(side.connection, recipe);
    EXPECT_FALSE(again.createsAnything()) << RecipeImport::describe(again).join(u'\n').toStdString();
    EXPECT_EQ(RecipeImport::apply(side.connection, again).created, 0);
    EXPECT_EQ(fertilizerCount(side.connection), fertilizers);

    // A fertilizer renamed by the first import is found again under that name.
    side.connection.exec(QStringLiteral("UPDATE T_sostav_udobra SET kol_element = 30 WHERE id_udobra = "
                                        "(SELECT id_udobra FROM t_udobra WHERE name_udobra = 'Смесь соседа')"));
    RecipeImport::apply(side.connection, RecipeImport::plan(side.connection, recipe));
    const RecipeImport::Plan third = RecipeImport::plan(side.connection, recipe);
    EXPECT_FALSE(third.createsAnything()) << RecipeImport::describe(third).join(u'\n').toStdString();
    EXPECT_EQ(third.fertilizers.last().name, QStringLiteral("Смесь соседа (2)"));
}

TEST_F(RecipeExchange, AFaultWhileWritingLeavesTheBaseAsItWas)
{
    Side side;
    RecipeImport::Plan plan = RecipeImport::plan(side.connection, sharedRecipe());
    const int fertilizers = fertilizerCount(side.connection);
    const auto solutionsOfAllCrops = [&side] {
        qsizetype n = 0;
        BaseQueries q(side.connection);
        for (const BaseRows::Crop &c : q.crops())
            n += q.savedSolutions(c.id).size();
        return n;
    };
    const qsizetype solutions = solutionsOfAllCrops();

    // Names the grower may type in the preview and the base refuses, each after the first
    // fertilizer is already written.
    const QList<std::pair<QString, QString>> cases = {
        {QString(), QStringLiteral("пустое название")},
        {QString(51, u'ж'), QStringLiteral("длиннее 50")},
        {QStringLiteral("кальциевая СЕЛИТРА"), QStringLiteral("уже есть в базе")},
    };
    for (const auto &[name, message] : cases) {
        SCOPED_TRACE(message.toStdString());
        plan.fertilizers.last().name = name;
        try {
            RecipeImport::apply(side.connection, plan);
            ADD_FAILURE() << "written";
        } catch (const AppError &e) {
            EXPECT_TRUE(e.text().contains(message)) << e.text().toStdString();
        }
        EXPECT_EQ(fertilizerCount(side.connection), fertilizers);
        EXPECT_EQ(solutionsOfAllCrops(), solutions);
        EXPECT_FALSE(BaseQueries(side.connection).cropByName(QStringLiteral("Томат, сосед")));
    }
}

TEST_F(RecipeExchange, WhatTheBaseCannotTakeIsRefusedBeforeWriting)
{
    Side side;
    // An element the base was stripped of, and a crop named that is not there.
    side.connection.exec(QStringLiteral("DELETE FROM T_element WHERE Smallname_element = 'MgO'"));
    try {
        RecipeImport::plan(side.connection, sharedRecipe());
        ADD_FAILURE() << "planned";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("«MgO»"))) << e.text().toStdString();
    }
    RecipeFile::Recipe plain = RecipeFile::read(RecipeFileTestData::example());
    plain.fertilizers = plain.fertilizers.mid(0, 1);
    plain.acid.reset();
    try {
        RecipeImport::plan(side.connection, plain, QStringLiteral("Кактус"));
        ADD_FAILURE() << "planned";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("«Кактус»"))) << e.text().toStdString();
    }
    // Without a crop in the file or on the call: the base's first.
    const RecipeImport::Plan plan = RecipeImport::plan(side.connection, plain);
    EXPECT_TRUE(plan.crop.reuse);
    EXPECT_EQ(plan.crop.existing, BaseQueries(side.connection).crops().first().id);
}

TEST_F(RecipeExchange, ExportRefusesWhatNoFileCouldHold)
{
    Side side;
    side.connection.exec(QStringLiteral(
        "INSERT INTO T_element (id_element, Smallname_element, fullname_element, kof) VALUES (900, 'Se', 'Селен', 0);"
        "INSERT INTO t_rachet (id_udobra, kol) SELECT id_udobra, 1 FROM t_udobra WHERE name_udobra = 'Калиевая селитра';"));
    BaseQueries q(side.connection);
    RecipeExport::Source source{QStringLiteral("Рабочий"), 100, {}, {}, {}};
    EXPECT_EQ(RecipeExport::workingComposition(q, source).fertilizers.size(), 1);
    side.connection.exec(QStringLiteral(
        "INSERT INTO T_sostav_udobra (id_element, id_udobra, kol_element) SELECT 900, id_udobra, 1 "
        "FROM t_udobra WHERE name_udobra = 'Калиевая селитра'"));
    try {
        RecipeExport::workingComposition(q, source);
        ADD_FAILURE() << "exported";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("«Se»"))) << e.text().toStdString();
    }
}

} // namespace

namespace {

// Fertilizer lists as CSV: what a spreadsheet writes, and the reference books read back.
class FertilizerLists : public ::testing::Test
{
protected:
    FreshBase files;
    Connection connection{files.basePath()};
};

TEST_F(FertilizerLists, AListAsLibreOfficeWritesItImports)
{
    // ";" between fields, decimal commas, a quoted name holding the separator, a blank cell,
    // CR LF, no byte-order mark.
    const QByteArray sheet = "Удобрение;N-NO3;N-NH4;P2O5;K2O;CaO;MgO;SO3;Fe;Растворимость, г/л;Цена\r\n"
                             "Калиевая селитра;13,85;;;46,58;;;;;316;120\r\n"
                             "\"Смесь; своя\";5;5,5;10;20;;2;;0,1;;80,5\r\n"
                             "\r\n";
    const QList<RecipeFile::Fertilizer> list = FertilizerCsv::read(sheet);
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list.at(0).composition, (QMap<QString, double>{{QStringLiteral("N-NO3"), 13.85}, {QStringLiteral("K2O"), 46.58}}));
    EXPECT_EQ(list.at(0).solubility, 316);
    EXPECT_EQ(list.at(1).name, QStringLiteral("Смесь; своя"));
    EXPECT_EQ(list.at(1).composition.value(QStringLiteral("N-NH4")), 5.5);
    EXPECT_EQ(list.at(1).price, 80.5);
    EXPECT_FALSE(list.at(1).solubility.has_value());

    // The same list with "," and decimal points reads the same.
    QByteArray comma = sheet;
    comma.replace(',', '.').replace(';', ',').replace("\"Смесь, своя\"", "\"Смесь; своя\"");
    comma.replace("Растворимость. г/л", "Растворимость");
    EXPECT_EQ(FertilizerCsv::read(comma), list);

    const RecipeImport::Plan plan = RecipeImport::planList(connection, list);
    EXPECT_EQ(plan.fertilizers.at(0).decision, Decision::Reuse);
    EXPECT_EQ(plan.fertilizers.at(1).decision, Decision::Create);
    EXPECT_EQ(RecipeImport::apply(connection, plan).created, 1);
    EXPECT_FALSE(RecipeImport::planList(connection, list).createsAnything());
}

TEST_F(FertilizerLists, ExportedReferenceBooksReadBackIdentical)
{
    BaseQueries q(connection);
    const QList<RecipeFile::Fertilizer> base = RecipeExport::fertilizerList(q);
    ASSERT_GT(base.size(), 20);
    for (const QChar mark : {QChar(u','), QChar(u'.')}) {
        SCOPED_TRACE(QString(mark).toStdString());
        const QByteArray csv = FertilizerCsv::write(base, mark);
        EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF"));
        EXPECT_EQ(FertilizerCsv::read(csv), base);
        // Into a fresh base it brings nothing new.
        FreshBase other;
        Connection c(other.basePath());
        EXPECT_FALSE(RecipeImport::planList(c, FertilizerCsv::read(csv)).createsAnything());
    }
    // The elements and crops: a line per element and per target, numbers with the mark given.
    const QList<QStringList> elements = CsvTable::read(FertilizerCsv::writeElements(q, u','));
    EXPECT_EQ(elements.size(), q.elements().size() + 1);
    const auto k2o = std::find_if(elements.cbegin(), elements.cend(),
                                  [](const QStringList &r) { return r.value(0) == QStringLiteral("K2O"); });
    ASSERT_NE(k2o, elements.cend());
    EXPECT_EQ(k2o->value(3), QStringLiteral("K"));
    EXPECT_EQ(k2o->value(4), QStringLiteral("0,8302"));
    qsizetype targets = 0;
    for (const BaseRows::Crop &c : q.crops())
        targets += q.crop(c.id)->targets.size();
    EXPECT_EQ(CsvTable::read(FertilizerCsv::writeCrops(q, u',')).size(), targets + 1);
}

TEST_F(FertilizerLists, BadListsNameTheLineAndTheColumn)
{
    const struct
    {
        const char *what;
        QByteArray bytes;
        const char *message;
    } cases[] = {
        {"empty", "", "файл пуст"},
        {"no name column", "N;K\r\n1;2\r\n", "строка 1, столбец 1"},
        {"unknown heading", "Удобрение;K2O;P2O6\r\nx;1;2\r\n", "строка 1, столбец 3: неизвестный заголовок «P2O6»"},
        {"text for a number", "Удобрение;K2O\r\nx;1\r\ny;много\r\n", "строка 3, столбец 2 (K2O): «много» не число"},
        {"over 100 %", "Удобрение;K2O;CaO\r\nx;1;1\r\ny;90;90\r\n", "строка 3: «y», composition: элементы составляют"},
        {"duplicate", "Удобрение;K2O\r\nx;1\r\nX;2\r\n", "строка 3: «X», name: «X» уже есть"},
        {"open quote", "Удобрение;K2O\r\n\"x;1\r\n", "строка 2: кавычка не закрыта"},
        {"acid without density", "Удобрение;N-NO3;Крепость, %\r\nКислота;13;60\r\n", "строка 2: «Кислота»: у кислоты нужны"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        try {
            FertilizerCsv::read(c.bytes);
            ADD_FAILURE() << "read";
        } catch (const AppError &e) {
            EXPECT_TRUE(e.text().startsWith(QString::fromUtf8(c.message))) << e.text().toStdString();
        }
    }
}

} // namespace

namespace {

// A recipe file solved without a window gives what the dialog "Подбор состава" gives for the
// same working composition and crop.
class SolveLikeTheDialog : public CalcDataTest
{
};

TEST_F(SolveLikeTheDialog, SameAmountsElementsAndStatus)
{
    Connection &c = data.ADOConnection1;
    c.exec(QStringLiteral("DELETE FROM t_rachet"));
    for (const char *name : {"Кальциевая селитра", "Калиевая селитра", "Монофосфат калия", "Сульфат магния (7-водный)",
                             "Хелат железа Fe-EDTA 13%"})
        c.exec(QStringLiteral("INSERT INTO t_rachet (id_udobra, kol) SELECT id_udobra, 0.5 FROM t_udobra "
                              "WHERE name_udobra = '%1'").arg(QString::fromUtf8(name)));
    data.closeAll();
    data.openAll();

    SolverSource source(data);
    SolverProblem problem;
    problem.fertilizers = source.fertilizers();
    ASSERT_EQ(problem.fertilizers.size(), 5);
    problem.elements = source.elements(Stage::Vegetative);
    problem.options = source.saltOptions();
    const SolverResult dialog = solveComposition(problem);
    ASSERT_EQ(dialog.status, SolverResult::Status::Solved);

    BaseQueries q(c);
    const int crop = f4().ADOTable3.asInteger(QStringLiteral("id_kult"));
    RecipeFile::Recipe recipe = RecipeExport::workingComposition(q, {QStringLiteral("Рабочий"), 100, {}, crop, {}});
    for (const RecipeFile::Target &t : recipe.crop->targets)
        recipe.targets.insert(t.symbol, t.vega);
    const RecipeSolve::Solved file = RecipeSolve::solve(RecipeFile::read(RecipeFile::write(recipe)));

    EXPECT_EQ(file.result.amounts, dialog.amounts);
    ASSERT_EQ(file.result.elements.size(), dialog.elements.size());
    for (qsizetype i = 0; i < problem.elements.size(); ++i) {
        const qsizetype j = file.symbols.indexOf(problem.elements.at(i).name);
        SCOPED_TRACE(problem.elements.at(i).name.toStdString());
        ASSERT_GE(j, 0);
        EXPECT_EQ(file.result.elements.at(j).result, dialog.elements.at(i).result);
        EXPECT_EQ(file.problem.elements.at(j).mode, problem.elements.at(i).mode);
    }
    const SolverExplanation words(u'.');
    EXPECT_EQ(words.status(file.problem, file.result), words.status(problem, dialog));
}

} // namespace
