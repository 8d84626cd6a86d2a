#include "basequery.h"

#include "data/apperror.h"
#include "data/connection.h"
#include "tools/makebase/basedata.h"
#include "tools/makebase/defaultbase.h"

#include <QHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A small valid file; the error cases below spoil one line of it.
const char *const Good = "# elements\n"                                         // 1
                         "[T_element]\n"                                        // 2
                         "id_element | Smallname_element | kof | id_kof\n"      // 3
                         "1 | N | false |   # nitrogen\n"                       // 4
                         "2 | P | false |\n"                                    // 5
                         "3 | P2O5 | true | 1\n"                                // 6
                         "[t_kof]\n"                                            // 7
                         "id_kof | name_kof | kof | id_element\n"               // 8
                         "1 | P2O5 -> P | 0.4364 | 2\n"                         // 9
                         "[t_opt]\n"                                            // 10
                         "c11 | maxim | cl3\n"                                  // 11
                         "true | 250 | 0xFF00001B\n";                           // 12

QString withLine(int line, const QString &replacement)
{
    QStringList lines = QString::fromUtf8(Good).split(QLatin1Char('\n'));
    lines[line - 1] = replacement;
    return lines.join(QLatin1Char('\n'));
}

TEST(BaseData, ReadsTypedValues)
{
    const QList<BaseSection> s = BaseData::parse(QString::fromUtf8(Good));
    ASSERT_EQ(s.size(), 3);
    EXPECT_EQ(s[0].table, QStringLiteral("T_element"));
    ASSERT_EQ(s[0].rows.size(), 3);
    EXPECT_EQ(s[0].rows[0].line, 4);
    EXPECT_EQ(s[0].rows[0].values, (QVariantList{1, QStringLiteral("N"), false, QVariant()}));
    EXPECT_EQ(s[1].rows[0].values.at(2), QVariant(0.4364));
    EXPECT_EQ(s[2].fields, (QStringList{QStringLiteral("c11"), QStringLiteral("maxim"),
                                        QStringLiteral("cl3")}));
    EXPECT_EQ(s[2].rows[0].values, (QVariantList{true, 250, qint32(-16777189)}));
}

TEST(BaseData, ErrorNamesTheLine)
{
    struct Case
    {
        int line;
        const char *text;
        const char *mentions;
    };
    const Case cases[] = {
        {4, "x | N | false |", "\"x\""},
        {6, "3 | P2O5 | yes | 1", "\"yes\""},
        {9, "1 | P2O5 -> P | 0,4364 | 2", "\"0,4364\""},
        {5, "2 | P | false", "вместо 4"},
        {3, "id_element | Smallname | kof | id_kof", "Smallname"},
        {3, "Smallname_element | kof | id_kof", "id_element"},
        {5, "2 | Phosphorus1 | false |", "10"},
        {5, "2 | P\u2082 | false |", "U+2082"},
        {5, "1 | P | false |", "строке 4"},
        {6, "3 | P2O5 | true | 7", "t_kof"},
        {9, "1 | P2O5 -> P | 0.4364 | 9", "T_element"},
        {7, "[t_kofs]", "t_kofs"},
        {7, "[T_element]", "T_element"},
        {12, "true | 250 | 0x1FF00001B", "cl3"},
    };
    for (const Case &c : cases) {
        const QString text = withLine(c.line, QString::fromUtf8(c.text));
        try {
            BaseData::parse(text, QStringLiteral("test.txt"));
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const AppError &e) {
            const QString prefix = QStringLiteral("test.txt:%1: ").arg(c.line);
            EXPECT_TRUE(e.text().startsWith(prefix)) << e.text().toStdString();
            EXPECT_TRUE(e.text().contains(QString::fromUtf8(c.mentions))) << e.text().toStdString();
        }
    }
}

TEST(BaseData, RowBeforeAnySectionAndMissingOptionsRow)
{
    EXPECT_THROW(BaseData::parse(QStringLiteral("1 | N\n[T_element]\n")), AppError);
    try {
        BaseData::parse(QString::fromUtf8(Good) + QStringLiteral("false | 100 | 0\n"),
                        QStringLiteral("test.txt"));
        ADD_FAILURE() << "two options rows accepted";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("test.txt:13: "))) << e.text().toStdString();
    }
    QString noOptions = QString::fromUtf8(Good);
    noOptions.truncate(noOptions.indexOf(QStringLiteral("[t_opt]")));
    EXPECT_THROW(BaseData::parse(noOptions), AppError);
}

