#include "defaultbasefixture.h"

#include "data/apperror.h"
#include "data/connection.h"
#include "data/owntables.h"
#include "data/schema.h"
#include "tools/makebase/defaultbase.h"

#include <QFile>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <iconv.h>

namespace {

bool convertsToCp1251(const QString &text)
{
    iconv_t cd = iconv_open("CP1251", "UTF-8");
    if (cd == iconv_t(-1))
        return false;
    QByteArray in = text.toUtf8();
    QByteArray out(in.size() + 1, '\0');
    char *src = in.data();
    char *dst = out.data();
    size_t left = size_t(in.size());
    size_t room = size_t(out.size());
    const bool ok = iconv(cd, &src, &left, &dst, &room) != size_t(-1) && left == 0;
    iconv_close(cd);
    return ok;
}

TEST_F(DefaultBase, HasTheSchemaTablesFieldsAndIndex)
{
    int tables = value(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' "
                                      "AND name NOT LIKE 'sqlite_%'"))
                     .toInt();
    EXPECT_EQ(tables, 10 + OwnTables::tables().size());
    QList<TableDef> all = Schema::tables();
    all.append(OwnTables::tables());
    for (const TableDef &t : all) {
        const auto info = rows(QStringLiteral("PRAGMA table_info(\"%1\")").arg(t.name));
        ASSERT_EQ(info.size(), t.fields.size()) << t.name.toStdString();
        for (int i = 0; i < info.size(); ++i) {
            const FieldDef &f = t.fields.at(i);
            const bool isKey = f.type == FieldType::Key;
            EXPECT_EQ(info[i][1].toString(), f.name) << t.name.toStdString();
            EXPECT_EQ(info[i][2].toString(), isKey ? QStringLiteral("INTEGER") : Schema::sqlType(f))
                << f.name.toStdString();
            EXPECT_EQ(info[i][5].toInt(), isKey ? 1 : 0) << f.name.toStdString();
        }
    }
    const auto index = rows(QStringLiteral("PRAGMA index_info(\"T_udobraT_sostav_udobra\")"));
    ASSERT_EQ(index.size(), 1);
    EXPECT_EQ(index[0][2].toString(), QStringLiteral("id_udobra"));
    EXPECT_EQ(value(QStringLiteral("SELECT tbl_name FROM sqlite_master WHERE type = 'index' "
                                   "AND name = 'T_udobraT_sostav_udobra'"))
                  .toString(),
              QStringLiteral("T_sostav_udobra"));
}

TEST_F(DefaultBase, OptionsRowShowsEverythingInTheBuiltWindowColours)
{
    const auto opt = rows(QStringLiteral("SELECT * FROM t_opt"));
    ASSERT_EQ(opt.size(), 1);
    const QVariantList &r = opt.first();
    const TableDef &t = Schema::table(QStringLiteral("t_opt"));
    auto field = [&](const char *name) {
        for (int i = 0; i < t.fields.size(); ++i)
            if (t.fields[i].name == QLatin1String(name))
                return r.at(i);
        ADD_FAILURE() << "no field " << name;
        return QVariant();
    };
    for (const char *shown : {"c11", "c21", "c22", "c23", "c24", "c31", "c32", "c33", "c34",
                              "c35", "c36", "c37", "c38", "c39", "ppm1", "ppm2", "kult"})
        EXPECT_EQ(field(shown), QVariant(qint64(1))) << shown;
    EXPECT_EQ(field("avto"), QVariant(qint64(0)));
    EXPECT_EQ(field("maxim"), QVariant(qint64(250)));

    const qint32 teal = 0x00808000, aqua = 0x00FFFF00, moneyGreen = 0x00C0DCC0;
    const qint32 rgb240_202_166 = 10930928;
    const qint32 gradientActiveCaption = -16777189; // 0xFF00001B
    const qint32 btnHighlight = -16777196;          // 0xFF000014
    const qint32 expected[14] = {teal,       aqua,           gradientActiveCaption, teal,
                                 gradientActiveCaption, btnHighlight, moneyGreen,
                                 rgb240_202_166, aqua, teal, moneyGreen, rgb240_202_166,
                                 moneyGreen, rgb240_202_166};
    for (int n = 1; n <= 14; ++n) {
        const QByteArray name = "cl" + QByteArray::number(n);
        EXPECT_EQ(field(name.constData()), QVariant(qint64(expected[n - 1]))) << name.constData();
    }
}

