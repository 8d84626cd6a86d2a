#include "testdb.h"

#include "data/basequeries.h"
#include "data/fields.h"
#include "data/propertyrows.h"
#include "support/freshbase.h"

#include <QStringList>

namespace {

// The default base beside a copy of it whose every element and fertilizer has another key: the
// queries must give the same answers by symbol and name on both, and each base's own keys.
class BaseQueriesTest : public ::testing::Test
{
protected:
    struct Side
    {
        explicit Side(bool renumbered)
        {
            if (renumbered)
                base.renumberKeys();
            connection.connect();
        }
        int key(const QString &table, const QString &keyField, const QString &field,
                const QString &value)
        {
            return scalar(connection,
                          QStringLiteral("SELECT \"%1\" FROM \"%2\" WHERE \"%3\" = ?1")
                              .arg(keyField, table, field),
                          {value})
                .toInt();
        }
        int element(const QString &symbol)
        {
            return key(Tables::T_element, Fields::id_element, Fields::Smallname_element, symbol);
        }
        int fertilizer(const QString &name)
        {
            return key(Tables::t_udobra, Fields::id_udobra, Fields::name_udobra, name);
        }

        FreshBase base;
        Connection connection{base.basePath()};
        BaseQueries queries{connection};
    };

    Side plain{false};
    Side renumbered{true};
    QList<Side *> sides{&plain, &renumbered};
};

TEST_F(BaseQueriesTest, ElementsAreFoundBySymbolWithEachBasesOwnKeys)
{
    for (const char *symbol : {"N", "Fe", "P2O5"})
        EXPECT_NE(plain.element(QString::fromLatin1(symbol)), renumbered.element(QString::fromLatin1(symbol)))
            << symbol << ": the two bases must differ for the test to mean anything";
    for (Side *side : sides) {
        const std::optional<BaseRows::Element> iron = side->queries.elementBySymbol(QStringLiteral("Fe"));
        ASSERT_TRUE(iron);
        EXPECT_EQ(iron->id, side->element(QStringLiteral("Fe")));
        EXPECT_FALSE(iron->isForm);
        const std::optional<BaseRows::Element> oxide = side->queries.elementBySymbol(QStringLiteral("P2O5"));
        ASSERT_TRUE(oxide);
        EXPECT_TRUE(oxide->isForm);
        EXPECT_TRUE(oxide->coefficient.has_value());
        EXPECT_FALSE(side->queries.elementBySymbol(QStringLiteral("fe"))) << "symbols keep their case";
        EXPECT_FALSE(side->queries.elementBySymbol(QStringLiteral("Fe' OR 1=1 --")));

        const QHash<QString, int> keys =
            side->queries.elementIds({QStringLiteral("N"), QStringLiteral("Ca"), QStringLiteral("Xx")});
        EXPECT_EQ(keys, (QHash<QString, int>{{QStringLiteral("N"), side->element(QStringLiteral("N"))},
                                             {QStringLiteral("Ca"), side->element(QStringLiteral("Ca"))}}));
        EXPECT_EQ(side->queries.elements().size(), plain.queries.elements().size());
    }
}

// A label form counts through the element its coefficient yields: the line names both, with
// the factor, by symbol and by the base's own key.
TEST_F(BaseQueriesTest, CompositionsNameTheElementAndWhatItsCoefficientYields)
{
    const struct
    {
        const char *fertilizer;
        QStringList symbols;
        QStringList yielded;
        QList<double> factors;
    } cases[] = {
        {"Монофосфат калия", {"P2O5", "K2O"}, {"P", "K"}, {0.4364, 0.8302}},
        {"Кальциевая селитра", {"N-NO3", "N-NH4", "CaO"}, {"N", "N", "Ca"}, {1, 1, 0.7147}},
        {"Хелат железа Fe-EDTA 13%", {"Fe"}, {""}, {0}},
    };
    for (Side *side : sides) {
        for (const auto &c : cases) {
            const QString name = QString::fromUtf8(c.fertilizer);
            const std::optional<BaseRows::Fertilizer> f = side->queries.fertilizerByName(name);
            ASSERT_TRUE(f) << c.fertilizer;
            EXPECT_EQ(f->id, side->fertilizer(name));
            EXPECT_EQ(side->queries.fertilizer(f->id)->name, name);
            const QList<BaseRows::CompositionLine> lines = side->queries.compositions(QList<int>{f->id}).value(f->id);
            ASSERT_EQ(lines.size(), c.symbols.size()) << c.fertilizer;
            for (int i = 0; i < lines.size(); ++i) {
                const BaseRows::CompositionLine &line = lines.at(i);
                EXPECT_EQ(line.fertilizer, f->id);
                EXPECT_EQ(line.symbol, c.symbols.at(i));
                EXPECT_EQ(line.element, side->element(c.symbols.at(i)));
                EXPECT_EQ(line.yieldedSymbol, c.yielded.at(i));
                EXPECT_EQ(line.yieldedElement, c.yielded.at(i).isEmpty() ? 0 : side->element(c.yielded.at(i)));
                EXPECT_DOUBLE_EQ(line.factor, c.factors.at(i)) << c.fertilizer << " " << i;
                EXPECT_GT(line.percent, 0);
            }
        }
        const QHash<int, QList<BaseRows::CompositionLine>> all = side->queries.compositions();
        for (const auto &c : cases)
            EXPECT_TRUE(all.contains(side->fertilizer(QString::fromUtf8(c.fertilizer)))) << c.fertilizer;
        EXPECT_TRUE(side->queries.compositions(QList<int>{}).isEmpty());
    }
}

// The crop with its target rows in the calculator's order and its properties row; the same
// figures by symbol on both bases.
TEST_F(BaseQueriesTest, ACropWithItsTargetsAndProperties)
{
    QList<QList<BaseRows::Target>> seen;
    for (Side *side : sides) {
        const QList<BaseRows::Crop> crops = side->queries.crops();
        ASSERT_FALSE(crops.isEmpty());
        EXPECT_TRUE(crops.first().targets.isEmpty()) << "the list carries names and keys only";
        const std::optional<BaseRows::Crop> crop =
            side->queries.cropByName(QStringLiteral("Рассада овощей, минвата"));
        ASSERT_TRUE(crop);
        EXPECT_EQ(side->queries.crop(crop->id)->name, crop->name);
        EXPECT_EQ(crop->ph, QStringLiteral("5.5-6.0"));
        ASSERT_TRUE(crop->properties);
        EXPECT_TRUE(crop->properties->ecVega.has_value());
        EXPECT_TRUE(crop->properties->ammoniumShare.has_value());
        ASSERT_GE(crop->targets.size(), 12);
        QStringList symbols;
        for (const BaseRows::Target &t : crop->targets) {
            symbols.append(t.symbol);
            EXPECT_EQ(t.element, side->element(t.symbol)) << t.symbol.toStdString();
            EXPECT_FALSE(t.computed.has_value()) << "no run has stored a figure yet";
        }
        EXPECT_EQ(symbols.mid(0, 7), (QStringList{"N", "P", "K", "Ca", "Mg", "S", "Fe"}));
        seen.append(crop->targets);
        EXPECT_FALSE(side->queries.crop(987654)) << "a key no crop has";
        EXPECT_FALSE(side->queries.cropByName(QStringLiteral("Нет такой")));
    }
    ASSERT_EQ(seen.at(0).size(), seen.at(1).size());
    for (int i = 0; i < seen.at(0).size(); ++i) {
        EXPECT_EQ(seen.at(0).at(i).symbol, seen.at(1).at(i).symbol);
        EXPECT_EQ(seen.at(0).at(i).vega, seen.at(1).at(i).vega);
        EXPECT_EQ(seen.at(0).at(i).cvet, seen.at(1).at(i).cvet);
    }
}

// Rows of our own and of the grower's, typed in by SQL as another program would: every column
// comes back, by key.
TEST_F(BaseQueriesTest, WaterPropertiesRecipesAndOptionsByKey)
{
    for (Side *side : sides) {
        Connection &c = side->connection;
        const int calcium = side->element(QStringLiteral("Ca"));
        const int potassiumNitrate = side->fertilizer(QStringLiteral("Калиевая селитра"));
        sql(c, QStringLiteral("INSERT INTO t_voda (id_voda, name_voda, hco3, ph_voda) VALUES (5, 'Скважина', 183, 7.4)"));
        sql(c, QStringLiteral("INSERT INTO t_voda (id_voda, name_voda) VALUES (6, 'Дождь')"));
        sql(c, QStringLiteral("INSERT INTO t_sostav_vody (id_voda, id_element, mg_l) VALUES (5, ?1, 40), (5, ?1, 2.5), (6, ?1, 1)"),
            {calcium});
        const QList<BaseRows::WaterAnalysis> listed = side->queries.waterAnalyses();
        ASSERT_EQ(listed.size(), 2);
        EXPECT_EQ(listed.at(0).name, QStringLiteral("Скважина"));
        EXPECT_TRUE(listed.at(0).lines.isEmpty());
        const std::optional<BaseRows::WaterAnalysis> well = side->queries.waterAnalysis(5);
        ASSERT_TRUE(well);
        EXPECT_EQ(well->hco3, 183);
        EXPECT_EQ(well->ph, 7.4);
        ASSERT_EQ(well->lines.size(), 2) << "an element listed twice stays twice";
        EXPECT_EQ(well->lines.at(1).symbol, QStringLiteral("Ca"));
        EXPECT_EQ(well->lines.at(1).element, calcium);
        EXPECT_EQ(well->lines.at(1).mgPerLitre, 2.5);
        EXPECT_FALSE(side->queries.waterAnalysis(6)->hco3.has_value());
        EXPECT_FALSE(side->queries.waterAnalysis(7));

        sql(c, QStringLiteral("UPDATE t_svoistva_udobra SET rastvorimost = 320, rastvorimost_0 = 130, "
                              "rastvorimost_10 = 210, rastvorimost_30 = 450, rastvorimost_40 = 630, cena = 2.5, "
                              "bak = 2, forma_azota = 1, kislota = 1, krepost = 60, plotnost = 1.37 "
                              "WHERE id_udobra = ?1"),
            {potassiumNitrate});
        const QHash<int, BaseRows::FertilizerProperties> props =
            side->queries.fertilizerProperties({potassiumNitrate, 987654});
        ASSERT_EQ(props.size(), 1);
        const BaseRows::FertilizerProperties &p = props.value(potassiumNitrate);
        EXPECT_EQ(p.fertilizer, potassiumNitrate);
        const QList<std::pair<std::optional<double>, double>> figures = {
            {p.solubility, 320}, {p.solubility0, 130}, {p.solubility10, 210}, {p.solubility30, 450},
            {p.solubility40, 630}, {p.price, 2.5},     {p.strength, 60},      {p.density, 1.37}};
        for (const auto &[read, typed] : figures)
            EXPECT_EQ(read, typed);
        EXPECT_EQ(p.tank, int(TankChoice::B));
        EXPECT_EQ(p.nitrogenForm, NitrogenForm::Ammonium);
        EXPECT_TRUE(p.acid);

        const int crop = side->queries.cropByName(QStringLiteral("Рассада овощей, минвата"))->id;
        sql(c, QStringLiteral("INSERT INTO t_head_rar (id_head_rar, name_rar, id_konc, kol_l, konc) VALUES (3, 'Рассада', ?1, 10, 80)"),
            {crop});
        sql(c, QStringLiteral("INSERT INTO t_save_rar (id_udobra, kol, id_head_rar) VALUES (?1, 0.56, 3), (999, 1, 3)"),
            {potassiumNitrate});
        sql(c, QStringLiteral("INSERT INTO t_rachet (id_udobra, kol) VALUES (?1, 0.5), (NULL, 1)"), {potassiumNitrate});
        const QList<BaseRows::SavedSolution> solutions = side->queries.savedSolutions(crop);
        ASSERT_EQ(solutions.size(), 1);
        EXPECT_EQ(solutions.at(0).name, QStringLiteral("Рассада"));
        const std::optional<BaseRows::SavedSolution> saved = side->queries.savedSolution(3);
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->litres, 10);
        EXPECT_EQ(saved->percentage, 80);
        ASSERT_EQ(saved->lines.size(), 2);
        EXPECT_EQ(saved->lines.at(0).name, QStringLiteral("Калиевая селитра"));
        EXPECT_EQ(saved->lines.at(0).grams, 0.56);
        EXPECT_EQ(saved->lines.at(0).ppm, side->queries.fertilizer(potassiumNitrate)->ppm);
        EXPECT_TRUE(saved->lines.at(1).name.isEmpty()) << "a fertilizer no longer in the base";
        const QList<BaseRows::RecipeLine> working = side->queries.workingComposition();
        ASSERT_EQ(working.size(), 2);
        EXPECT_EQ(working.at(0).fertilizer, potassiumNitrate);
        EXPECT_FALSE(working.at(1).fertilizer.has_value());

        const BaseRows::Options options = side->queries.options();
        EXPECT_TRUE(options.targetTotals);
        EXPECT_TRUE(options.ppmTotals);
        sql(c, QStringLiteral("UPDATE t_opt SET ppm1 = 0, avto = 1"));
        EXPECT_FALSE(side->queries.options().targetTotals);
        EXPECT_TRUE(side->queries.options().autoRun);
    }
}

