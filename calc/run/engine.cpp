#include "engine.h"

#include "concentration.h"
#include "derivedvalues.h"
#include "numbers.h"

#include "data/connection.h"
#include "data/datamodules.h"
#include "data/fields.h"
#include "data/storedvalues.h"

namespace {

// A field of another dataset's current row as text, empty when there is none.
QString fieldText(const Dataset &ds, const QString &field)
{
    if (!ds.isActive())
        return {};
    return ds.asString(field);
}

double fieldNumber(const Dataset &ds, const QString &field)
{
    if (!ds.isActive())
        return 0;
    return ds.asFloat(field);
}

// Values of row `row` of the view, read without moving, as asFloat and asInteger read the
// current row's.
double numberAt(const Dataset &ds, int row, const QString &field)
{
    return StoredValues::numberOf(ds.valueAt(row, field));
}

int integerAt(const Dataset &ds, int row, const QString &field)
{
    return StoredValues::integerOf(ds.valueAt(row, field));
}

// Keeps a binding disabled for a run and enables it again even when the run fails, so the
// grid never stays blank over values that were already posted.
class DisabledBinding
{
public:
    explicit DisabledBinding(Binding &b) : m_binding(b) { m_binding.setEnabled(false); }
    ~DisabledBinding() { m_binding.setEnabled(true); }
    void enable() { m_binding.setEnabled(true); }

private:
    Binding &m_binding;
};

} // namespace

ConcentrationEngine::ConcentrationEngine(DataModules &data, const CalculationInputs &inputs)
    : m_data(data), m_inputs(inputs)
{
}

ConcentrationEngine::~ConcentrationEngine()
{
    Form4Data &f4 = m_data.form4;
    f4.T_rachet.setCalcHook({});
    f4.ADOTable2.setCalcHook({});
    f4.T_save_rar.setCalcHook({});
}

void ConcentrationEngine::installHooks()
{
    Form4Data &f4 = m_data.form4;
    f4.T_rachet.setCalcHook([this](Dataset &ds) { T_rachetCalcFields(ds); });
    f4.ADOTable2.setCalcHook([this](Dataset &ds) { ADOTable2CalcFields(ds); });
    f4.T_save_rar.setCalcHook([this](Dataset &ds) { T_save_rarCalcFields(ds); });
}

// ---------------------------------------------------------------- the run

SaltTotals ConcentrationEngine::runComposition()
{
    Form4Data &f4 = m_data.form4;
    const Bookmark crop = f4.ADOTable3.bookmark();
    f4.T_rachet.updateRecord(); // an amount still in the grid's editor counts as typed
    if (f4.T_rachet.isModified())
        f4.T_rachet.post();
    DisabledBinding grid(f4.DataSource2);

    const QList<Concentration::Fertilizer> recipe = fertilizersOf(f4.T_rachet);
    const QList<Concentration::Target> targets = targetsOfCrop();
    const Concentration::Result result =
        Concentration::run(recipe, targets, m_inputs.percentage(), saltOptions());
    store(result.concentrations);
    f4.ADOTable3.gotoBookmark(crop);
    grid.enable();
    f4.ADOTable2.first();
    f4.T_rachet.first();
    return result.totals;
}

SaltTotals ConcentrationEngine::runSavedSolution()
{
    Form4Data &f4 = m_data.form4;
    DisabledBinding grid(f4.DataSource2);
    const Bookmark crop = f4.ADOTable3.bookmark();

    f4.T_save_rar.first(); // posts a pending amount, as the run reads the solution's rows
    const QList<Concentration::Target> targets = targetsOfCrop();
    const QList<double> concentrations =
        Concentration::concentrations(fertilizersOf(f4.T_save_rar), targets);
    store(concentrations);
    f4.ADOTable3.gotoBookmark(crop);
    Q_EMIT savedSolutionRun(m_inputs.litres());
    f4.T_save_rar.close();
    f4.T_save_rar.open();
    grid.enable();
    // The ppm totals still count the working composition, as the calculator shows them.
    return saltTotals();
}

QList<Concentration::Fertilizer> ConcentrationEngine::fertilizersOf(const Dataset &rows)
{
    QList<Concentration::Fertilizer> out;
    if (!rows.isActive())
        return out;
    QList<int> ids;
    for (int i = 0; i < rows.recordCount(); ++i) {
        const QVariant id = rows.valueAt(i, Fields::id_udobra);
        if (!id.isNull() && !ids.contains(id.toInt()))
            ids.append(id.toInt());
    }
    // As the file holds the compositions now: one just edited in the fertilizer window counts.
    const QHash<int, QList<CompositionRow>> compositions =
        readCompositions(m_data.ADOConnection1, ids);
    for (int i = 0; i < rows.recordCount(); ++i) {
        const QVariant id = rows.valueAt(i, Fields::id_udobra);
        Concentration::Fertilizer f;
        f.grams = numberAt(rows, i, Fields::kol);
        f.ppm = integerAt(rows, i, Fields::ppm);
        if (!id.isNull())
            f.composition = compositions.value(id.toInt());
        out.append(f);
    }
    return out;
}

