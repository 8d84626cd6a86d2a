// The dataset's filter over typed search text, and the post path with typed values: a filter
// either is refused with the layer's error or shows exactly the rows that contain the text;
// a value either is refused or is stored as given and read back the same.
#include "fuzzinput.h"

#include "data/apperror.h"
#include "data/connection.h"
#include "data/dataset.h"
#include "data/fields.h"
#include "tools/makebase/defaultbase.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

namespace {

struct Base
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("base.mdb"));
    Connection connection{path};
    Dataset fertilizers{QStringLiteral("T_Udobra"), &connection, Tables::t_udobra};
    Dataset check{QStringLiteral("T_Check"), &connection, Tables::t_udobra};

    Base()
    {
        writeDefaultBase(path);
        for (Dataset *ds : {&fertilizers, &check}) {
            ds->addStoredField(Fields::id_udobra);
            ds->addStoredField(Fields::name_udobra);
            ds->addStoredField(Fields::ppm);
        }
        fertilizers.open();
    }
};

Base *base = nullptr;

void filter(Dataset &ds, const QString &expression)
{
    try {
        ds.setFilter(expression);
        ds.setFiltered(true);
    } catch (const AppError &e) {
        FUZZ_CHECK(e.text().startsWith(QStringLiteral("T_Udobra: ")));
        ds.setFiltered(false);
        return;
    }
    const int from = int(expression.indexOf(u'%'));
    const int to = int(expression.lastIndexOf(u'%'));
    const bool like = expression.contains(QStringLiteral(" like "), Qt::CaseInsensitive) && to > from;
    ds.first();
    while (!ds.eof()) {
        if (like && expression.trimmed().startsWith(Fields::name_udobra, Qt::CaseInsensitive))
            FUZZ_CHECK(ds.asString(Fields::name_udobra)
                           .toCaseFolded()
                           .contains(expression.mid(from + 1, to - from - 1).toCaseFolded()));
        ds.next();
    }
    ds.setFiltered(false);
}

void post(Dataset &ds, Dataset &check, const QString &name, const QString &ppm)
{
    ds.append();
    try {
        ds.setAsString(Fields::name_udobra, name);
        ds.setAsString(Fields::ppm, ppm);
    } catch (const AppError &e) {
        FUZZ_CHECK(!e.text().isEmpty());
        ds.cancel();
        return;
    }
    // A value the dataset accepted is one the file takes.
    try {
        ds.post();
    } catch (const AppError &e) {
        std::fprintf(stderr, "post refused: %s\n", e.what());
        FUZZ_CHECK(false);
    }
    const QVariant key = ds.value(Fields::id_udobra);
    check.close();
    check.open();
    FUZZ_CHECK(check.lookup(Fields::id_udobra, key, Fields::name_udobra).toString() == name);
    FUZZ_CHECK(check.lookup(Fields::id_udobra, key, Fields::ppm) == ds.value(Fields::ppm));
    ds.remove();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    base = new Base;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    const QString expression = in.text(80);
    const QString name = in.text(200);
    const QString ppm = in.text(16);
    filter(base->fertilizers, expression);
    post(base->fertilizers, base->check, name, ppm);
    return 0;
}
