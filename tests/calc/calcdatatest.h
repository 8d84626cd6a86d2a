#pragma once

#include "calc/run/calculationinputs.h"
#include "calc/run/derivedvalues.h"
#include "data/apperror.h"
#include "data/datamodules.h"
#include "data/fields.h"
#include "support/freshbase.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

#include <gtest/gtest.h>

#include <ostream>

// Failures print texts as texts.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// The percentage and the litres text as the calculator window would give them.
class FakeInputs : public CalculationInputs
{
public:
    int percentage() const override { return p; }
    double litres() const override { return DerivedValues::litresFromText(litresText); }

    int p = 100;
    QString litresText;
};

// The calculator's datasets open on a fresh default base with the test crops, no window anywhere,
// with helpers that type into the datasets as a grower would.
class CalcDataTest : public ::testing::Test
{
protected:
    explicit CalcDataTest(FreshBase::Crops crops = FreshBase::Crops::Test) : base(crops) {}

    void SetUp() override
    {
        try {
            data.openAll();
        } catch (const AppError &e) {
            FAIL() << e.text().toStdString();
        }
    }

    Form4Data &f4() { return data.form4; }

    int fertilizerId(const QString &name)
    {
        Dataset &u = data.form2.T_Udobra;
        u.first();
        while (!u.eof()) {
            if (u.asString(QStringLiteral("name_udobra")) == name)
                return u.asInteger(QStringLiteral("id_udobra"));
            u.next();
        }
        ADD_FAILURE() << "no fertilizer " << name.toStdString();
        return 0;
    }

    // Makes the fertilizer current in the shared fertilizer list.
    void selectFertilizer(const QString &name)
    {
        Dataset &u = data.form2.T_Udobra;
        u.first();
        while (!u.eof() && u.asString(QStringLiteral("name_udobra")) != name)
            u.next();
        ASSERT_FALSE(u.eof()) << "no fertilizer " << name.toStdString();
    }

    void addToComposition(const QString &name, double grams)
    {
        Dataset &r = f4().T_rachet;
        r.append();
        r.setValue(QStringLiteral("id_udobra"), fertilizerId(name));
        r.setValue(QStringLiteral("kol"), grams);
        r.post();
    }

    void selectCrop(const QString &name)
    {
        Dataset &c = f4().ADOTable3;
        c.first();
        while (!c.eof() && c.asString(QStringLiteral("name_kult")) != name)
            c.next();
        ASSERT_FALSE(c.eof()) << "no crop " << name.toStdString();
    }

    // A water analysis stored with its rows (id_element, mg/L); its key.
    QVariant addAnalysis(const QString &name, const QList<QPair<int, double>> &rows)
    {
        Dataset &analyses = data.own.T_voda;
        analyses.append();
        analyses.setValue(Fields::name_voda, name);
        analyses.post();
        Dataset &elements = data.own.T_sostav_vody;
        for (const auto &[element, mgL] : rows) {
            elements.append();
            elements.setValue(Fields::id_element, element);
            elements.setValue(Fields::mg_l, mgL);
            elements.post();
        }
        return analyses.value(Fields::id_voda);
    }

    // rachet of the selected crop's target rows by element symbol.
    QHash<QString, double> computed()
    {
        QHash<QString, double> out;
        Dataset &t = f4().ADOTable2;
        t.first();
        while (!t.eof()) {
            out[t.asString(QStringLiteral("name_el"))] = t.asFloat(QStringLiteral("rachet"));
            t.next();
        }
        return out;
    }

    FreshBase base;
    DataModules data;
};
