#include "wholefile.h"

#include "data/apperror.h"

#include <QSaveFile>

namespace WholeFile {

void write(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw AppError(QStringLiteral("Файл «%1» не записан: %2").arg(path, file.errorString()));
}

} // namespace WholeFile
