#include "testcrops.h"

#include "data/connection.h"

#include <QHash>
#include <QList>

namespace {

struct TestCrop
{
    const char *name;
    // vega and cvet by element symbol, N P K Ca Mg S Fe Mn Zn Cu B Mo in that order
    double vega[12];
    double cvet[12];
};

const char *const Symbols[12] = {"N", "P", "K", "Ca", "Mg", "S", "Fe", "Mn", "Zn", "Cu", "B", "Mo"};

const TestCrop Crops[] = {
    {"Томат",
     {70, 50, 120, 150, 40, 50, 2.8, 0.8, 0.3, 0.2, 0.7, 0.05},
     {150, 50, 200, 150, 50, 50, 2.8, 0.8, 0.3, 0.2, 0.7, 0.05}},
    {"Огурец",
     {241.6, 38.7, 312.8, 160.3, 36.5, 44.1, 0.84, 0.55, 0.33, 0.05, 0.27, 0.05},
     {241.6, 38.7, 312.8, 160.3, 36.5, 44.1, 0.84, 0.55, 0.33, 0.05, 0.27, 0.05}},
    {"Перец сладкий",
     {207, 50, 240, 220, 50, 20, 1.5, 0.55, 0.33, 0.05, 0.3, 0.05},
     {195, 50, 285, 200, 45, 20, 1, 0.55, 0.33, 0.05, 0.3, 0.05}},
    {"Салат",
     {105, 15.5, 117.5, 100, 24.3, 32, 2.9, 0.5, 0.05, 0.02, 0.5, 0.01},
     {157.5, 23.25, 176.25, 150, 36.45, 48, 2.9, 0.5, 0.05, 0.02, 0.5, 0.01}},
    {"Универсальный (Хогланд)",
     {210, 31, 235, 200, 48.6, 64, 2.9, 0.5, 0.05, 0.02, 0.5, 0.01},
     {210, 31, 235, 200, 48.6, 64, 2.9, 0.5, 0.05, 0.02, 0.5, 0.01}},
};

} // namespace

void typeTestCrops(const QString &basePath)
{
    Connection c(basePath);
    Connection::Batch batch(c);
    for (const char *table : {"t_konc", "t_svoistva_kult", "t_head_rar", "t_save_rar", "T_kult"})
        c.exec(QStringLiteral("DELETE FROM \"%1\"").arg(QLatin1String(table)));

    QList<QPair<int, QString>> elements;
    {
        Connection::Statement st(c, QStringLiteral("SELECT id_element, Smallname_element FROM T_element "
                                                   "WHERE kof = 0 ORDER BY id_element"));
        while (st.step())
            elements.append({st.column(0).toInt(), st.column(1).toString()});
    }
    Connection::Statement crop(c, QStringLiteral("INSERT INTO T_kult (id_kult, name_kult, ph) VALUES (?, ?, ?)"));
    Connection::Statement target(c, QStringLiteral("INSERT INTO t_konc (id_konc, id_kult, id_el, vega, cvet) "
                                                   "VALUES (?, ?, ?, ?, ?)"));
    int id = 0;
    int row = 0;
    for (const TestCrop &t : Crops) {
        QHash<QString, QPair<double, double>> targets;
        for (int i = 0; i < 12; ++i)
            targets.insert(QString::fromLatin1(Symbols[i]), {t.vega[i], t.cvet[i]});
        crop.bind(1, ++id);
        crop.bind(2, QString::fromUtf8(t.name));
        crop.bind(3, QStringLiteral("5.5-6.5"));
        crop.step();
        crop.reset();
        for (const auto &[element, symbol] : elements) {
            const QPair<double, double> v = targets.value(symbol, {0, 0});
            target.bind(1, ++row);
            target.bind(2, id);
            target.bind(3, element);
            target.bind(4, v.first);
            target.bind(5, v.second);
            target.step();
            target.reset();
        }
    }
    batch.commit();
}
