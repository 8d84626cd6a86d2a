#include "engine.h"

#include "contribution.h"
#include "derivedvalues.h"
#include "numbers.h"

#include "data/connection.h"
#include "data/datamodules.h"
#include "data/fields.h"

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

    f4.T_SOS.setMasterLink(&f4.DS_rachet, Fields::id_udobra, Fields::id_udobra);
    f4.T_SOS.close();
    f4.T_SOS.open();
    {
        Connection::Batch batch(m_data.ADOConnection1);
        zeroTargets();
        accumulate(f4.T_rachet);
        roundConcentrations();
        batch.commit();
    }
    f4.ADOTable3.gotoBookmark(crop);
    grid.enable();
    const SaltTotals totals = saltTotals();
    f4.ADOTable2.first();
    return totals;
}

SaltTotals ConcentrationEngine::runSavedSolution()
{
    Form4Data &f4 = m_data.form4;
    DisabledBinding grid(f4.DataSource2);
    const Bookmark crop = f4.ADOTable3.bookmark();

    f4.T_SOS.setMasterLink(&f4.DS_SAVE_RAR, Fields::id_udobra, Fields::id_udobra);
    const Bookmark solution = f4.T_HEAD_RAR.bookmark();
    f4.T_SOS.close();
    f4.T_SOS.open();
    f4.T_HEAD_RAR.gotoBookmark(solution);
    {
        Connection::Batch batch(m_data.ADOConnection1);
        zeroTargets();
        accumulate(f4.T_save_rar);
        roundConcentrations();
        batch.commit();
    }
    f4.ADOTable3.gotoBookmark(crop);
    Q_EMIT savedSolutionRun(m_inputs.litres());
    f4.T_save_rar.close();
    f4.T_save_rar.open();
    grid.enable();
    return saltTotals();
}

void ConcentrationEngine::zeroTargets()
{
    Dataset &targets = m_data.form4.ADOTable2;
    targets.first();
    while (!targets.eof()) {
        targets.edit();
        targets.setValue(Fields::rachet, 0.0);
        targets.post();
        targets.next();
    }
}

void ConcentrationEngine::accumulate(Dataset &source)
{
    Form4Data &f4 = m_data.form4;
    Dataset &sos = f4.T_SOS;
    Dataset &targets = f4.ADOTable2;

    // T_SOS follows the source's current row through its master link.
    source.first();
    while (!source.eof()) {
        const Ext grams = source.asFloat(Fields::kol);
        sos.first();
        while (!sos.eof()) {
            const CompositionRow row = currentCompositionRow(sos);
            targets.first();
            while (!targets.eof()) {
                // Every match is edited and posted, also one that adds nothing.
                if (const auto added = contribution(row, targets.asInteger(Fields::id_el), grams)) {
                    targets.edit();
                    const Ext sum = Ext(targets.asFloat(Fields::rachet)) + *added;
                    targets.setValue(Fields::rachet, static_cast<double>(sum));
                    targets.post();
                }
                targets.next();
            }
            sos.next();
        }
        source.next();
    }
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
    const Dataset &options = m_data.form18.ADOTable1;
    QList<SaltTotals::TargetRow> targetRows;
    QList<SaltTotals::CompositionRow> compositionRows;

    Dataset &targets = f4.ADOTable2;
    targets.first();
    if (options.asBoolean(Fields::ppm1)) {
        while (!targets.eof()) {
            targetRows.append({targets.asFloat(Fields::rachet), targets.asFloat(Fields::r_pr),
                               targets.asFloat(Fields::vaga_calc),
                               targets.asFloat(Fields::cvet_calc)});
            targets.next();
        }
    }
    Dataset &composition = f4.T_rachet;
    composition.first();
    if (options.asBoolean(Fields::ppm2)) {
        while (!composition.eof()) {
            compositionRows.append({double(composition.asInteger(Fields::ppm)),
                                    composition.asFloat(Fields::kol),
                                    composition.asFloat(Fields::kol_pr)});
            composition.next();
        }
    }
    composition.first();
    targets.first();
    return SaltTotals::compute(targetRows, compositionRows);
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
