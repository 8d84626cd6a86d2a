// The README's pictures, retaken from the running program as a grower would get there: the
// default base, the README's seedling feed typed, saved, solved, applied, charted and planned into
// tanks. tools/pictures.sh runs it under Xvfb; each step checks what its picture is meant to
// show, so a picture of a failed step is never written.

#include "../calculator/calculatorfixture.h"

#include "calculator/tform5.h"
#include "chart/chartwindow.h"
#include "data/fields.h"
#include "ions/ionswindow.h"
#include "reference/tform2.h"
#include "reference/tform3.h"
#include "stock/stockwindow.h"
#include "ui/splitter.h"

#include <QComboBox>
#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QSplitter>
#include <QTemporaryDir>

namespace {

QString picturesDir()
{
    const QString dir = qEnvironmentVariable("VERNOLAT_PICTURES_DIR");
    return dir.isEmpty() ? QStringLiteral(VERNOLAT_DOCS_DIR) : dir;
}

// Lets layouts, timers and repaints in hand run, as a person looking at the screen would wait.
void settle()
{
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QTest::qWait(60);
    }
}

QWidget *topLevel(const QString &name)
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name && w->isVisible())
            return w;
    }
    return nullptr;
}

void shoot(QWidget *w, const QString &file)
{
    ASSERT_NE(w, nullptr) << file.toStdString();
    settle();
    const QString path = QDir(picturesDir()).filePath(file);
    ASSERT_TRUE(w->grab().save(path)) << path.toStdString();
    std::printf("%s %dx%d\n", qPrintable(path), w->width(), w->height());
}

void showAt(QWidget *w, QSize size)
{
    ASSERT_NE(w, nullptr);
    w->resize(size);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    settle();
}

template<typename T>
T *child(QWidget *window, const char *name)
{
    T *w = window ? window->findChild<T *>(QString::fromLatin1(name)) : nullptr;
    EXPECT_NE(w, nullptr) << name;
    return w;
}

} // namespace

class Pictures : public CalculatorTest
{
protected:
    Pictures() : CalculatorTest(FreshBase::Crops::Default) {}

    void SetUp() override
    {
        // The prices the stock picture shows, per kg.
        const std::pair<const char *, const char *> prices[] = {
            {"Кальциевая селитра", "1.2"}, {"Калиевая селитра", "2.1"},
            {"Монофосфат калия", "3.4"}, {"Сульфат магния (7-водный)", "0.9"}};
        Connection c(QStringLiteral("base.mdb"));
        for (const auto &[name, price] : prices) {
            c.exec(QStringLiteral("UPDATE t_svoistva_udobra SET cena = %1 WHERE id_udobra = "
                                  "(SELECT id_udobra FROM t_udobra WHERE name_udobra = '%2')")
                       .arg(QString::fromLatin1(price), QString::fromUtf8(name)));
        }
        CalculatorTest::SetUp();
    }

    void saveAs(const QString &name)
    {
        press("Button5");
        ASSERT_TRUE(Form5->isVisible());
        auto *edit = child<QLineEdit>(Form5, "Edit1");
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        typeText(edit, name);
        QTest::mouseClick(child<QPushButton>(Form5, "Button1"), Qt::LeftButton);
        ASSERT_FALSE(Form5->isVisible());
    }
};

