#include "engine.h"

#include "numbers.h"

#include "data/connection.h"
#include "data/datamodules.h"

namespace {

using Ext = long double; // the calculation's extended precision

const QString Kol = QStringLiteral("kol");
const QString Rachet = QStringLiteral("rachet");
const QString IdEl = QStringLiteral("id_el");

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

ConcentrationEngine::ConcentrationEngine(DataModules &data, CalculatorView &view)
    : m_data(data), m_view(view)
{
}

void ConcentrationEngine::installHooks()
{
    Form4Data &f4 = m_data.form4;
    f4.T_rachet.setCalcHook([this](Dataset &ds) { T_rachetCalcFields(ds); });
    f4.ADOTable2.setCalcHook([this](Dataset &ds) { ADOTable2CalcFields(ds); });
    f4.T_save_rar.setCalcHook([this](Dataset &ds) { T_save_rarCalcFields(ds); });
}

double ConcentrationEngine::litres() const
{
    double v = 0;
    if (!tryParseDouble(m_view.litresText(), systemDecimalSeparator(), v))
        return 0;
    return v;
}

// ---------------------------------------------------------------- the run

void ConcentrationEngine::Button4Click()
{
    Form4Data &f4 = m_data.form4;
    const Bookmark crop = f4.ADOTable3.bookmark();
    f4.T_rachet.updateRecord(); // an amount still in the grid's editor counts as typed
    if (f4.T_rachet.isModified())
        f4.T_rachet.post();
    DisabledBinding grid(f4.DataSource2);

    f4.T_SOS.setMasterLink(&f4.DS_rachet, QStringLiteral("id_udobra"), QStringLiteral("id_udobra"));
    f4.T_SOS.close();
    f4.T_SOS.open();
    {
        Connection::Batch batch(m_data.ADOConnection1);
        zeroTargets();
        accumulate(f4.T_rachet);
        RoundCalculatedConcentrations();
        batch.commit();
    }
    f4.ADOTable3.gotoBookmark(crop);
    grid.enable();
    UpdateSaltTotals();
    f4.ADOTable2.first();
}

void ConcentrationEngine::dxDBGrid5Click()
{
    Form4Data &f4 = m_data.form4;
    DisabledBinding grid(f4.DataSource2);
    const Bookmark crop = f4.ADOTable3.bookmark();

    f4.T_SOS.setMasterLink(&f4.DS_SAVE_RAR, QStringLiteral("id_udobra"), QStringLiteral("id_udobra"));
    const Bookmark solution = f4.T_HEAD_RAR.bookmark();
    f4.T_SOS.close();
    f4.T_SOS.open();
    f4.T_HEAD_RAR.gotoBookmark(solution);
    {
        Connection::Batch batch(m_data.ADOConnection1);
        zeroTargets();
        accumulate(f4.T_save_rar);
        RoundCalculatedConcentrations();
        batch.commit();
    }
    f4.ADOTable3.gotoBookmark(crop);
    m_view.setColumnCaption(QStringLiteral("dxDBGrid4Column3"),
                            QStringLiteral("Кол-во, г/") + formatGeneral(litres()) + QStringLiteral(" л."));
    f4.T_save_rar.close();
    f4.T_save_rar.open();
    grid.enable();
    UpdateSaltTotals();
}

void ConcentrationEngine::zeroTargets()
{
    Dataset &targets = m_data.form4.ADOTable2;
    targets.first();
    while (!targets.eof()) {
        targets.edit();
        targets.setValue(Rachet, 0.0);
        targets.post();
        targets.next();
    }
}

void ConcentrationEngine::accumulate(Dataset &source)
{
    Form4Data &f4 = m_data.form4;
    Dataset &sos = f4.T_SOS;
    Dataset &targets = f4.ADOTable2;
    const QString idElement = QStringLiteral("id_element");
    const QString kolElement = QStringLiteral("kol_element");
    const QString kof = QStringLiteral("kof");

    // T_SOS follows the source's current row through its master link.
    source.first();
    while (!source.eof()) {
        const Ext amount = source.asFloat(Kol);
        sos.first();
        while (!sos.eof()) {
            const int element = sos.asInteger(idElement);
            const int yielded = sos.asInteger(IdEl);
            const Ext percent = sos.asFloat(kolElement);
            const Ext factor = sos.asFloat(kof);
            targets.first();
            while (!targets.eof()) {
                const int target = targets.asInteger(IdEl);
                if (element == target) {
                    targets.edit();
                    const Ext sum = Ext(targets.asFloat(Rachet)) + (percent * 10) * amount;
                    targets.setValue(Rachet, static_cast<double>(sum));
                    targets.post();
                } else if (yielded == target) {
                    targets.edit();
                    const Ext sum = Ext(targets.asFloat(Rachet)) + ((percent * 10) * amount) * factor;
                    targets.setValue(Rachet, static_cast<double>(sum));
                    targets.post();
                }
                targets.next();
            }
            sos.next();
        }
        source.next();
    }
}

void ConcentrationEngine::RoundCalculatedConcentrations()
{
    Dataset &targets = m_data.form4.ADOTable2;
    targets.first();
    while (!targets.eof()) {
        const double x = targets.asFloat(Rachet);
        targets.edit();
        targets.setValue(Rachet, RoundDecimals(x, 4));
        targets.post();
        targets.next();
    }
}

void ConcentrationEngine::UpdateSaltTotals()
{
    Form4Data &f4 = m_data.form4;
    const Dataset &options = m_data.form18.ADOTable1;
    double rachet = 0, rPr = 0, vaga = 0, cvet = 0, ppm = 0, ppmPr = 0;

    Dataset &targets = f4.ADOTable2;
    targets.first();
    if (options.asBoolean(QStringLiteral("ppm1"))) {
        while (!targets.eof()) {
            rachet = static_cast<double>(Ext(rachet) + targets.asFloat(Rachet));
            vaga = static_cast<double>(Ext(vaga) + targets.asFloat(QStringLiteral("vaga_calc")));
            cvet = static_cast<double>(Ext(cvet) + targets.asFloat(QStringLiteral("cvet_calc")));
            rPr = static_cast<double>(Ext(rPr) + targets.asFloat(QStringLiteral("r_pr")));
            targets.next();
        }
    }
    Dataset &composition = f4.T_rachet;
    composition.first();
    if (options.asBoolean(QStringLiteral("ppm2"))) {
        const QString ppmField = QStringLiteral("ppm");
        const QString kolPr = QStringLiteral("kol_pr");
        while (!composition.eof()) {
            const Ext p = composition.asInteger(ppmField);
            ppm = static_cast<double>(Ext(ppm) + p * composition.asFloat(Kol));
            ppmPr = static_cast<double>(Ext(ppmPr) + p * composition.asFloat(kolPr));
            composition.next();
        }
    }
    composition.first();
    targets.first();

    auto text = [](double sum) { return QStringLiteral("   ") + formatGeneral(RoundDecimals(sum, 2)); };
    m_view.setLabelText(QStringLiteral("Label4"), text(rachet));
    m_view.setLabelText(QStringLiteral("Label5"), text(vaga));
    m_view.setLabelText(QStringLiteral("Label9"), text(cvet));
    m_view.setLabelText(QStringLiteral("Label13"), text(rPr));
    m_view.setLabelText(QStringLiteral("Label10"), text(ppm));
    m_view.setLabelText(QStringLiteral("Label11"), text(ppmPr));
}

// ---------------------------------------------------------------- calculated fields

void ConcentrationEngine::T_rachetCalcFields(Dataset &ds)
{
    const Ext p = m_view.percentage();
    ds.setCalcValue(QStringLiteral("kol_pr"), static_cast<double>((Ext(ds.asFloat(Kol)) / 100) * p));
}

void ConcentrationEngine::ADOTable2CalcFields(Dataset &ds)
{
    const Ext p = m_view.percentage();
    const double v = static_cast<double>((Ext(ds.asFloat(QStringLiteral("vega"))) / 100) * p);
    const double c = static_cast<double>((Ext(ds.asFloat(QStringLiteral("cvet"))) / 100) * p);
    const double vagaCalc = RoundDecimals(v, 2);
    const double cvetCalc = RoundDecimals(c, 2);
    ds.setCalcValue(QStringLiteral("vaga_calc"), vagaCalc);
    ds.setCalcValue(QStringLiteral("cvet_calc"), cvetCalc);
    const double rachet = ds.asFloat(Rachet);
    ds.setCalcValue(QStringLiteral("r_pr"), static_cast<double>((Ext(rachet) / 100) * p));
    const double dv = static_cast<double>(Ext(rachet) - vagaCalc);
    const double dc = static_cast<double>(Ext(rachet) - cvetCalc);
    ds.setCalcValue(QStringLiteral("raznica_v"), RoundDecimals(dv, 2));
    ds.setCalcValue(QStringLiteral("raznica_c"), RoundDecimals(dc, 2));
}

void ConcentrationEngine::T_save_rarCalcFields(Dataset &ds)
{
    const Dataset &head = m_data.form4.T_HEAD_RAR;
    const Ext litresValue = litres();
    const double kol = ds.asFloat(Kol);
    ds.setCalcValue(QStringLiteral("kol_temp"), static_cast<double>(Ext(kol) * litresValue));

    const QString kolL = fieldText(head, QStringLiteral("kol_l"));
    const QString konc = fieldText(head, QStringLiteral("konc"));
    m_view.setColumnCaption(QStringLiteral("dxDBGrid4Column3"),
                            QStringLiteral("Кол-во г./") + kolL + QStringLiteral("л."));
    m_view.setColumnCaption(QStringLiteral("dxDBGrid4Column4"),
                            QStringLiteral("Кол-во от ") + konc + QStringLiteral("% г./л."));
    m_view.setColumnCaption(QStringLiteral("dxDBGrid4Column5"), QStringLiteral("Кол-во от ") + konc
                                                                    + QStringLiteral("% г./") + kolL
                                                                    + QStringLiteral("л."));
    const Ext saved = fieldNumber(head, QStringLiteral("konc"));
    ds.setCalcValue(QStringLiteral("r_conc"), static_cast<double>((Ext(kol) / 100) * saved));
    const double rConc = ds.asFloat(QStringLiteral("r_conc"));
    ds.setCalcValue(QStringLiteral("rl_conc"), static_cast<double>(Ext(rConc) * litresValue));
}
