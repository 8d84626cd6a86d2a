#pragma once

#include <QList>

#include <limits>

// A linear programme to be minimised: columns (variables) with bounds and costs, rows with
// bounds on the sum of their entries, and the nonzero entries of the matrix. Solved by GLPK's
// simplex, which prints nothing; an internal error of GLPK becomes an AppError instead of ending
// the process. Every solve ends: each try is bounded in iterations and time, and a programme
// no try settles has no answer. A NaN bound, or a cost or entry that is not finite, throws
// AppError where it is given.
class LinearProgramme
{
public:
    static constexpr double Infinity = std::numeric_limits<double>::infinity();

    struct Bounds
    {
        double lower = -Infinity;
        double upper = Infinity;
    };

    // Both return the new index. A lower bound above the upper one makes the programme
    // infeasible (no GLPK call is made for it).
    int addColumn(double lower, double upper, double cost);
    int addRow(double lower, double upper);
    void setEntry(int row, int column, double value);

    int columnCount() const { return int(m_columns.size()); }
    int rowCount() const { return int(m_rows.size()); }

    enum class Outcome {
        Optimal,
        Infeasible,
        NoAnswer, // no try found an optimum or proved there is none
    };
    struct Solution
    {
        Outcome outcome = Outcome::Infeasible;
        QList<double> columns; // the optimal values, when Optimal

        bool feasible() const { return outcome == Outcome::Optimal; }
    };
    // Throws AppError on an internal error of GLPK.
    Solution solve() const;

private:
    struct Column
    {
        Bounds bounds;
        double cost = 0;
    };
    struct Entry
    {
        int row;
        int column;
        double value;
    };

    QList<Column> m_columns;
    QList<Bounds> m_rows;
    QList<Entry> m_entries;
};