TEST_F(Pictures, TheSeedlingFeedFromCalculatorToTanks)
{
    // The calculator at its default size, the middle bar where every column shows.
    Form4->resize(936, 738);
    settle();
    if (auto *middle = find<Splitter>(QStringLiteral("RzSplitter1")))
        middle->setPosition(475);
    selectCrop(ReadmeRecipe::Crop);
    typeReadmeRecipe();
    saveAs(QStringLiteral("Рассада"));
    press("Button4");
    settle();
    for (const BoxRequest &box : boxes.shown())
        ADD_FAILURE() << box.text.toStdString();
    shoot(Form4, QStringLiteral("calculator.png"));
    shoot(find<QWidget>(QStringLiteral("SavedSolutionsPane")), QStringLiteral("calculator-saved-solutions.png"));

    // "Подбор..." for the stage "Вега" without water, then "Применить".
    press("ButtonSolve");
    QWidget *solver = topLevel(QStringLiteral("SolverDialog"));
    showAt(solver, QSize(1200, 660));
    QTest::mouseClick(child<QPushButton>(solver, "SolveButton"), Qt::LeftButton);
    settle();
    auto *status = child<QLabel>(solver, "StatusLabel");
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("Подобрано"))) << status->text().toStdString();
    shoot(solver, QStringLiteral("solver-dialog.png"));
    QTest::mouseClick(child<QPushButton>(solver, "ApplySolveButton"), Qt::LeftButton);
    settle();
    if (QWidget *still = topLevel(QStringLiteral("SolverDialog")))
        QTest::mouseClick(child<QPushButton>(still, "CloseSolveButton"), Qt::LeftButton);

    press("ButtonChart");
    showAt(ChartForm, QSize(720, 440));
    shoot(ChartForm, QStringLiteral("chart-window.png"));
    ChartForm->close();

    // The tanks of the saved solution, K 100, V 10.
    press("ButtonStock");
    showAt(StockForm, QSize(1240, 720)); // the size it is built at
    auto *source = child<QComboBox>(StockForm, "SourceBox");
    ASSERT_NE(source, nullptr);
    const int saved = source->findText(QStringLiteral("Готовый раствор: Рассада"));
    ASSERT_GE(saved, 0);
    source->setCurrentIndex(saved);
    settle();
    ASSERT_TRUE(StockForm->hasPlan());
    shoot(StockForm, QStringLiteral("stock.png"));

    // The printed sheet as the print dialog's PDF writes it, at 80 dpi.
    QTemporaryDir tmp;
    const QString pdf = tmp.filePath(QStringLiteral("sheet.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    StockForm->printSheet(printer);
    const QString png = QDir(picturesDir()).filePath(QStringLiteral("stock-sheet"));
    EXPECT_EQ(QProcess::execute(QStringLiteral("pdftoppm"),
                                {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("80"),
                                 QStringLiteral("-singlefile"), pdf, png}),
              0);
    StockForm->close();

    // The ion window over the saved seedling feed, in a well water of 3 meq/L alkalinity at
    // pH 7.4, with 60 % nitric acid against it.
    Dataset &analyses = data().own.T_voda;
    analyses.append();
    analyses.setValue(Fields::name_voda, QStringLiteral("Скважина"));
    analyses.setValue(Fields::hco3, 183.1);
    analyses.setValue(Fields::ph_voda, 7.4);
    analyses.post();
    press("ButtonIons");
    showAt(IonsForm, QSize(980, 640));
    for (const auto &[box, item] : {std::pair{"SourceBox", "Готовый раствор: Рассада"},
                                    std::pair{"WaterBox", "Скважина"},
                                    std::pair{"AcidBox", "Азотная кислота 60%"}}) {
        auto *b = child<QComboBox>(IonsForm, box);
        ASSERT_NE(b, nullptr);
        const int at = b->findText(QString::fromUtf8(item));
        ASSERT_GE(at, 0) << item;
        b->setCurrentIndex(at);
        settle();
    }
    ASSERT_TRUE(IonsForm->analysis() && IonsForm->analysis()->acid && IonsForm->analysis()->acid->meq > 0);
    shoot(IonsForm, QStringLiteral("ions.png"));
    IonsForm->close();

    // The reference books at their built sizes, on the default data.
    Form2->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form2));
    shoot(Form2, QStringLiteral("reference-fertilizers.png"));
    Form2->hide();
    Form3->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form3));
    shoot(Form3, QStringLiteral("reference-elements.png"));
    Form3->hide();
}
