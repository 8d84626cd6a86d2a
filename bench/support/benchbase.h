#pragma once

#include <QString>
#include <QTemporaryDir>

// A base for benchmarks: the default one (factor 1) or one `factor` times larger, written once
// per process into a temporary directory.
class BenchBase
{
public:
    explicit BenchBase(int factor);
    // The process's one base of this factor, written at the first call; later runs of a
    // benchmark find what earlier ones left in it.
    static BenchBase &shared(int factor);
    QString path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// Runs the benchmarks of a widget-free binary under a QCoreApplication; its main() returns this.
int runCoreBenchmarks(int argc, char **argv);