TEST_F(DefaultBase, KeyElementsComeFirst)
{
    const auto els = rows(QStringLiteral(
        "SELECT id_element, Smallname_element, kof FROM T_element WHERE id_element <= 6 "
        "ORDER BY id_element"));
    const QStringList names = {QStringLiteral("N"), QStringLiteral("P"), QStringLiteral("K"),
                               QStringLiteral("Ca"), QStringLiteral("Mg"), QStringLiteral("S")};
    ASSERT_EQ(els.size(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(els[i][0].toInt(), i + 1);
        EXPECT_EQ(els[i][1].toString(), names[i]);
        EXPECT_FALSE(els[i][2].toBool());
    }
}

// Every crop holds a target row for every non-oxide element, so the calculator has none to add;
// every element from N to Mo has a target above 0, and Na, Cl and Si, which a recipe may lack, at
// least 0.
TEST_F(DefaultBase, EveryCropHasOneTargetPerNonOxideElement)
{
    QSet<int> elements;
    for (const auto &r : rows(QStringLiteral("SELECT id_element FROM T_element WHERE kof = 0")))
        elements.insert(r[0].toInt());
    const auto crops = rows(QStringLiteral("SELECT id_kult, name_kult, ph FROM T_kult"));
    EXPECT_GE(crops.size(), 5);
    for (const auto &crop : crops) {
        EXPECT_FALSE(crop[2].toString().isEmpty()) << "pH of " << crop[1].toString().toStdString();
        QList<int> targets;
        for (const auto &r : rows(QStringLiteral("SELECT t.id_el, t.vega, t.cvet, t.rachet, "
                                                 "e.Smallname_element FROM t_konc t JOIN T_element e "
                                                 "ON e.id_element = t.id_el WHERE t.id_kult = ?"),
                                  {crop[0]})) {
            targets.append(r[0].toInt());
            const bool mayLack = QStringList{"Na", "Cl", "Si"}.contains(r[4].toString());
            const std::string what = crop[1].toString().toStdString() + " " + r[4].toString().toStdString();
            EXPECT_GE(r[1].toDouble(), mayLack ? 0.0 : 0.001) << what;
            EXPECT_GE(r[2].toDouble(), mayLack ? 0.0 : 0.001) << what;
            EXPECT_TRUE(r[3].isNull());
        }
        EXPECT_EQ(targets.size(), elements.size()) << crop[1].toString().toStdString();
        EXPECT_EQ(QSet<int>(targets.begin(), targets.end()), elements);
    }
    EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM t_konc WHERE id_kult NOT IN "
                                   "(SELECT id_kult FROM T_kult)"))
                  .toInt(),
              0);
}

TEST_F(DefaultBase, ReferencesNameExistingRows)
{
    EXPECT_GE(value(QStringLiteral("SELECT count(*) FROM t_udobra")).toInt(), 15);
    EXPECT_EQ(value(QStringLiteral(
                        "SELECT count(*) FROM T_sostav_udobra s WHERE s.id_udobra NOT IN "
                        "(SELECT id_udobra FROM t_udobra) OR s.id_element NOT IN "
                        "(SELECT id_element FROM T_element)"))
                  .toInt(),
              0);
    EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM t_udobra u WHERE NOT EXISTS "
                                   "(SELECT 1 FROM T_sostav_udobra s WHERE s.id_udobra = u.id_udobra)"))
                  .toInt(),
              0)
        << "a fertilizer without composition";
    // An oxide counts only through a coefficient that yields a non-oxide element.
    const auto oxides = rows(QStringLiteral(
        "SELECT o.Smallname_element, k.id_kof, y.kof FROM T_element o "
        "LEFT JOIN t_kof k ON k.id_kof = o.id_kof "
        "LEFT JOIN T_element y ON y.id_element = k.id_element WHERE o.kof = 1"));
    EXPECT_FALSE(oxides.isEmpty());
    for (const auto &o : oxides) {
        EXPECT_FALSE(o[1].isNull()) << "no coefficient for " << o[0].toString().toStdString();
        EXPECT_EQ(o[2], QVariant(qint64(0))) << o[0].toString().toStdString();
    }
}

