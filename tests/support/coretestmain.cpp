#include "testmain.h"

#include <QCoreApplication>

// The widget-free layers are tested without Qt Gui: a widget they came to need would fail the
// link of their tests.
int main(int argc, char **argv)
{
    return runTests<QCoreApplication>(argc, argv);
}
