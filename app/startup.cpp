#include "startup.h"

#include "database.h"
#include "globals.h"
#include "layout.h"
#include "qttranslations.h"
#include "terminationsignals.h"
#include "tform1.h"

#include "calculator/tform4.h"
#include "calculator/tform5.h"
#include "chart/chartwindow.h"
#include "ions/ionswindow.h"
#include "data/fields.h"
#include "options/tform18.h"
#include "recipes/importdialog.h"
#include "recipes/recipeexportdialog.h"
#include "recipes/referencefiles.h"
#include "reference/tf_converter.h"
#include "reference/tform2.h"
#include "reference/tform3.h"
#include "reference/tform6.h"
#include "solver/solverlauncher.h"
#include "stock/stockwindow.h"
#include "ui/filechooser.h"
#include "ui/messages.h"

#include <QApplication>
#include <QLocale>
#include <QPushButton>

bool CreateWindows()
{
    Form1 = new TForm1;
    DataModules &data = Form1->data();
    const bool created = guardedOk([&data] {
        Form2 = new TForm2(data);
        Form3 = new TForm3(data);
        // Part of making the element window: with no database this is where start-up ends.
        data.form3.T_Element.open();
        data.form3.T_KOF.open();
        Form4 = new TForm4(data);
        Form5 = new TForm5(data, *Form4);
        Form6 = new TForm6(data);
        Form18 = new TForm18(data);
        F_Converter = new TF_Converter;
        StockForm = new StockWindow(data, *Form4);
        Solver = new SolverLauncher(data, *Form4, Form4);
        ConnectWindows();
    });
    if (!created)
        DestroyWindows();
    return created;
}