TEST_F(DefaultBase, TextsFitWindows1251)
{
    for (const TableDef &t : Schema::tables()) {
        for (const FieldDef &f : t.fields) {
            if (f.type != FieldType::Text)
                continue;
            for (const auto &r : rows(QStringLiteral("SELECT \"%1\" FROM \"%2\"").arg(f.name, t.name))) {
                const QString s = r[0].toString();
                EXPECT_LE(s.size(), f.size) << s.toStdString();
                EXPECT_TRUE(convertsToCp1251(s)) << s.toStdString();
            }
        }
    }
}

// Potassium nitrate KNO3: 13.85 % nitrate N and 46.58 % K2O from the formula, 674 ppm at
// 1 g/L on the 500 scale (the model's EC 1.348 mS/cm), K2O counts 0.8302 towards K.
TEST_F(DefaultBase, PotassiumNitrateAsResearched)
{
    const QVariant id = value(QStringLiteral("SELECT id_udobra FROM t_udobra WHERE name_udobra = ?"),
                              {QStringLiteral("Калиевая селитра")});
    ASSERT_FALSE(id.isNull());
    EXPECT_EQ(value(QStringLiteral("SELECT ppm FROM t_udobra WHERE id_udobra = ?"), {id}).toInt(), 674);

    QMap<QString, double> parts;
    for (const auto &r : rows(QStringLiteral(
             "SELECT e.Smallname_element, s.kol_element FROM T_sostav_udobra s "
             "JOIN T_element e ON e.id_element = s.id_element WHERE s.id_udobra = ?"),
                              {id}))
        parts.insert(r[0].toString(), r[1].toDouble());
    const QMap<QString, double> expected = {{QStringLiteral("N-NO3"), 13.85},
                                            {QStringLiteral("K2O"), 46.58}};
    EXPECT_EQ(parts, expected);

    const auto k2o = rows(QStringLiteral(
        "SELECT k.kof, y.Smallname_element FROM T_element o JOIN t_kof k ON k.id_kof = o.id_kof "
        "JOIN T_element y ON y.id_element = k.id_element WHERE o.Smallname_element = 'K2O'"));
    ASSERT_EQ(k2o.size(), 1);
    EXPECT_EQ(k2o[0][0].toDouble(), 0.8302);
    EXPECT_EQ(k2o[0][1].toString(), QStringLiteral("K"));
}

