#include "freshbase.h"
#include "testcrops.h"

#include "data/connection.h"
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

void FreshBase::renumberKeys()
{
    Connection c(basePath());
    Connection::Batch batch(c);
    // The new keys lie above the old ones, so no update meets a key still in use.
    c.exec(QStringLiteral("UPDATE T_element SET id_element = %1 - id_element;"
                          "UPDATE t_kof SET id_element = %1 - id_element;"
                          "UPDATE T_sostav_udobra SET id_element = %1 - id_element, id_udobra = %2 - id_udobra;"
                          "UPDATE t_konc SET id_el = %1 - id_el;"
                          "UPDATE t_sostav_vody SET id_element = %1 - id_element;"
                          "UPDATE t_udobra SET id_udobra = %2 - id_udobra;"
                          "UPDATE t_rachet SET id_udobra = %2 - id_udobra;"
                          "UPDATE t_save_rar SET id_udobra = %2 - id_udobra;"
                          "UPDATE t_svoistva_udobra SET id_udobra = %2 - id_udobra;")
               .arg(ElementKeys)
               .arg(FertilizerKeys));
    batch.commit();
}

QString FreshBase::basePath() const
{
    return m_dir.filePath(QStringLiteral("base.mdb"));
}

QString FreshBase::path(const QString &name) const
{
    return m_dir.filePath(name);
}
