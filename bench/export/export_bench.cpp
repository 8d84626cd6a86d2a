#include "support/benchbase.h"

#include "app/globals.h"
#include "app/startup.h"
#include "app/tform1.h"
#include "calculator/tform4.h"
#include "data/datamodules.h"
#include "data/fields.h"
#include "export/gridexport.h"
#include "ui/grid/datagrid.h"
#include "ui/messages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// The program as start-up builds it over a copy of the default base, with one saved solution of
// five fertilizers selected and calculated: what the grower has on screen before
// "Выгрузить в EXCEL". The files go to the same temporary working directory.
class Calculator
{
public:
    Calculator()
        : m_base(1)
    {
        m_previous = QDir::currentPath();
        QFile::copy(m_base.path(), m_dir.filePath(QStringLiteral("base.mdb")));
        QDir::setCurrent(m_dir.path());
        if (!CreateWindows())
            std::abort();
        ShowMainWindow();
        Form4Data &f4 = Form1->data().form4;
        f4.T_HEAD_RAR.append();
        f4.T_HEAD_RAR.setValue(Fields::name_rar, QStringLiteral("Для замера"));
        f4.T_HEAD_RAR.setValue(Fields::konc, 80);
        f4.T_HEAD_RAR.setValue(Fields::kol_l, 10.0);
        f4.T_HEAD_RAR.post();
        const QVariant id = f4.T_HEAD_RAR.value(Fields::id_head_rar);
        Dataset &u = Form1->data().form2.T_Udobra;
        u.first();
        for (int i = 0; i < 5 && !u.eof(); ++i, u.next()) {
            f4.T_save_rar.append();
            f4.T_save_rar.setValue(Fields::id_head_rar, id);
            f4.T_save_rar.setValue(Fields::id_udobra, u.value(Fields::id_udobra));
            f4.T_save_rar.setValue(Fields::kol, 0.25 * (i + 1));
            f4.T_save_rar.post();
        }
        Form4->show();
        Form4->dxDBGrid5Click();
        QCoreApplication::processEvents();
    }

    ~Calculator()
    {
        DestroyWindows();
        QDir::setCurrent(m_previous);
    }

    static DataGrid *grid(const char *name)
    {
        return Form4->findChild<DataGrid *>(QString::fromLatin1(name));
    }

private:
    BenchBase m_base;
    QTemporaryDir m_dir;
    QString m_previous;
};

// Made on first use and destroyed by main while the application still exists.
std::unique_ptr<Calculator> theCalculator;

Calculator &calculator()
{
    if (!theCalculator)
        theCalculator = std::make_unique<Calculator>();
    return *theCalculator;
}

// "Выгрузить в EXCEL" as the menu runs it; main's responder answers the closing box at once.
void BM_ExportBothFiles(benchmark::State &state)
{
    calculator();
    for (auto _ : state)
        Form4->EXCEL1Click();
}

// Each grid on its own, through the export function.
void BM_ExportComposition(benchmark::State &state)
{
    DataGrid *g = calculator().grid("dxDBGrid4");
    if (!g) {
        state.SkipWithError("the calculator has no dxDBGrid4");
        return;
    }
    for (auto _ : state)
        GridExport::write(*g, QStringLiteral("Состав р-ра.xls"));
}

void BM_ExportConcentration(benchmark::State &state)
{
    DataGrid *g = calculator().grid("dxDBGrid3");
    if (!g) {
        state.SkipWithError("the calculator has no dxDBGrid3");
        return;
    }
    for (auto _ : state)
        GridExport::write(*g, QStringLiteral("Концентрация р-ра.xls"));
}

BENCHMARK(BM_ExportBothFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportComposition)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportConcentration)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // No box may wait for a click here: "Выгруженно." is answered at once, any other box is
    // told on stderr.
    Messages::setResponder([](const BoxRequest &box) {
        if (box.text != QStringLiteral("Выгруженно."))
            std::fprintf(stderr, "box: %s\n", qPrintable(box.text));
        return BoxButton::Ok;
    });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theCalculator.reset();
    return 0;
}
