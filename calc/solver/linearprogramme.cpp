#include "linearprogramme.h"

#include "data/apperror.h"

#include <glpk.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <vector>

namespace {

// What a GLPK run needs and gives back, as plain arrays: nothing between the jump point and a
// jump out of GLPK owns memory, so the jump skips no destructor.
struct GlpkRun
{
    int rows = 0;
    int columns = 0;
    const int *rowType = nullptr;
    const double *rowLower = nullptr;
    const double *rowUpper = nullptr;
    const int *columnType = nullptr;
    const double *columnLower = nullptr;
    const double *columnUpper = nullptr;
    const double *cost = nullptr;
    int entries = 0;
    const int *entryRow = nullptr;    // 1-based, GLPK's element 0 unused
    const int *entryColumn = nullptr;
    const double *entryValue = nullptr;

    // How GLPK is asked: the simplex method, its presolver, and the bounds that make every run
    // end (a degenerate programme can make the simplex cycle for ever).
    int method = GLP_PRIMAL;
    int presolve = GLP_OFF;
    int iterationLimit = 0;
    int timeLimit = 0; // ms

    double *values = nullptr; // out: one per column
    int simplexCode = 0;
    int status = 0;
    std::jmp_buf jump;
};

// GLPK's terminal output goes here, so it never reaches stdout: its English lines are for no
// one the program serves.
int swallowOutput(void *, const char *)
{
    return 1; // handled: GLPK writes nothing itself
}

// GLPK calls this on an internal error instead of abort(). Its state is then undefined, so the
// whole environment is freed, the problem object with it, and control goes back to runGlpk.
void leaveGlpk(void *info)
{
    glp_free_env();
    std::longjmp(static_cast<GlpkRun *>(info)->jump, 1);
}

// False after an internal error of GLPK.
bool runGlpk(GlpkRun &run)
{
    if (setjmp(run.jump) != 0)
        return false;
    glp_error_hook(leaveGlpk, &run);
    glp_term_hook(swallowOutput, nullptr);
    glp_prob *lp = glp_create_prob();
    glp_set_obj_dir(lp, GLP_MIN);
    if (run.rows > 0)
        glp_add_rows(lp, run.rows);
    if (run.columns > 0)
        glp_add_cols(lp, run.columns);
    for (int i = 0; i < run.rows; ++i)
        glp_set_row_bnds(lp, i + 1, run.rowType[i], run.rowLower[i], run.rowUpper[i]);
    for (int j = 0; j < run.columns; ++j) {
        glp_set_col_bnds(lp, j + 1, run.columnType[j], run.columnLower[j], run.columnUpper[j]);
        glp_set_obj_coef(lp, j + 1, run.cost[j]);
    }
    if (run.entries > 0)
        glp_load_matrix(lp, run.entries, run.entryRow, run.entryColumn, run.entryValue);
    // Amounts of micrograms and targets of hundreds of mg/L share one matrix.
    glp_scale_prob(lp, GLP_SF_AUTO);
    glp_smcp parm;
    glp_init_smcp(&parm);
    parm.msg_lev = GLP_MSG_OFF;
    parm.meth = run.method;
    parm.presolve = run.presolve;
    parm.it_lim = run.iterationLimit;
    parm.tm_lim = run.timeLimit;
    run.simplexCode = glp_simplex(lp, &parm);
    run.status = glp_get_status(lp);
    for (int j = 0; j < run.columns; ++j)
        run.values[j] = glp_get_col_prim(lp, j + 1);
    glp_delete_prob(lp);
    glp_term_hook(nullptr, nullptr);
    glp_error_hook(nullptr, nullptr);
    return true;
}

// GLPK's bound type and the two values it reads for it.
int boundType(const LinearProgramme::Bounds &b)
{
    const bool lower = b.lower > -LinearProgramme::Infinity;
    const bool upper = b.upper < LinearProgramme::Infinity;
    if (lower && upper)
        return b.lower == b.upper ? GLP_FX : GLP_DB;
    if (lower)
        return GLP_LO;
    return upper ? GLP_UP : GLP_FR;
}

double boundValue(double v)
{
    return (v == LinearProgramme::Infinity || v == -LinearProgramme::Infinity) ? 0.0 : v;
}

// A bound may be infinite (no bound), never NaN; a cost or an entry must be a finite number.
void checkBound(double v)
{
    if (std::isnan(v))
        throw AppError(QStringLiteral("Линейная программа: граница не является числом"));
}

void checkFinite(double v, const char *what)
{
    if (!std::isfinite(v)) {
        throw AppError(QStringLiteral("Линейная программа: %1 не является конечным числом")
                           .arg(QString::fromUtf8(what)));
    }
}

// Each try gets this many simplex iterations per row and column, and at most this long.
constexpr int IterationsPerSize = 200;
constexpr int MinimumIterations = 10000;
constexpr int TimeLimitMs = 5000;

// The ways a solve is tried, in turn, until one ends with an answer: the primal simplex on the
// programme as given, then the dual simplex after GLPK's presolver, which removes the redundant
// rows that make a programme degenerate.
struct Attempt
{
    int method;
    int presolve;
};
constexpr Attempt Attempts[] = {{GLP_PRIMAL, GLP_OFF}, {GLP_DUALP, GLP_ON}, {GLP_PRIMAL, GLP_ON}};

} // namespace

