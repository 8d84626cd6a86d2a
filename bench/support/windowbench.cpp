#include "windowbench.h"

#include "ui/messages.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {
int g_boxes = 0;
}

int boxesShown()
{
    return g_boxes;
}

void resetBoxesShown()
{
    g_boxes = 0;
}

int runWindowBenchmarks(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Messages::setResponder([](const BoxRequest &box) {
        ++g_boxes;
        return box.buttons.isEmpty() ? BoxButton::Ok : box.buttons.first();
    });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
