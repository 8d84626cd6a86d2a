// Every user action of the calculator window, in the running program on the default base (and,
// where the list grows with it, on a base 100 times larger). Each timed step ends with the
// events it posted processed, repaints included, as the grower would see it.

#include "app/globals.h"
#include "app/startup.h"
#include "app/tform1.h"
#include "calculator/tform4.h"
#include "data/datamodules.h"
#include "data/fields.h"
#include "support/benchbase.h"
#include "support/windowbench.h"
#include "ui/grid/datagrid.h"
#include "ui/messages.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QSlider>

#include <map>
#include <memory>

#include <benchmark/benchmark.h>

namespace {


QString workDir(int factor)
{
    static std::map<int, std::unique_ptr<BenchBase>> bases;
    auto &b = bases[factor];
    if (!b)
        b = std::make_unique<BenchBase>(factor);
    return QFileInfo(b->path()).absolutePath();
}

DataModules &data()
{
    return Form1->data();
}

void settle()
{
    QApplication::processEvents();
}

// The program started on a fresh copy of the base, the calculator shown.
bool startCalculator(benchmark::State &state)
{
    QDir::setCurrent(workDir(int(state.range(0))));
    resetBoxesShown();
    if (!CreateWindows()) {
        state.SkipWithError("start-up failed");
        return false;
    }
    ShowMainWindow();
    Form4->show();
    settle();
    Form4->Button3Click();
    return true;
}

void finish(benchmark::State &state)
{
    state.counters["error_boxes"] = boxesShown();
    Form4->Button3Click();
    DestroyWindows();
    settle();
}

void selectFertilizer(int row)
{
    data().form2.T_Udobra.moveTo(row);
}

// The worked composition: four fertilizers with their amounts.
void fillComposition()
{
    const int rows[] = {0, 1, 3, 6};
    const double amounts[] = {1.0, 0.5, 0.2, 0.6};
    for (int i = 0; i < 4; ++i) {
        selectFertilizer(rows[i]);
        Form4->Button1Click();
    }
    Dataset &r = data().form4.T_rachet;
    r.first();
    for (int i = 0; i < 4 && !r.eof(); ++i, r.next()) {
        r.edit();
        r.setValue(Fields::kol, amounts[i]);
        r.post();
    }
    settle();
}

void BM_AddFertilizer(benchmark::State &state)
{
    if (!startCalculator(state))
        return;
    fillComposition();
    for (auto _ : state) {
        selectFertilizer(8);
        Form4->Button1Click();
        settle();
        state.PauseTiming();
        Dataset &r = data().form4.T_rachet;
        r.last();
        r.remove();
        settle();
        state.ResumeTiming();
    }
    finish(state);
}

void BM_RemoveFertilizer(benchmark::State &state)
{
    if (!startCalculator(state))
        return;
    fillComposition();
    for (auto _ : state) {
        state.PauseTiming();
        selectFertilizer(8);
        Form4->Button1Click();
        data().form4.T_rachet.last();
        settle();
        state.ResumeTiming();
        Form4->Button2Click();
        settle();
    }
    finish(state);
}

void BM_SearchKeystroke(benchmark::State &state)
{
    if (!startCalculator(state))
        return;
    auto *edit = Form4->findChild<QLineEdit *>(QStringLiteral("Edit1"));
    const QString word = QStringLiteral("селитра");
    int typed = 0;
    for (auto _ : state) {
        // Typing the word letter by letter, then clearing it: one change per step.
        typed = (typed + 1) % (int(word.size()) + 1);
        edit->setText(word.left(typed));
        settle();
    }
    state.counters["fertilizers"] = data().form2.T_Udobra.recordCount();
    edit->clear();
    finish(state);
}

void BM_SortByHeaderClick(benchmark::State &state)
{
    if (!startCalculator(state))
        return;
    auto *list = Form4->findChild<DataGrid *>(QStringLiteral("dxDBGrid1"));
    for (auto _ : state) {
        Q_EMIT list->horizontalHeader()->sectionClicked(0);
        settle();
    }
    state.counters["fertilizers"] = data().form2.T_Udobra.recordCount();
    finish(state);
}

void BM_CompositionHintClick(benchmark::State &state)
{
    if (!startCalculator(state))
        return;
    auto *list = Form4->findChild<DataGrid *>(QStringLiteral("dxDBGrid1"));
    selectFertilizer(0);
    for (auto _ : state) {
        Q_EMIT list->gridClicked();
        settle();
    }
    finish(state);
}

void BM_SliderChange(benchmark::State &state)
{
    if (!startCalculator(state))
        return;
    fillComposition();
    Form4->Button4Click();
    auto *slider = Form4->findChild<QSlider *>(QStringLiteral("RxSlider1"));
    int step = 0;
    for (auto _ : state) {
        slider->setValue(80 + (step++ % 2));
        settle();
    }
    slider->setValue(100);
    finish(state);
}

void BM_Recalculate(benchmark::State &state)
{
    if (!startCalculator(state))
        return;
    fillComposition();
    for (auto _ : state) {
        Form4->Button4Click();
        settle();
    }
    state.counters["target_rows"] = data().form4.ADOTable2.recordCount();
    finish(state);
}

void BM_CropClickTargetFill(benchmark::State &state)
{
    if (!startCalculator(state))
        return;
    auto *crops = Form4->findChild<DataGrid *>(QStringLiteral("dxDBGrid6"));
    for (auto _ : state) {
        Q_EMIT crops->gridClicked();
        settle();
    }
    finish(state);
}

BENCHMARK(BM_AddFertilizer)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveFertilizer)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchKeystroke)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByHeaderClick)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompositionHintClick)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SliderChange)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Recalculate)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CropClickTargetFill)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runWindowBenchmarks(argc, argv);
}
