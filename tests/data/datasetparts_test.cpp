// The parts a dataset is built from, each on its own: the filter and the sort as they read
// their texts, and a field as it takes values.
#include "testdb.h"

#include "data/apperror.h"
#include "data/fields.h"
#include "data/rowfilter.h"
#include "data/sortorder.h"

#include <QStringList>

#include <limits>

namespace {

DatasetFields fertilizerFields()
{
    const auto field = [](const QString &name, FieldType type, int size) {
        DatasetField f;
        f.name = name;
        f.type = type;
        f.size = size;
        return f;
    };
    DatasetFields fields;
    for (const FieldDef &def : Schema::table(Tables::t_udobra).fields)
        fields.append(field(def.name, def.type, def.size));
    fields.append(field(Fields::kof, FieldType::Bool, 0));
    return fields;
}

QString refusal(const std::function<void()> &step)
{
    try {
        step();
    } catch (const AppError &e) {
        return e.text();
    }
    return QStringLiteral("(accepted)");
}

TEST(RowFilterTest, ReadsItsFourFormsAndTestsValuesByThem)
{
    const DatasetFields fields = fertilizerFields();
    struct Case
    {
        const char *expression;
        int field;
        QVariantList passing;
        QVariantList failing;
    };
    const QList<Case> cases = {
        {"id_udobra=7", 0, {7, qint64(7)}, {8, QVariant()}},
        {"  ID_UDOBRA = -3 ", 0, {-3}, {3}},
        {"id_udobra in (1,4, 7)", 0, {1, qint64(4), 7}, {2, 0, QVariant()}},
        {"ID_UDOBRA IN(-2)", 0, {-2}, {2}},
        {"id_udobra in ()", 0, {}, {1, QVariant()}},
        {"kof<>TRUE", 3, {false, QVariant()}, {true}},
        {"name_udobra like %СЕЛИТРА%", 1, {QStringLiteral("Кальциевая селитра")},
         {QStringLiteral("Сульфат магния"), QVariant()}},
        // Between the first and the last % everything is literal, % and _ included.
        {"name_udobra like %50%%", 1, {QStringLiteral("смесь 50% [особая]")},
         {QStringLiteral("смесь 50 [особая]")}},
        {"name_udobra like %a_b%", 1, {QStringLiteral("xa_by")}, {QStringLiteral("xacby")}},
    };
    for (const Case &c : cases) {
        const RowFilter filter = RowFilter::parse(QString::fromUtf8(c.expression), fields);
        EXPECT_EQ(filter.field(), c.field) << c.expression;
        for (const QVariant &v : c.passing)
            EXPECT_TRUE(filter.passes(v)) << c.expression << " / " << v.toString().toStdString();
        for (const QVariant &v : c.failing)
            EXPECT_FALSE(filter.passes(v)) << c.expression << " / " << v.toString().toStdString();
    }

    const RowFilter none = RowFilter::parse(QStringLiteral("  "), fields);
    EXPECT_TRUE(none.isEmpty());
    EXPECT_TRUE(none.passes(QVariant()));
}

TEST(RowFilterTest, RefusesWhatItCannotRead)
{
    const DatasetFields fields = fertilizerFields();
    for (const char *expression : {"ppm > 3", "nosuch=1", "id_udobra=7.5", "name_udobra like %x",
                                   "name_udobra like %", "name_udobra like x", "kof<>false",
                                   "id_udobra in (1,)", "id_udobra in 1,2", "id_udobra in (a)"}) {
        const QString text = QString::fromUtf8(expression);
        EXPECT_EQ(refusal([&] { RowFilter::parse(text, fields); }),
                  QStringLiteral("Filter expression incorrectly formatted: ") + text);
    }
}

TEST(SortOrderTest, ReadsAFieldAndADirection)
{
    const DatasetFields fields = fertilizerFields();
    EXPECT_TRUE(SortOrder::parse(QString(), fields).isEmpty());
    EXPECT_EQ(SortOrder::parse(QStringLiteral("NAME_UDOBRA"), fields).field(), 1);
    EXPECT_EQ(SortOrder::parse(QStringLiteral(" ppm  desc "), fields).field(), 2);
    for (const char *text : {"name_udobra up", "nosuch", "name_udobra ASC id_udobra"}) {
        const QString sort = QString::fromUtf8(text);
        EXPECT_EQ(refusal([&] { SortOrder::parse(sort, fields); }),
                  QStringLiteral("Sort order incorrectly formatted: ") + sort);
    }
}

TEST(SortOrderTest, SortsTextIgnoringCaseEmptiesFirstAndEqualsInTableOrder)
{
    const DatasetFields fields = fertilizerFields();
    const QVariantList names = {QStringLiteral("b"), QVariant(), QStringLiteral("A"),
                                QStringLiteral("B"), QStringLiteral("a")};
    const QVariantList ppm = {500, 90, QVariant(), 1000, 90};
    const auto sorted = [&](const char *text, const QVariantList &values) {
        QVector<int> rows = {0, 1, 2, 3, 4};
        SortOrder::parse(QString::fromUtf8(text), fields).sort(rows, [&](int i) {
            return values.at(i);
        });
        return rows;
    };
    EXPECT_EQ(sorted("name_udobra", names), (QVector<int>{1, 2, 4, 0, 3}));
    EXPECT_EQ(sorted("name_udobra DESC", names), (QVector<int>{0, 3, 2, 4, 1}));
    // Numbers compare as numbers, not as text: 90 before 500 before 1000.
    EXPECT_EQ(sorted("ppm", ppm), (QVector<int>{2, 1, 4, 0, 3}));
    EXPECT_EQ(sorted("", names), (QVector<int>{0, 1, 2, 3, 4}));
}

TEST(DatasetFieldTest, TakesWhatItsTypeHoldsAndNamesItselfWhenItRefuses)
{
    const DatasetFields fields = fertilizerFields();
    const DatasetField &name = fields.at(1);
    const DatasetField &ppm = fields.at(2);
    const DatasetField &oxide = fields.at(3);

    EXPECT_EQ(ppm.accept(QStringLiteral("12")), QVariant(12));
    EXPECT_EQ(ppm.accept(2.6), QVariant(3));
    EXPECT_TRUE(ppm.accept(QString()).isNull());
    EXPECT_TRUE(name.accept(QString()).isNull()) << "empty text is an empty value";
    EXPECT_EQ(oxide.accept(QStringLiteral(" TRUE ")), QVariant(true));
    EXPECT_EQ(oxide.accept(QStringLiteral("0")), QVariant(false));

    EXPECT_EQ(refusal([&] { ppm.accept(QStringLiteral("6x")); }),
              QStringLiteral("'6x' is not a valid integer value for field 'ppm'"));
    EXPECT_EQ(refusal([&] { ppm.accept(3e9); }),
              QStringLiteral("'3000000000' is not a valid integer value for field 'ppm'"));
    EXPECT_EQ(refusal([&] { oxide.accept(QStringLiteral("да")); }),
              QStringLiteral("'да' is not a valid boolean value for field 'kof'"));
    EXPECT_EQ(refusal([&] { name.accept(QString(51, u'я')); }),
              QStringLiteral("Поле \"name_udobra\" вмещает не больше 50 знаков, а в тексте их 51"));

    // Values read from the file come back in the field's own type.
    EXPECT_EQ(ppm.fromStored(qint64(500)).typeId(), QMetaType::Int);
    EXPECT_EQ(oxide.fromStored(qint64(1)), QVariant(true));
    EXPECT_TRUE(name.fromStored(QVariant()).isNull());
}

// What the file holds is read as it is, or named: never a NaN, an infinity, a key cut to 32 bits
// or a text read as 0.
TEST(DatasetFieldTest, FiguresFromTheFileAreReadWholeOrNamed)
{
    const DatasetFields fields = fertilizerFields();
    const DatasetField &key = fields.at(0);
    const DatasetField &ppm = fields.at(2);
    DatasetField price;
    price.name = QStringLiteral("price");
    price.type = FieldType::Double;

    const qint64 bigKey = 5'000'000'000LL;
    EXPECT_EQ(key.fromStored(bigKey).toLongLong(), bigKey) << "a key is the file's 64-bit rowid";
    const struct
    {
        const DatasetField *field;
        QVariant stored;
        double read;
    } read[] = {
        {&price, QStringLiteral("1,5"), 1.5},  {&price, QStringLiteral("1.5"), 1.5},
        {&price, qint64(2), 2},                {&price, 0.25, 0.25},
        {&ppm, QStringLiteral("650"), 650},    {&ppm, 650.0, 650},
    };
    for (const auto &c : read)
        EXPECT_EQ(c.field->fromStored(c.stored).toDouble(), c.read) << c.stored.toString().toStdString();
    EXPECT_TRUE(price.fromStored(QStringLiteral(" ")).isNull());

    const double inf = std::numeric_limits<double>::infinity();
    const struct
    {
        const DatasetField *field;
        QVariant stored;
        const char *shown;
    } named[] = {
        {&price, inf, "INF"},
        {&price, -inf, "-INF"},
        {&price, std::numeric_limits<double>::quiet_NaN(), "NAN"},
        {&price, QStringLiteral("дёшево"), "дёшево"},
        {&ppm, qint64(3'000'000'000LL), "3000000000"},
        {&ppm, QStringLiteral("много"), "много"},
        {&ppm, 2.5, "2.5"},
    };
    for (const auto &c : named) {
        EXPECT_EQ(refusal([&] { c.field->fromStored(c.stored); }),
                  QStringLiteral("В базе в поле «%1» значение «%2», а не число")
                      .arg(c.field->name, QString::fromUtf8(c.shown)));
    }
}

} // namespace