QList<Concentration::Target> ConcentrationEngine::targetsOfCrop() const
{
    QList<Concentration::Target> out;
    const Dataset &targets = m_data.form4.ADOTable2;
    if (!targets.isActive())
        return out;
    for (int i = 0; i < targets.recordCount(); ++i) {
        out.append({integerAt(targets, i, Fields::id_el), numberAt(targets, i, Fields::vega),
                    numberAt(targets, i, Fields::cvet)});
    }
    return out;
}

SaltOptions ConcentrationEngine::saltOptions() const
{
    const Dataset &options = m_data.form18.ADOTable1;
    return {options.asBoolean(Fields::ppm1), options.asBoolean(Fields::ppm2)};
}

void ConcentrationEngine::store(const QList<double> &concentrations)
{
    Dataset &targets = m_data.form4.ADOTable2;
    Connection::Batch batch(m_data.ADOConnection1);
    targets.first();
    for (const double value : concentrations) {
        if (targets.eof())
            break;
        targets.edit();
        targets.setValue(Fields::rachet, value);
        targets.post();
        targets.next();
    }
    batch.commit();
}

void ConcentrationEngine::roundConcentrations()
{
    Dataset &targets = m_data.form4.ADOTable2;
    targets.first();
    while (!targets.eof()) {
        const double x = targets.asFloat(Fields::rachet);
        targets.edit();
        targets.setValue(Fields::rachet, RoundDecimals(x, ConcentrationDecimals));
        targets.post();
        targets.next();
    }
}

SaltTotals ConcentrationEngine::saltTotals()
{
    Form4Data &f4 = m_data.form4;
    // Moving first posts what is pending, as reading the rows one by one would.
    f4.ADOTable2.first();
    f4.T_rachet.first();
    const QList<Concentration::Target> targets = targetsOfCrop();
    QList<double> concentrations;
    const Dataset &rows = f4.ADOTable2;
    for (int i = 0; rows.isActive() && i < rows.recordCount(); ++i)
        concentrations.append(numberAt(rows, i, Fields::rachet));
    QList<Concentration::Fertilizer> composition;
    const Dataset &recipe = f4.T_rachet;
    for (int i = 0; recipe.isActive() && i < recipe.recordCount(); ++i)
        composition.append({numberAt(recipe, i, Fields::kol), double(integerAt(recipe, i, Fields::ppm)), {}});
    return Concentration::saltTotals(targets, concentrations, composition, m_inputs.percentage(),
                                     saltOptions());
}

// ---------------------------------------------------------------- calculated fields

void ConcentrationEngine::T_rachetCalcFields(Dataset &ds)
{
    ds.setCalcValue(Fields::kol_pr,
                    DerivedValues::scaledAmount(ds.asFloat(Fields::kol), m_inputs.percentage()));
}

void ConcentrationEngine::ADOTable2CalcFields(Dataset &ds)
{
    const DerivedValues::Target t =
        DerivedValues::target(ds.asFloat(Fields::vega), ds.asFloat(Fields::cvet),
                              ds.asFloat(Fields::rachet), m_inputs.percentage());
    ds.setCalcValue(Fields::vaga_calc, t.vagaCalc);
    ds.setCalcValue(Fields::cvet_calc, t.cvetCalc);
    ds.setCalcValue(Fields::r_pr, t.rPr);
    ds.setCalcValue(Fields::raznica_v, t.raznicaV);
    ds.setCalcValue(Fields::raznica_c, t.raznicaC);
}

void ConcentrationEngine::T_save_rarCalcFields(Dataset &ds)
{
    const Dataset &head = m_data.form4.T_HEAD_RAR;
    const DerivedValues::SavedRow r = DerivedValues::savedRow(
        ds.asFloat(Fields::kol), m_inputs.litres(), fieldNumber(head, Fields::konc));
    ds.setCalcValue(Fields::kol_temp, r.kolTemp);
    Q_EMIT savedRowWorkedOut(fieldText(head, Fields::kol_l), fieldText(head, Fields::konc));
    ds.setCalcValue(Fields::r_conc, r.rConc);
    ds.setCalcValue(Fields::rl_conc, r.rlConc);
}