// One properties row per fertilizer: no price (the grower's own), the tank left to the rule, and
// a solubility curve wherever the handbook has the salt, rising from 0 to 30 °C; the chelates,
// the ammonium molybdate, the micro mix and the liquid acids have none. Three figures against
// the conversion: KNO3 is anhydrous, 10 x 31.9 g per litre of water at 20 °C; Epsom salt brings
// its water, 33.5 g of MgSO4 per 100 g of water give 1057 g of MgSO4.7H2O per litre; borax
// 2.6 g of Na2B4O7 per 100 g give 50 g of the decahydrate.
TEST_F(DefaultBase, EveryFertilizerHasItsPropertiesRow)
{
    const auto props = rows(QStringLiteral(
        "SELECT u.name_udobra, count(p.id_svoistva), max(p.rastvorimost), max(p.cena), max(p.bak), "
        "max(p.rastvorimost_0), max(p.rastvorimost_10), max(p.rastvorimost_30), "
        "max(p.rastvorimost_40) "
        "FROM t_udobra u LEFT JOIN t_svoistva_udobra p ON p.id_udobra = u.id_udobra "
        "GROUP BY u.id_udobra"));
    ASSERT_EQ(props.size(), value(QStringLiteral("SELECT count(*) FROM t_udobra")).toInt());
    QStringList withoutFigure;
    for (const auto &p : props) {
        const std::string name = p[0].toString().toStdString();
        EXPECT_EQ(p[1].toInt(), 1) << name;
        EXPECT_TRUE(p[3].isNull()) << name;
        EXPECT_EQ(p[4], QVariant(qint64(0))) << name;
        const QVariantList curve = {p[5], p[6], p[2], p[7], p[8]}; // 0, 10, 20, 30, 40 °C
        if (p[2].isNull()) {
            withoutFigure << p[0].toString();
            for (const QVariant &v : curve)
                EXPECT_TRUE(v.isNull()) << name;
            continue;
        }
        for (int i = 0; i < curve.size(); ++i)
            EXPECT_GT(curve[i].toDouble(), 0) << name << " at " << i * 10 << " °C";
        // Up to 30 °C every one dissolves better as it warms; above, manganese sulphate's
        // solid turns into the monohydrate and falls.
        for (int i = 1; i < 4; ++i)
            EXPECT_GT(curve[i].toDouble(), curve[i - 1].toDouble()) << name << " at " << i * 10 << " °C";
    }
    EXPECT_EQ(withoutFigure, (QStringList{QStringLiteral("Хелат железа Fe-EDTA 13%"),
                                          QStringLiteral("Хелат железа Fe-DTPA 11%"),
                                          QStringLiteral("Молибдат аммония (4-водный)"),
                                          QStringLiteral("Комплекс микроэлементов (хелаты)"),
                                          QStringLiteral("Азотная кислота 60%"),
                                          QStringLiteral("Азотная кислота 38%"),
                                          QStringLiteral("Ортофосфорная кислота 75%"),
                                          QStringLiteral("Ортофосфорная кислота 85%"),
                                          QStringLiteral("Хелат железа Fe-EDDHA 6%")}));
    const auto solubility = [this](const char *name) {
        return value(QStringLiteral("SELECT p.rastvorimost FROM t_svoistva_udobra p JOIN t_udobra u "
                                    "ON u.id_udobra = p.id_udobra WHERE u.name_udobra = ?"),
                     {QString::fromUtf8(name)})
            .toDouble();
    };
    // x = 10 r f / (1 - r (f - 1) / 100) g of the hydrate per litre of water, f = M(hydrate) /
    // M(anhydrous).
    const auto hydrate = [](double r, double hydrateMass, double anhydrousMass) {
        const double f = hydrateMass / anhydrousMass;
        return 10 * r * f / (1 - r * (f - 1) / 100);
    };
    EXPECT_EQ(solubility("Калиевая селитра"), 319);
    EXPECT_NEAR(solubility("Сульфат магния (7-водный)"), hydrate(33.5, 246.466, 120.361), 0.5);
    EXPECT_NEAR(solubility("Бура (тетраборат натрия 10-водный)"), hydrate(2.6, 381.363, 201.213), 0.5);
}

TEST(WriteDefaultBase, RefusesAnExistingFileAndLeavesItAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("base.mdb"));
    const QByteArray growersData("the grower's own base\0\x01\xff", 24);
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(growersData);
    }
    EXPECT_THROW(writeDefaultBase(path), AppError);
    EXPECT_THROW(writeScaledBase(path, 2), AppError);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), growersData);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".tmp")));
}

TEST(WriteDefaultBase, LeavesOneCompleteFileEvenAfterAnInterruptedRun)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("base.mdb"));
    {
        QFile stale(path + QStringLiteral(".tmp"));
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write("half a base");
    }
    ASSERT_NO_THROW(writeDefaultBase(path));
    for (const char *suffix : {".tmp", "-wal", "-journal", "-shm"})
        EXPECT_FALSE(QFile::exists(path + QLatin1String(suffix))) << suffix;

    // A copy of the file alone is the whole base.
    const QString copy = dir.filePath(QStringLiteral("copy.mdb"));
    ASSERT_TRUE(QFile::copy(path, copy));
    Connection c(copy);
    EXPECT_EQ(queryValue(c, QStringLiteral("SELECT count(*) FROM t_konc")).toInt(),
              queryValue(c, QStringLiteral("SELECT count(*) FROM T_kult")).toInt()
                  * queryValue(c, QStringLiteral("SELECT count(*) FROM T_element WHERE kof = 0")).toInt());
}

} // namespace
