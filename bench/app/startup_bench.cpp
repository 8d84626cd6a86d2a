// Start-up to the main window shown, and one database cycle, on the default base and on one
// 100 times larger.

#include "app/database.h"
#include "app/globals.h"
#include "app/startup.h"
#include "app/tform1.h"
#include "calculator/tform4.h"
#include "reference/tform2.h"
#include "support/benchbase.h"
#include "support/windowbench.h"
#include "ui/messages.h"
#include "ui/splitter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>
#include <memory>

#include <benchmark/benchmark.h>

namespace {


// The working directory of a base of each size: the directory of its base.mdb.
QString workDir(int factor)
{
    static std::map<int, std::unique_ptr<BenchBase>> bases;
    auto &b = bases[factor];
    if (!b)
        b = std::make_unique<BenchBase>(factor);
    return QFileInfo(b->path()).absolutePath();
}

// Windows that do not carry their splitters yet get stand-ins, so that the layout file loads
// as it will in the finished program.
void ensureSplitters()
{
    const auto ensure = [](QWidget *window, int n) {
        const QString name = QStringLiteral("RzSplitter%1").arg(n);
        if (window->findChild<Splitter *>(name))
            return;
        auto *s = new Splitter(name, Qt::Horizontal, 4, 200, window);
        s->addWidget(new QWidget);
        s->addWidget(new QWidget);
    };
    ensure(Form2, 1);
    for (int n = 1; n <= 5; ++n)
        ensure(Form4, n);
}

bool startUp()
{
    if (!CreateWindows())
        return false;
    ensureSplitters();
    ShowMainWindow();
    QApplication::processEvents();
    return Form1->isVisible();
}

void BM_StartUpToMainWindowShown(benchmark::State &state)
{
    QDir::setCurrent(workDir(int(state.range(0))));
    resetBoxesShown();
    for (auto _ : state) {
        if (!startUp()) {
            state.SkipWithError("start-up failed");
            break;
        }
        state.PauseTiming();
        DestroyWindows();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["error_boxes"] = boxesShown();
}

void BM_DatabaseCycle(benchmark::State &state)
{
    QDir::setCurrent(workDir(int(state.range(0))));
    resetBoxesShown();
    if (!startUp()) {
        state.SkipWithError("start-up failed");
        return;
    }
    state.counters["fertilizers"] = Form1->data().form2.T_Udobra.recordCount();
    for (auto _ : state) {
        if (!DatabaseCycle()) {
            state.SkipWithError("cycle failed");
            break;
        }
    }
    state.counters["error_boxes"] = boxesShown();
    DestroyWindows();
}

BENCHMARK(BM_StartUpToMainWindowShown)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DatabaseCycle)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runWindowBenchmarks(argc, argv);
}
