#include "benchbase.h"

#include "tools/makebase/defaultbase.h"

BenchBase::BenchBase(int factor)
    : m_path(m_dir.filePath(QStringLiteral("base.mdb")))
{
    writeScaledBase(m_path, factor);
}
