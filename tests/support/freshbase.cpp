#include "freshbase.h"
#include "testcrops.h"

#include "tools/makebase/defaultbase.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

// The default base is built once per test binary and copied for each test.
QString templateBase()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.filePath(QStringLiteral("template.mdb"));
        writeDefaultBase(p);
        return p;
    }();
    return path;
}

} // namespace

FreshBase::FreshBase(Crops crops)
{
    QStandardPaths::setTestModeEnabled(true);
    QFile::copy(templateBase(), basePath());
    QFile::setPermissions(basePath(), QFile::ReadOwner | QFile::WriteOwner);
    if (crops == Crops::Test)
        typeTestCrops(basePath());
    m_previous = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
}

FreshBase::~FreshBase()
{
    QDir::setCurrent(m_previous);
}

QString FreshBase::basePath() const
{
    return m_dir.filePath(QStringLiteral("base.mdb"));
}

QString FreshBase::path(const QString &name) const
{
    return m_dir.filePath(name);
}
