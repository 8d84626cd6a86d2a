#include "benchbase.h"

#include "tools/makebase/defaultbase.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

BenchBase::BenchBase(int factor)
    : m_path(m_dir.filePath(QStringLiteral("base.mdb")))
{
    writeScaledBase(m_path, factor);
}

int runCoreBenchmarks(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
