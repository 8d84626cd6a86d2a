#include "calcprocess.h"

#include "data/connection.h"
#include "data/datamodules.h"
#include "support/freshbase.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// vernolat-calc import and export on a base, run as a process beside a program that holds the
// same base open: what a script sees, and what the program sees after its next database cycle.
namespace {

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray example()
{
    return bytesOf(QStringLiteral(VERNOLAT_DOCS_DIR "/recipe-example.json"));
}

// The example with one fertilizer no default base has.
QByteArray withOwnFertilizer()
{
    QByteArray b = example();
    b.replace("\"fertilizers\": [",
              "\"fertilizers\": [\n        {\"name\": \"Смесь соседа\", \"composition\": {\"K2O\": 20}, "
              "\"grams_per_litre\": 0.3},");
    return b;
}

class BaseCommands : public ::testing::Test
{
protected:
    QString file(const QString &name, const QByteArray &bytes) { return writeFile(dir, name, bytes); }

    Outcome import(const QString &path) { return calc({QStringLiteral("import"), path, QStringLiteral("--base"), base.basePath()}); }

    int fertilizersShown(DataModules &program, const QString &name)
    {
        Dataset &u = program.form2.T_Udobra;
        int n = 0;
        for (u.first(); !u.eof(); u.next())
            n += u.asString(QStringLiteral("name_udobra")) == name;
        return n;
    }

    FreshBase base;
    QTemporaryDir dir;
};

TEST_F(BaseCommands, TenBadFilesAreRefusedAndTheBaseStaysByteForByte)
{
    QByteArray truncated = example();
    truncated.truncate(truncated.size() / 2);
    QByteArray bomCrLf = example();
    bomCrLf.replace("\"percentage\": 100", "\"percentage\": 100.5");
    bomCrLf.replace("\n", "\r\n");
    bomCrLf.prepend("\xEF\xBB\xBF");
    const QByteArray longName = QByteArray(10 * 1024, 'x');
    const struct
    {
        const char *what;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {"truncated", truncated, QStringLiteral("столбец")},
        {"wrong version", QByteArray(example()).replace("\"version\": 1", "\"version\": 2"),
         QStringLiteral("строка 3: version: версия 2 не поддерживается")},
        {"unknown symbol", QByteArray(example()).replace("\"CaO\"", "\"CaO2\""),
         QStringLiteral("строка 9: fertilizers[0].composition.CaO2: неизвестный символ")},
        {"composition over 100 %", QByteArray(example()).replace("\"Fe\": 13", "\"Fe\": 13, \"Mn\": 90"),
         QStringLiteral("fertilizers[6].composition: элементы составляют 103.00 %")},
        {"negative amount", QByteArray(example()).replace("\"grams_per_litre\": 0.56", "\"grams_per_litre\": -0.56"),
         QStringLiteral("fertilizers[1].grams_per_litre: число -0.56")},
        {"10 kB name", QByteArray(example()).replace("\"Рассада\"", "\"" + longName + "\""),
         QStringLiteral("строка 4: name: название длиннее 50 знаков (10240)")},
        {"number as text", QByteArray(example()).replace("\"K2O\": 46.58", "\"K2O\": \"46.58\""),
         QStringLiteral("fertilizers[1].composition.K2O: ожидается число, а здесь текст \"46.58\"")},
        {"duplicate names", QByteArray(example()).replace("\"Аммиачная селитра\"", "\"калиевая селитра\""),
         QStringLiteral("fertilizers[2].name: «калиевая селитра» уже есть в fertilizers[1]")},
        {"BOM and CRLF, a fault on line 5", bomCrLf, QStringLiteral("строка 5: percentage: число 100.5")},
        {"empty file", QByteArray(), QStringLiteral("файл пуст")},
    };
    const QByteArray before = bytesOf(base.basePath());
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome r = import(file(QStringLiteral("bad.json"), c.bytes));
        EXPECT_EQ(r.code, 65);
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(bytesOf(base.basePath()), before);
    }
}

TEST_F(BaseCommands, ImportIntoABaseTheProgramHoldsOpen)
{
    DataModules program(base.basePath());
    program.openAll();
    const QString path = file(QStringLiteral("recipe.json"), withOwnFertilizer());

    const Outcome r = import(path);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("«Смесь соседа»: новое")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("«Калиевая селитра»: есть в базе")) << r.out.toStdString();
    EXPECT_EQ(fertilizersShown(program, QStringLiteral("Смесь соседа")), 0); // not before its cycle

    program.closeAll();
    program.openAll();
    EXPECT_EQ(fertilizersShown(program, QStringLiteral("Смесь соседа")), 1);

    // The program writing meanwhile: the command reports the lock within its timeout.
    Connection holder(base.basePath());
    holder.exec(QStringLiteral("BEGIN IMMEDIATE"));
    QElapsedTimer clock;
    clock.start();
    const Outcome busy = import(file(QStringLiteral("other.json"),
                                     QByteArray(withOwnFertilizer()).replace("\"Рассада\"", "\"Рассада 2\"")));
    EXPECT_EQ(busy.code, 75) << busy.err.toStdString();
    EXPECT_TRUE(busy.err.contains(QStringLiteral("база занята"))) << busy.err.toStdString();
    EXPECT_LT(clock.elapsed(), 30000);
    holder.exec(QStringLiteral("ROLLBACK"));

    // Once free, the same file goes in and the second import of the first creates nothing.
    EXPECT_EQ(import(dir.filePath(QStringLiteral("other.json"))).code, 0);
    const Outcome again = import(path);
    EXPECT_EQ(again.code, 0);
    EXPECT_TRUE(again.out.contains("Ничего нового")) << again.out.toStdString();
}

