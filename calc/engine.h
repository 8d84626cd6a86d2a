#pragma once

#include <QString>

class Dataset;
class DataModules;

// What the engine reads from and writes to the calculator window. The window implements it;
// tests use a plain fake.
class CalculatorView
{
public:
    virtual ~CalculatorView() = default;
    virtual int percentage() const = 0;       // RxSlider1's value
    virtual QString litresText() const = 0;   // the text of the litres editor dxDBSpinEdit1
    virtual void setColumnCaption(const QString &column, const QString &caption) = 0;
    virtual void setLabelText(const QString &label, const QString &text) = 0;
};

// The concentration run, its rounding, the calculated fields and the salt totals.
class ConcentrationEngine
{
public:
    ConcentrationEngine(DataModules &data, CalculatorView &view);

    // Installs the three calculation hooks on T_rachet, ADOTable2 and T_save_rar.
    void installHooks();

    void Button4Click();   // run over the working composition
    void dxDBGrid5Click(); // run over the current saved solution
    void RoundCalculatedConcentrations();
    void UpdateSaltTotals();

    void T_rachetCalcFields(Dataset &ds);
    void ADOTable2CalcFields(Dataset &ds);
    void T_save_rarCalcFields(Dataset &ds);

    // L: the number in the litres editor's text; empty or unreadable counts as 0.
    double litres() const;

private:
    void zeroTargets();
    void accumulate(Dataset &source);

    DataModules &m_data;
    CalculatorView &m_view;
};