TEST_F(BaseQueriesTest, QueriesWriteNothing)
{
    Connection &c = renumbered.connection;
    BaseQueries &q = renumbered.queries;
    q.elements();
    q.compositions();
    q.cropByName(QStringLiteral("Огурец"));
    q.waterAnalyses();
    q.fertilizerProperties({1, 2, 3});
    q.workingComposition();
    q.options();
    EXPECT_EQ(scalar(c, QStringLiteral("SELECT total_changes()")).toInt(), 0);
}

// The one command that writes properties rows: one per fertilizer, in one transaction, never a
// second one for a fertilizer, also when another program made it meanwhile.
TEST_F(BaseQueriesTest, MissingPropertiesRowsAreMadeOnce)
{
    Connection &c = renumbered.connection;
    const int nitrate = renumbered.fertilizer(QStringLiteral("Калиевая селитра"));
    const int chelate = renumbered.fertilizer(QStringLiteral("Хелат железа Fe-EDTA 13%"));
    const int sulphate = renumbered.fertilizer(QStringLiteral("Сульфат калия"));
    sql(c, QStringLiteral("DELETE FROM t_svoistva_udobra WHERE id_udobra IN (?1, ?2, ?3)"), {nitrate, chelate, sulphate});

    Connection other(renumbered.base.basePath());
    sql(other, QStringLiteral("INSERT INTO t_svoistva_udobra (id_udobra, bak) VALUES (?1, 1)"), {sulphate});

    EXPECT_EQ(PropertyRows::createMissing(c, {nitrate, chelate, nitrate, sulphate}), 2);
    EXPECT_EQ(PropertyRows::createMissing(c, {nitrate, chelate, sulphate}), 0);
    EXPECT_EQ(PropertyRows::createMissing(c, {}), 0);
    for (const int id : {nitrate, chelate, sulphate})
        EXPECT_EQ(scalar(c, QStringLiteral("SELECT count(*) FROM t_svoistva_udobra WHERE id_udobra = ?1"), {id}).toInt(), 1);
    const QHash<int, BaseRows::FertilizerProperties> made = renumbered.queries.fertilizerProperties({nitrate, sulphate});
    EXPECT_EQ(made.value(nitrate).tank, int(TankChoice::Automatic));
    EXPECT_FALSE(made.value(nitrate).solubility.has_value());
    EXPECT_FALSE(made.value(nitrate).price.has_value());
    EXPECT_EQ(made.value(sulphate).tank, int(TankChoice::A)) << "the other program's row is kept";
}

} // namespace