int LinearProgramme::addColumn(double lower, double upper, double cost)
{
    checkBound(lower);
    checkBound(upper);
    checkFinite(cost, "стоимость");
    m_columns.append({{lower, upper}, cost});
    return int(m_columns.size()) - 1;
}

int LinearProgramme::addRow(double lower, double upper)
{
    checkBound(lower);
    checkBound(upper);
    m_rows.append({lower, upper});
    return int(m_rows.size()) - 1;
}

void LinearProgramme::setEntry(int row, int column, double value)
{
    checkFinite(value, "коэффициент");
    if (value != 0)
        m_entries.append({row, column, value});
}

LinearProgramme::Solution LinearProgramme::solve() const
{
    // GLPK refuses a double bound whose lower end is above its upper one; no values fit it.
    for (const Column &c : m_columns) {
        if (c.bounds.lower > c.bounds.upper)
            return {Outcome::Infeasible, {}};
    }
    for (const Bounds &b : m_rows) {
        if (b.lower > b.upper)
            return {Outcome::Infeasible, {}};
    }

    std::vector<int> rowType, columnType, entryRow(1), entryColumn(1);
    std::vector<double> rowLower, rowUpper, columnLower, columnUpper, cost, entryValue(1);
    for (const Bounds &b : m_rows) {
        rowType.push_back(boundType(b));
        rowLower.push_back(boundValue(b.lower));
        rowUpper.push_back(boundValue(b.upper));
    }
    for (const Column &c : m_columns) {
        columnType.push_back(boundType(c.bounds));
        columnLower.push_back(boundValue(c.bounds.lower));
        columnUpper.push_back(boundValue(c.bounds.upper));
        cost.push_back(c.cost);
    }
    for (const Entry &e : m_entries) {
        entryRow.push_back(e.row + 1);
        entryColumn.push_back(e.column + 1);
        entryValue.push_back(e.value);
    }
    std::vector<double> values(m_columns.size());

    GlpkRun run;
    run.rows = rowCount();
    run.columns = columnCount();
    run.rowType = rowType.data();
    run.rowLower = rowLower.data();
    run.rowUpper = rowUpper.data();
    run.columnType = columnType.data();
    run.columnLower = columnLower.data();
    run.columnUpper = columnUpper.data();
    run.cost = cost.data();
    run.entries = int(m_entries.size());
    run.entryRow = entryRow.data();
    run.entryColumn = entryColumn.data();
    run.entryValue = entryValue.data();
    run.values = values.data();

    run.iterationLimit = std::max(MinimumIterations, IterationsPerSize * (run.rows + run.columns));
    run.timeLimit = TimeLimitMs;
    for (const Attempt &a : Attempts) {
        run.method = a.method;
        run.presolve = a.presolve;
        if (!runGlpk(run))
            throw AppError(QStringLiteral("Ошибка GLPK: решатель не справился с задачей"));
        if (run.simplexCode == 0 && run.status == GLP_OPT)
            return {Outcome::Optimal, QList<double>(values.begin(), values.end())};
        // Without presolve GLPK tells infeasibility by the status, with it by the code.
        if ((run.simplexCode == 0 && run.status == GLP_NOFEAS) || run.simplexCode == GLP_ENOPFS)
            return {Outcome::Infeasible, {}};
    }
    return {Outcome::NoAnswer, {}};
}
