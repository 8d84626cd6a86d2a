#include "commandline.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vernolat-calc"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VERNOLAT_VERSION));
    // The parser's own words ("Usage:", "Options:") in the desktop's language, where Qt's
    // translations are installed.
    QTranslator qtWords;
    if (qtWords.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtWords);
    QFile standardInput;
    standardInput.open(stdin, QIODevice::ReadOnly);
    const CommandResult r = runCommandLine(QCoreApplication::arguments(), standardInput);
    std::fwrite(r.out.constData(), 1, size_t(r.out.size()), stdout);
    std::fwrite(r.err.constData(), 1, size_t(r.err.size()), stderr);
    return r.exitCode;
}