namespace {

// Made visible and brought to the front, as a window shown from another one is.
void showWindow(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

// "Диаграмма" over the calculator's concentration grid, made at its first showing, so that a
// start-up that never shows it never builds a chart.
void showChart()
{
    if (!ChartForm) {
        ChartForm = new ChartWindow(Form1->data().form4, *Form4, Form4->concentrationGrid(), Form4);
        QObject::connect(Form4, &TForm4::concentrationsChanged, ChartForm,
                         [window = ChartForm] { guarded([window] { window->refresh(); }); });
    }
    showWindow(ChartForm);
}

// "Ионный состав", made at its first showing like the chart, following every run and
// percentage; "В состав" runs the calculator.
void showIons()
{
    if (!IonsForm) {
        IonsForm = new IonsWindow(Form1->data(), *Form4, Form4);
        QObject::connect(Form4, &TForm4::concentrationsChanged, IonsForm,
                         [window = IonsForm] { guarded([window] { window->refresh(); }); });
        QObject::connect(IonsForm, &IonsWindow::runRequested, Form4, &TForm4::pressCalculate);
    }
    showWindow(IonsForm);
}

// "Экспорт..." of the calculator: the working composition as it stands, or its current saved
// solution.
void exportRecipe()
{
    DataModules &data = Form1->data();
    RecipeExport::Source working;
    working.name = QStringLiteral("Рабочий состав");
    working.percentage = Form4->percentage();
    if (Form4->litres() > 0)
        working.litres = Form4->litres();
    const Dataset &crops = data.form4.ADOTable3;
    if (crops.isActive() && crops.currentRow() >= 0)
        working.crop = crops.asInteger(Fields::id_kult);
    const Dataset &head = data.form4.T_HEAD_RAR;
    std::optional<int> saved;
    if (head.isActive() && head.currentRow() >= 0)
        saved = head.asInteger(Fields::id_head_rar);
    RecipeExportDialog dialog(data, Form4);
    dialog.setSources(working, saved, saved ? head.asString(Fields::name_rar) : QString());
    dialog.exec();
}

// "Импорт...": the file, its preview, and the windows read again once it is written.
void importRecipe()
{
    const QString path = FileChooser::choose(
        Form4, {FileChooser::Purpose::Open, QStringLiteral("Импорт рецепта"), {}, QStringLiteral("Рецепт (*.json)")});
    if (path.isEmpty())
        return;
    ImportDialog dialog(Form1->data(), Form4);
    dialog.load(path);
    QObject::connect(&dialog, &ImportDialog::imported, &dialog, [] { DatabaseCycle(); });
    dialog.exec();
}

} // namespace

void ConnectWindows()
{
    Form2->setDatabaseCycle(&DatabaseCycle);
    Form3->setDatabaseCycle(&DatabaseCycle);
    Form4->setDatabaseCycle(&DatabaseCycle);

    QObject::connect(Form2, &TForm2::fertilizerCountChanged, Form4, &TForm4::setFertilizerCount);
    QObject::connect(Form2, &TForm2::converterRequested, F_Converter,
                     [] { showWindow(F_Converter); });
    QObject::connect(Form3, &TForm3::coefficientsRequested, Form6, [] { showWindow(Form6); });

    // "E" and "U" press the main window's buttons, which reload the layout file first.
    QObject::connect(Form4, &TForm4::elementsRequested, Form1->RzButton3(), &QPushButton::click);
    QObject::connect(Form4, &TForm4::fertilizersRequested, Form1->RzButton1(), &QPushButton::click);
    QObject::connect(Form4, &TForm4::optionsRequested, Form18, [] { showWindow(Form18); });
    QObject::connect(Form4, &TForm4::stockRequested, StockForm, [] {
        guarded([] { LoadStockTemperature(); });
        showWindow(StockForm);
    });
    QObject::connect(StockForm, &StockWindow::temperatureChanged, StockForm,
                     [] { guarded([] { SaveStockTemperature(); }); });
    // Reading the base, these may fail: the error box ends the press, as in a handler.
    QObject::connect(Form4, &TForm4::solverRequested, Solver, [] { guarded([] { Solver->open(); }); });
    QObject::connect(Solver, &SolverLauncher::applied, Form4, &TForm4::pressCalculate);
    QObject::connect(Form4, &TForm4::chartRequested, Form4, [] { guarded([] { showChart(); }); });
    QObject::connect(Form4, &TForm4::ionsRequested, Form4, [] { guarded([] { showIons(); }); });
    QObject::connect(Form2, &TForm2::csvExportRequested, Form2,
                     [] { guarded([] { ReferenceFiles::exportAll(Form1->data(), Form2); }); });
    QObject::connect(Form2, &TForm2::csvImportRequested, Form2, [] {
        guarded([] { ReferenceFiles::importList(Form1->data(), Form2, [] { DatabaseCycle(); }); });
    });
    QObject::connect(Form4, &TForm4::recipeExportRequested, Form4, [] { guarded([] { exportRecipe(); }); });
    QObject::connect(Form4, &TForm4::recipeImportRequested, Form4, [] { guarded([] { importRecipe(); }); });
    // The chart shows the calculator's grid, the ions its recipe: they go with it.
    QObject::connect(Form4, &TForm4::closed, Form4, [] {
        if (ChartForm)
            ChartForm->hide();
        if (IonsForm)
            IonsForm->hide();
    });
    QObject::connect(Form4, &TForm4::mainWindowCloseRequested, Form1, [] { CloseMainWindow(); });
    Form4->setNameDialog(Form5);

    Form18->setTargets({Form4, [](bool on) { Form1->setTimer1Enabled(on); }});
    Form18->setApplyOptions(&ApplyOptions);
}

void ShowMainWindow()
{
    Form1->show();
}

namespace {

template<typename T>
void destroy(T *&window)
{
    delete window;
    window = nullptr;
}

} // namespace

void DestroyWindows()
{
    destroy(IonsForm);
    destroy(ChartForm);
    destroy(Solver);
    destroy(StockForm);
    destroy(F_Converter);
    destroy(Form18);
    destroy(Form6);
    destroy(Form5);
    destroy(Form4);
    destroy(Form3);
    destroy(Form2);
    destroy(Form1); // last: the others work on its data modules
}

int RunProgram(QApplication &app)
{
    QApplication::setApplicationName(Messages::AppTitle);
    // Ties the windows to the installed menu entry, so the desktop shows its name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(VERNOLAT_APP_ID));
    // The program ends when the main window closes, never because the last window went.
    app.setQuitOnLastWindowClosed(false);
    InstallQtTranslations(app, QLocale::system());
    if (!CreateWindows())
        return StartupFailedExitCode;
    ShowMainWindow();
    // Only now: closed during FormShow (inside an error box's loop), the main window would ask
    // a loop that has not started to end, and the program would run on without a window. A
    // signal that comes before the loop runs waits for it. The close path is the close box's:
    // the base is closed and the program returns 0.
    const TerminationSignals closeOnSignal(&CloseMainWindow);
    const int code = app.exec();
    DestroyWindows();
    return code;
}
