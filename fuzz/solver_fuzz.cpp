// The composition solver on problems built from the input: every solve ends (libFuzzer's
// timeout catches one that does not), and an answer keeps its promises.
#include "fuzzinput.h"

#include "calc/solver/compositionsolver.h"
#include "calc/solver/solverexplanation.h"
#include "calc/run/numbers.h"
#include "data/apperror.h"

#include <cmath>

namespace {

// Figures that make problems degenerate, tiny or huge more often than raw bytes would.
constexpr double Figures[] = {0,    0.0001, 0.0004, 0.001, 0.02, 0.5, 1,    10,   13.85,
                              33.3333, 50, 100,   200,   1000,  1e9, 1e15, -1, 0.3000015};

double figure(FuzzInput &in)
{
    const uint8_t b = in.byte();
    if (b & 0x80)
        return in.value<double>();
    return Figures[b % std::size(Figures)];
}

// The elements 1 to 8 by symbol, so that the chemistry (ammonium, acid, EC, balance) reads them.
const char *const Symbols[] = {"N", "P", "K", "Ca", "Mg", "S", "N-NH4", "Na"};

QString symbolOf(int element)
{
    return QString::fromLatin1(Symbols[element - 1]);
}

SolverProblem problemOf(FuzzInput &in)
{
    SolverProblem p;
    const int fertilizers = 1 + in.byte() % 6;
    const int elements = in.byte() % 7;
    for (int f = 0; f < fertilizers; ++f) {
        SolverProblem::Fertilizer fert;
        fert.row = f + 1;
        fert.name = QStringLiteral("У%1").arg(f);
        const int rows = in.byte() % 4;
        for (int r = 0; r < rows; ++r) {
            CompositionRow c;
            c.element = 1 + in.byte() % 8;
            c.symbol = symbolOf(c.element);
            c.percent = figure(in);
            if (in.byte() % 3 == 0) {
                c.yieldedElement = 1 + in.byte() % 8;
                c.yieldedSymbol = symbolOf(c.yieldedElement);
                c.factor = figure(in);
            }
            fert.composition.append(c);
        }
        const uint8_t flags = in.byte();
        fert.fixed = flags & 1;
        fert.current = figure(in);
        if (flags & 2)
            fert.atMost = figure(in);
        if (flags & 4)
            fert.acid = Chemistry::AcidProduct{Chemistry::AcidKind(in.byte() % 3), figure(in), figure(in)};
        fert.ppm = 500;
        p.fertilizers.append(fert);
    }
    for (int e = 0; e < elements; ++e) {
        SolverProblem::Element el;
        el.id = 1 + in.byte() % 8;
        el.name = symbolOf(el.id);
        el.weight = in.byte() % 12; // 0 and 11 lie outside the column's range
        if (in.byte() & 1)
            el.ceiling = figure(in);
        el.vega = figure(in);
        el.cvet = figure(in);
        el.mode = ElementMode(in.byte() % 4);
        el.water = (in.byte() & 1) ? figure(in) : 0;
        p.elements.append(el);
    }
    p.stage = (in.byte() & 1) ? Stage::Flowering : Stage::Vegetative;
    const uint8_t chemistry = in.byte();
    if (chemistry & 1)
        p.ammoniumShare = figure(in);
    if (chemistry & 2) {
        p.byEc = true;
        p.ec = figure(in);
    }
    if (chemistry & 4) {
        p.water.hco3 = figure(in);
        p.water.ph = figure(in);
    }
    return p;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    const SolverProblem p = problemOf(in);
    SolverResult r;
    try {
        r = solveComposition(p);
    } catch (const AppError &e) {
        // A refusal is plain Russian, never GLPK's own English.
        FUZZ_CHECK(!e.text().isEmpty());
        if (e.text().contains(QStringLiteral("glp_")) || e.text().contains(u'\n')) {
            std::fprintf(stderr, "refused with: %s\n", qPrintable(e.text()));
            FUZZ_CHECK(false);
        }
        return 0;
    }
    const QString said = SolverExplanation(u'.').status(p, r);
    FUZZ_CHECK(!said.isEmpty());
    if (r.status != SolverResult::Status::Solved) {
        FUZZ_CHECK(r.amounts.isEmpty());
        return 0;
    }
    FUZZ_CHECK(r.amounts.size() == p.fertilizers.size());
    FUZZ_CHECK(r.elements.size() == p.elements.size());
    for (int f = 0; f < p.fertilizers.size(); ++f) {
        const SolverProblem::Fertilizer &fert = p.fertilizers.at(f);
        const double a = r.amounts.at(f);
        FUZZ_CHECK(std::isfinite(a));
        if (fert.fixed) {
            FUZZ_CHECK(a == fert.current);
            continue;
        }
        FUZZ_CHECK(a >= 0 && a <= MaxAmount);
        FUZZ_CHECK(a == RoundDecimals(a, AmountDecimals));
        if (fert.atMost && *fert.atMost >= 0)
            FUZZ_CHECK(a <= *fert.atMost);
    }
    for (const SolverResult::Element &e : r.elements)
        FUZZ_CHECK(std::isfinite(e.result));
    return 0;
}