TEST_F(BaseCommands, ExportedSolutionImportsElsewhereAndAnalysesTheSame)
{
    ASSERT_EQ(import(file(QStringLiteral("recipe.json"), withOwnFertilizer())).code, 0);
    const QString exported = dir.filePath(QStringLiteral("exported.json"));
    const Outcome out = calc({QStringLiteral("export"), QStringLiteral("--base"), base.basePath(),
                              QStringLiteral("--saved"), QStringLiteral("рассада"), QStringLiteral("--output"), exported});
    ASSERT_EQ(out.code, 0) << out.err.toStdString();

    FreshBase other;
    const Outcome in = calc({QStringLiteral("import"), exported, QStringLiteral("--base"), other.basePath()});
    ASSERT_EQ(in.code, 0) << in.err.toStdString();
    const Outcome back = calc({QStringLiteral("export"), QStringLiteral("--base"), other.basePath(),
                               QStringLiteral("--saved"), QStringLiteral("Рассада")});
    ASSERT_EQ(back.code, 0) << back.err.toStdString();
    EXPECT_EQ(back.out, bytesOf(exported));

    // Calls that cannot be served say why, with their codes.
    const struct
    {
        QStringList arguments;
        int code;
        const char *message;
    } calls[] = {
        {{QStringLiteral("export"), QStringLiteral("--base"), base.basePath()}, 64, "ровно один из"},
        {{QStringLiteral("export"), QStringLiteral("--base"), base.basePath(), QStringLiteral("--saved"),
          QStringLiteral("Нет такого")}, 65, "нет готового раствора «Нет такого»"},
        {{QStringLiteral("import"), exported}, 64, "не указана база"},
        {{QStringLiteral("import"), exported, QStringLiteral("--base"), dir.filePath(QStringLiteral("none.mdb"))},
         66, "none.mdb"},
        {{QStringLiteral("import"), exported, QStringLiteral("--base"), base.basePath(), QStringLiteral("--crop"),
          QStringLiteral("Кактус")}, 65, "нет культуры «Кактус»"},
        {{QStringLiteral("export"), QStringLiteral("--base"), base.basePath(), QStringLiteral("--working"),
          QStringLiteral("--output"), dir.filePath(QStringLiteral("no/such/dir.json"))}, 73, "dir.json"},
    };
    for (const auto &c : calls) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const Outcome r = calc(c.arguments);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
    }
}

} // namespace

namespace {

TEST(SolveCommand, FileTargetsSolvedAndAFileWithoutThemRefused)
{
    QTemporaryDir dir;
    QByteArray withTargets = example();
    withTargets.replace("\"target_ph\": 5.8,", "\"target_ph\": 5.8,\n    \"targets\": {\"N\": 180, \"K\": 250, \"Ca\": 170, \"S\": 60},\n"
                                               "    \"modes\": {\"S\": \"at_least\"},");
    const QString path = writeFile(dir, QStringLiteral("solve.json"), withTargets);

    const Outcome r = calc({QStringLiteral("solve"), path, QStringLiteral("--json")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o["status"].toString(), QStringLiteral("solved"));
    EXPECT_EQ(o["amounts"].toObject().size(), 8);
    // S at least 60 mg/L, water included; K close to its target.
    EXPECT_GE(o["elements"].toObject()["S"].toDouble(), 60 - 1e-3);
    EXPECT_NEAR(o["elements"].toObject()["K"].toDouble(), 250, 2.5);
    EXPECT_GT(o["ec"].toDouble(), 1);
    EXPECT_GT(o["nh4_percent"].toDouble(), 0);
    EXPECT_FALSE(o["message"].toString().isEmpty());

    // The dialog's other choices: no ammonium, an EC to scale to, a weight that is refused.
    QByteArray choices = withTargets;
    choices.replace("\"modes\":", "\"nh4_percent\": 0,\n    \"ec\": 2.0,\n    \"weights\": {\"K\": 5},\n    \"modes\":");
    writeFile(dir, QStringLiteral("solve.json"), choices);
    const Outcome held = calc({QStringLiteral("solve"), path, QStringLiteral("--json")});
    ASSERT_EQ(held.code, 0) << held.err.toStdString();
    const QJsonObject h = QJsonDocument::fromJson(held.out).object();
    EXPECT_EQ(h["status"].toString(), QStringLiteral("solved")) << held.out.toStdString();
    EXPECT_NEAR(h["nh4_percent"].toDouble(), 0, 1e-6);
    EXPECT_NEAR(h["ec"].toDouble(), 2.0, 0.05);
    choices.replace("{\"K\": 5}", "{\"K\": 11}");
    writeFile(dir, QStringLiteral("solve.json"), choices);
    const Outcome heavy = calc({QStringLiteral("solve"), path});
    EXPECT_EQ(heavy.code, 65);
    EXPECT_TRUE(heavy.err.contains(QStringLiteral("weights.K"))) << heavy.err.toStdString();

    const Outcome none = calc({QStringLiteral("solve"), QStringLiteral(VERNOLAT_DOCS_DIR "/recipe-example.json")});
    EXPECT_EQ(none.code, 65);
    EXPECT_TRUE(none.err.contains(QStringLiteral("targets: нет целей"))) << none.err.toStdString();
}

} // namespace
