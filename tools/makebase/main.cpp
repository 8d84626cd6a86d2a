#include "defaultbase.h"

#include "data/apperror.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: makebase PATH/base.mdb\n";
        return 2;
    }
    try {
        writeDefaultBase(args.at(1));
    } catch (const AppError &e) {
        err << e.text() << '\n';
        return 1;
    }
    return 0;
}