TEST(BaseData, SectionsOfOurOwnTablesAreReadAndTheirReferencesChecked)
{
    const QString ours = QStringLiteral("[t_udobra]\n"
                                        "id_udobra | name_udobra\n"
                                        "5 | Калиевая селитра\n"
                                        "[t_svoistva_udobra]\n"
                                        "id_svoistva | id_udobra | rastvorimost | cena | bak\n"
                                        "1 | 5 | 316 | | 0\n");
    const QList<BaseSection> s = BaseData::parse(QString::fromUtf8(Good) + ours);
    ASSERT_EQ(s.size(), 5);
    EXPECT_EQ(s[4].table, QStringLiteral("t_svoistva_udobra"));
    EXPECT_EQ(s[4].rows[0].values, (QVariantList{1, 5, 316.0, QVariant(), 0}));
    try {
        BaseData::parse(QString::fromUtf8(Good) + QString(ours).replace(QStringLiteral("1 | 5 |"),
                                                                        QStringLiteral("1 | 6 |")),
                        QStringLiteral("test.txt"));
        ADD_FAILURE() << "a property of no fertilizer accepted";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("test.txt:18: "))) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains(QStringLiteral("t_udobra"))) << e.text().toStdString();
    }
}

TEST(BaseData, CompiledInFileIsValid)
{
    const QString text = BaseData::defaultText();
    EXPECT_TRUE(text.contains(QStringLiteral("[t_konc]")));
    EXPECT_NO_THROW(BaseData::parse(text));
}

// ---- the scaled base for benchmarks

int count(Connection &c, const QString &table)
{
    return queryValue(c, QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).toInt();
}

TEST(ScaledBase, EveryCopyReferencesOnlyItself)
{
    QTemporaryDir dir;
    const QString onePath = dir.filePath(QStringLiteral("one.mdb"));
    const QString threePath = dir.filePath(QStringLiteral("three.mdb"));
    ASSERT_NO_THROW(writeDefaultBase(onePath));
    ASSERT_NO_THROW(writeScaledBase(threePath, 3));
    Connection one(onePath);
    Connection three(threePath);

    const QStringList keyed = {QStringLiteral("T_element"), QStringLiteral("t_kof"),
                               QStringLiteral("t_udobra"), QStringLiteral("T_sostav_udobra"),
                               QStringLiteral("T_kult"), QStringLiteral("t_konc"),
                               QStringLiteral("t_svoistva_udobra")};
    QHash<QString, int> stride; // largest key of the default base
    for (const QString &t : keyed) {
        EXPECT_EQ(count(three, t), 3 * count(one, t)) << t.toStdString();
        const QString key = queryValue(one, QStringLiteral("SELECT name FROM pragma_table_info(?) "
                                                           "WHERE pk = 1"),
                                       {t})
                                .toString();
        stride.insert(t, queryValue(one, QStringLiteral("SELECT max(\"%1\") FROM \"%2\"").arg(key, t))
                             .toInt());
    }
    EXPECT_EQ(count(three, QStringLiteral("t_opt")), 1);

    // The copy a key belongs to, from its own table's stride.
    auto copyOf = [&](const QString &table, int key) { return (key - 1) / stride.value(table); };
    for (const BaseReference &ref : BaseData::references()) {
        if (!keyed.contains(ref.table))
            continue;
        const QString key = queryValue(three, QStringLiteral("SELECT name FROM pragma_table_info(?) "
                                                             "WHERE pk = 1"),
                                       {ref.table})
                                .toString();
        const auto pairs = queryRows(three, QStringLiteral("SELECT \"%1\", \"%2\" FROM \"%3\" "
                                                           "WHERE \"%2\" IS NOT NULL")
                                                .arg(key, ref.field, ref.table));
        for (const QVariantList &p : pairs) {
            const int target = p[1].toInt();
            EXPECT_EQ(copyOf(ref.table, p[0].toInt()), copyOf(ref.target, target))
                << ref.table.toStdString() << "." << ref.field.toStdString();
            EXPECT_EQ(queryValue(three, QStringLiteral("SELECT count(*) FROM \"%1\" WHERE rowid = ?")
                                            .arg(ref.target),
                                 {target})
                          .toInt(),
                      1)
                << ref.table.toStdString() << "." << ref.field.toStdString() << " = " << target;
        }
    }
    // Each crop copy keeps one target per non-oxide element.
    const QVariant perCrop = queryValue(one, QStringLiteral("SELECT count(*) FROM T_element WHERE kof = 0"));
    const auto targets = queryRows(three, QStringLiteral(
        "SELECT c.id_kult, count(k.id_konc) FROM T_kult c LEFT JOIN t_konc k ON k.id_kult = c.id_kult "
        "GROUP BY c.id_kult"));
    EXPECT_EQ(targets.size(), 3 * count(one, QStringLiteral("T_kult")));
    for (const QVariantList &t : targets)
        EXPECT_EQ(t[1], perCrop) << "crop " << t[0].toInt();
}

} // namespace
