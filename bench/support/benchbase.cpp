#include "benchbase.h"

#include "tools/makebase/defaultbase.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

BenchBase::BenchBase(int factor)
    : m_path(m_dir.filePath(QStringLiteral("base.mdb")))
{
    writeScaledBase(m_path, factor);
}

BenchBase &BenchBase::shared(int factor)
{
    static std::map<int, std::unique_ptr<BenchBase>> bases;
    std::unique_ptr<BenchBase> &slot = bases[factor];
    if (!slot)
        slot = std::make_unique<BenchBase>(factor);
    return *slot;
}

int runCoreBenchmarks(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
