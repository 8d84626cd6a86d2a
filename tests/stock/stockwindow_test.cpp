#include "calculator/calculatorfixture.h"
#include "support/csvreadback.h"
#include "support/errorof.h"
#include "support/xlsreadback.h"

#include "app/layoutfile.h"
#include "calc/run/savedsolutions.h"
#include "calc/stock/stocksheet.h"
#include "stock/stockwindow.h"
#include "ui/color/wincolor.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QSpinBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTableView>

namespace {

using namespace ReadmeRecipe;

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The calculator with the README's recipe typed in, and the stock window it opens.
class StockWindowTest : public CalculatorTest
{
protected:
    // Opens the window through "Баки..." and lets the plan follow what came before.
    void openStock()
    {
        press("ButtonStock");
        ASSERT_TRUE(StockForm->isVisible());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(StockForm));
        settle();
    }

    // Lets the events in hand run: an editor handing over its value, then the plan that follows
    // (a zero-time timer), then what that plan posts.
    static void settle()
    {
        for (int i = 0; i < 4; ++i)
            QCoreApplication::processEvents();
    }

    template<typename T>
    static T *inStock(const char *name)
    {
        T *w = StockForm->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << "no control " << name;
        return w;
    }

    // A tank grid's fertilizer rows as "name | grams | g/L | % | cost", the figures a plan
    // showed before the temperature and the shared ions, or as `columns`; empty when the tank is
    // hidden.
    static QStringList tank(const char *grid,
                            const QList<int> &columns = {StockSheet::Name, StockSheet::Grams,
                                                         StockSheet::GramsPerLitre,
                                                         StockSheet::SolubilityPercent, StockSheet::Cost})
    {
        auto *view = inStock<QTableView>(grid);
        QStringList out;
        if (!view || view->parentWidget()->isHidden())
            return out;
        const QAbstractItemModel *m = view->model();
        for (int r = 0; r < m->rowCount(); ++r) {
            QStringList cells;
            for (int c : columns)
                cells << m->index(r, c).data().toString();
            out << cells.join(QStringLiteral(" | "));
        }
        return out;
    }

    static QStringList warnings()
    {
        QStringList out;
        auto *list = inStock<QListWidget>("WarningList");
        for (int i = 0; list && i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }

    static void retype(const char *edit, const QString &text)
    {
        auto *e = inStock<QLineEdit>(edit);
        ASSERT_NE(e, nullptr);
        e->setFocus();
        e->selectAll();
        typeText(e, text);
    }
};

TEST_F(StockWindowTest, BakiOpensTheTanksOfTheWorkingCompositionAndFollowsIt)
{
    typeReadmeRecipe();
    openStock();
    EXPECT_EQ(StockForm->windowTitle(), QStringLiteral("Маточные растворы"));
    EXPECT_EQ(inStock<QLineEdit>("FactorEdit")->text(), QStringLiteral("100"));
    EXPECT_EQ(inStock<QLineEdit>("TankEdit")->text(), QStringLiteral("10"));
    // By hand, K = 100 and V = 10 L: grams = g/L x 1000, g/L in the tank = g/L x 100. Calcium
    // nitrate and the chelate go to A (0.961 g/L), the phosphate and the sulphate to B (0.79);
    // the rest, heaviest first, to the lighter tank: potassium nitrate to B (1.35), magnesium
    // nitrate to A (1.091), ammonium nitrate to A (1.131). Against the default base's
    // solubility, per litre of the water left beside the tank's salts: calcium nitrate
    // 95 x 1000 / (1000 - 113.1) / 2420 = 4.4 %, potassium nitrate 56 x 1000 / 865 / 319 = 20.3 %.
    EXPECT_EQ(tank("TankAGrid"),
              (QStringList{QStringLiteral("Кальциевая селитра | 950 | 95 | 4.4 | нет цены"),
                           QStringLiteral("Аммиачная селитра | 40 | 4 | 0.2 | нет цены"),
                           QStringLiteral("Магниевая селитра (6-водная) | 130 | 13 | 0.6 | нет цены"),
                           QStringLiteral("Хелат железа Fe-EDTA 13% | 11 | 1.1 | нет данных | нет цены"),
                           QStringLiteral("Итого | 1131 | 113.1 |  | нет цены")}));
    EXPECT_EQ(tank("TankBGrid"),
              (QStringList{QStringLiteral("Калиевая селитра | 560 | 56 | 20.3 | нет цены"),
                           QStringLiteral("Монофосфат калия | 170 | 17 | 8.8 | нет цены"),
                           QStringLiteral("Сульфат магния (7-водный) | 620 | 62 | 6.8 | нет цены"),
                           QStringLiteral("Итого | 1350 | 135 |  | нет цены")}));
    EXPECT_TRUE(tank("TankSeparateGrid").isEmpty()) << "an empty tank is not shown";
    EXPECT_EQ(warnings(), QStringList{QStringLiteral(
                              "Нет цены: Кальциевая селитра, Калиевая селитра, Аммиачная селитра, "
                              "Монофосфат калия, Сульфат магния (7-водный), Магниевая селитра (6-водная), "
                              "Хелат железа Fe-EDTA 13%. В стоимость не вошло.")});

    // The slider's percentage reaches the working composition's amounts: 47.5 x 1000 / 943.45
    // / 2420 = 2.1 %.
    auto *edit2 = find<QLineEdit>(QStringLiteral("Edit2"));
    edit2->setText(QStringLiteral("50"));
    settle();
    EXPECT_EQ(tank("TankAGrid").first(), QStringLiteral("Кальциевая селитра | 475 | 47.5 | 2.1 | нет цены"));
    // So does a fertilizer taken out of the composition.
    f4().T_rachet.last();
    press("Button2"); // the chelate
    settle();
    EXPECT_EQ(tank("TankAGrid").size(), 4);

    // A saved solution is a second source, at the percentage it was saved with.
    SavedSolutions solutions(data());
    solutions.copyCompositionInto(solutions.appendSolution(QStringLiteral("Рассада"),
                                                           QStringLiteral("100")));
    settle();
    auto *source = inStock<QComboBox>("SourceBox");
    ASSERT_EQ(source->count(), 2);
    EXPECT_EQ(source->itemText(0), QStringLiteral("Рабочий состав"));
    EXPECT_EQ(source->itemText(1), QStringLiteral("Готовый раствор: Рассада"));
    source->setCurrentIndex(1);
    // Without the chelate A holds 112 g/L: 95 x 1000 / 888 / 2420 = 4.4 %.
    EXPECT_EQ(tank("TankAGrid").first(), QStringLiteral("Кальциевая селитра | 950 | 95 | 4.4 | нет цены"));
    const StockSheet::Heading heading = StockForm->heading();
    EXPECT_EQ(heading.recipe, QStringLiteral("Рассада"));
    EXPECT_EQ(heading.crop, QStringLiteral("Томат"));
    EXPECT_EQ(heading.percentage, 100);

    // A composition changed in the fertilizer window plans again: potassium nitrate given a
    // calcium row goes to A.
    Dataset &fertilizers = data().form2.T_Udobra;
    for (int r = 0; r < fertilizers.recordCount(); ++r) {
        fertilizers.moveTo(r);
        if (fertilizers.value(QStringLiteral("name_udobra")).toString() == PotassiumNitrate)
            break;
    }
    ASSERT_EQ(fertilizers.value(QStringLiteral("name_udobra")).toString(), PotassiumNitrate);
    Dataset &composition = data().form2.T_Sostav_Udobra;
    composition.append();
    composition.setValue(QStringLiteral("id_element"), 4);
    composition.setValue(QStringLiteral("kol_element"), 1.0);
    composition.post();
    settle();
    EXPECT_TRUE(tank("TankAGrid").filter(PotassiumNitrate).size() == 1)
        << tank("TankAGrid").join(u'\n').toStdString();
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(StockWindowTest, TheTemperatureTheSharedIonsAndTheAcidTankAsTheGrowerSeesThem)
{
    typeReadmeRecipe();
    openStock();
    auto *temperature = inStock<QSpinBox>("TemperatureEdit");
    ASSERT_NE(temperature, nullptr);
    EXPECT_EQ(temperature->value(), 20);
    EXPECT_EQ(temperature->minimum(), 5);
    EXPECT_EQ(temperature->maximum(), 35);
    const QList<int> percentages = {StockSheet::Name, StockSheet::SolubilityPercent, StockSheet::SharedPercent};
    // In B potassium nitrate shares its potassium with the phosphate: per litre of working
    // solution 0.56 × 38.67 % / 39.098 = 5.539 mmol of its own and 0.17 × 28.73 % / 39.098 =
    // 1.249 from the phosphate, its nitrate its own. The product grows by 1.2255, the amount by
    // its square root 1.1070: 20.3 % alone, 22.5 % with the shared ions. Magnesium sulphate
    // shares nothing: the same figure twice.
    EXPECT_EQ(tank("TankBGrid", percentages),
              (QStringList{QStringLiteral("Калиевая селитра | 20.3 | 22.5"),
                           QStringLiteral("Монофосфат калия | 8.8 | 20.5"),
                           QStringLiteral("Сульфат магния (7-водный) | 6.8 | 6.8"),
                           QStringLiteral("Итого |  | ")}));

    // A cold room: at 10 °C potassium nitrate dissolves 214 g per litre of water, calcium
    // nitrate 1980: 56 × 1000 / 865 / 214 = 30.3 %, 95 × 1000 / 886.9 / 1980 = 5.4 %. The
    // layout file keeps the temperature after its 15 lines.
    temperature->setValue(10);
    settle();
    EXPECT_EQ(tank("TankBGrid").first(), QStringLiteral("Калиевая селитра | 560 | 56 | 30.3 | нет цены"));
    EXPECT_EQ(tank("TankAGrid").first(), QStringLiteral("Кальциевая селитра | 950 | 95 | 5.4 | нет цены"));
    EXPECT_EQ(StockForm->plan().temperature, 10);
    EXPECT_TRUE(StockSheet(u'.').html(StockForm->plan(), StockForm->heading())
                    .contains(QStringLiteral("Температура воды: 10 °C.")));
    const QString layout = base.path(QStringLiteral("size.ini"));
    EXPECT_EQ(LayoutFile::ownSetting(layout, QStringLiteral("StockTemperature")), QStringLiteral("10"));
    EXPECT_EQ(LayoutFile::parse(fileBytes(layout)).size(), LayoutFile::LineCount);
    // Closing the calculator writes the 15 lines and keeps the section; the window opened again
    // shows what the file holds.
    EXPECT_TRUE(Form4->close());
    settle();
    EXPECT_EQ(LayoutFile::ownSetting(layout, QStringLiteral("StockTemperature")), QStringLiteral("10"));
    ASSERT_TRUE(LayoutFile::writeOwnSetting(layout, QStringLiteral("StockTemperature"), QStringLiteral("30")));
    StockForm->hide();
    Form4->show();
    openStock();
    EXPECT_EQ(temperature->value(), 30);
    EXPECT_EQ(StockForm->plan().temperature, 30);

    // Nitric acid goes to its own tank, in mL by its density: 0.05 g/L × 100 × 10 L = 50 g,
    // 50 / 1.3667 = 36.58 mL.
    addFertilizer(QStringLiteral("Азотная кислота 60%"));
    typeAmount(QStringLiteral("Азотная кислота 60%"), QStringLiteral("0.05"));
    settle();
    EXPECT_EQ(tank("TankAcidGrid", {StockSheet::Name, StockSheet::Grams, StockSheet::Millilitres,
                                    StockSheet::GramsPerLitre}),
              (QStringList{QStringLiteral("Азотная кислота 60% | 50 | 36.58 | 5"),
                           QStringLiteral("Итого | 50 |  | 5")}));
    EXPECT_EQ(inStock<QGroupBox>("TankAcidGridGroup")->title(), QStringLiteral("Бак «Кислота»"));

    // "Справка" says what the rule is and what it cannot see.
    boxes.expect(BoxButton::Ok);
    QTest::mouseClick(inStock<QPushButton>("ButtonHelp"), Qt::LeftButton);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().icon, BoxIcon::Information);
    for (const char *part : {"Правило произведения ионов", "выше 90 %", "двойных солей", "обмена ионами",
                             "«Кислота»"})
        EXPECT_TRUE(boxes.last().text.contains(QString::fromUtf8(part))) << part;
}

TEST_F(StockWindowTest, AFactorOrVolumeThatIsNoNumberPlansNothingAndSaysSo)
{
    typeReadmeRecipe();
    openStock();
    retype("FactorEdit", QStringLiteral("1o0"));
    EXPECT_FALSE(StockForm->hasPlan());
    EXPECT_TRUE(tank("TankAGrid").isEmpty());
    EXPECT_TRUE(tank("TankBGrid").isEmpty());
    EXPECT_EQ(inStock<QLabel>("CostLabel")->text(),
              QStringLiteral("Баки не рассчитаны: укажите K и объём бака."));
    EXPECT_EQ(boxes.count(), 0) << "not while typing";
    boxes.expect(BoxButton::Ok);
    QTest::keyClick(inStock<QLineEdit>("FactorEdit"), Qt::Key_Return);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("Коэффициент K — целое число от 1 до 1000, а не \"1o0\""));
    EXPECT_EQ(boxes.last().caption, QStringLiteral("Vernolat"));
    EXPECT_EQ(boxes.last().icon, BoxIcon::Error);
    // The export refuses it the same way and writes nothing.
    boxes.expect(BoxButton::Ok);
    QTest::mouseClick(inStock<QPushButton>("ButtonExport"), Qt::LeftButton);
    ASSERT_EQ(boxes.count(), 2);
    EXPECT_EQ(boxes.last().text, boxes.shown().first().text);
    EXPECT_FALSE(QFile::exists(base.path(StockWindow::ExportFile)));

    // K = 200 plans again. The sulphate makes B the heavier tank (1.39 g/L against 0.961), so
    // potassium nitrate goes to A (1.521), magnesium and ammonium nitrate to B, which holds
    // 1.56 g/L x 200 = 312 g/L: the sulphate's 120 g have 688 g of water at most, and
    // 0.6 K x 1000 / (1000 - 1.56 K) <= 110 up to K = 142.
    retype("FactorEdit", QStringLiteral("200"));
    EXPECT_TRUE(StockForm->hasPlan());
    addFertilizer(QStringLiteral("Сульфат калия"));
    typeAmount(QStringLiteral("Сульфат калия"), QStringLiteral("0.6"));
    settle();
    // The tank's shared ions add to that what follows it.
    EXPECT_EQ(warnings().filter(QStringLiteral(
        "Сульфат калия в баке B: 120 г/л — 17.44 г на 100 г воды при 20 °C, растворимость 11. "
        "Наибольший K, при котором оно растворится: 142.")).size(), 1)
        << warnings().join(u'\n').toStdString();

    retype("TankEdit", QStringLiteral("0"));
    EXPECT_FALSE(StockForm->hasPlan());
    boxes.expect(BoxButton::Ok);
    QTest::keyClick(inStock<QLineEdit>("TankEdit"), Qt::Key_Return);
    EXPECT_EQ(boxes.last().text,
              QStringLiteral("Объём бака — число литров не меньше 0.1 и не больше 100000, а не \"0\""));
    // 190 g/L of calcium nitrate in A's 304.2: 190 x 1000 / 695.8 / 2420 = 11.3 %.
    retype("TankEdit", QStringLiteral("2.5"));
    EXPECT_EQ(tank("TankAGrid").first(), QStringLiteral("Кальциевая селитра | 475 | 190 | 11.3 | нет цены"));
}

TEST_F(StockWindowTest, ThePropertiesGridSetsPricesAndTanksOfTheRecipesFertilizers)
{
    typeReadmeRecipe();
    openStock();
    DataGrid *properties = inStock<DataGrid>("PropertiesGrid");
    ASSERT_NE(properties, nullptr);
    EXPECT_EQ(columnTexts(properties, "PropertiesGridName"),
              (QStringList{CalciumNitrate, PotassiumNitrate, AmmoniumNitrate, Mkp, Epsom,
                           MagnesiumNitrate, IronChelate}));
    EXPECT_EQ(columnTexts(properties, "PropertiesGridBak"), QStringList(7, QStringLiteral("авто")));
    EXPECT_EQ(cell(properties, 0, "PropertiesGridRastvorimost"), QStringLiteral("2420"));

    // A price typed for calcium nitrate counts once its editor closes: 0.95 kg x 1.2.
    DecimalSpinBox *price = openSpinEditor(properties, 0, "PropertiesGridCena");
    ASSERT_NE(price, nullptr);
    QTest::keyClicks(price, QStringLiteral("1.2"));
    QTest::keyClick(price, Qt::Key_Return);
    settle();
    EXPECT_EQ(tank("TankAGrid").first(), QStringLiteral("Кальциевая селитра | 950 | 95 | 4.4 | 1.14"));
    EXPECT_EQ(tank("TankAGrid").last(), QStringLiteral("Итого | 1131 | 113.1 |  | не менее 1.14"));
    EXPECT_EQ(stored("SELECT cena FROM t_svoistva_udobra WHERE id_udobra = 1").toDouble(), 1.2);

    // Potassium nitrate put in a tank of its own: 56 x 1000 / 944 / 319 = 18.6 %.
    const QModelIndex bak = index(properties, 1, "PropertiesGridBak");
    properties->setCurrentIndex(bak);
    properties->edit(bak);
    auto *choice = properties->viewport()->findChild<QComboBox *>();
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(choice->count(), 4);
    choice->setCurrentIndex(3);
    Q_EMIT choice->activated(3);
    settle();
    EXPECT_EQ(cell(properties, 1, "PropertiesGridBak"), QStringLiteral("отдельно"));
    EXPECT_EQ(tank("TankSeparateGrid"),
              (QStringList{QStringLiteral("Калиевая селитра | 560 | 56 | 18.6 | нет цены"),
                           QStringLiteral("Итого | 560 |  |  | нет цены")}));
    EXPECT_EQ(stored("SELECT bak FROM t_svoistva_udobra WHERE id_udobra = 2").toInt(), 3);

    // The rows are the recipe's, one each: Insert makes none, Ctrl+Delete takes none away.
    properties->setCurrentIndex(index(properties, 0, "PropertiesGridRastvorimost"));
    QTest::keyClick(properties, Qt::Key_Insert);
    QTest::keyClick(properties, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(properties->model()->rowCount(), 7);
    EXPECT_EQ(stored("SELECT rastvorimost FROM t_svoistva_udobra WHERE id_udobra = 1").toDouble(), 2420);
    EXPECT_EQ(boxes.count(), 0);

    // The database cycle that closing the calculator runs reopens everything: the plan is
    // made again from what the file holds. With potassium nitrate apart, magnesium and ammonium
    // nitrate go to B, and A holds 96.1 g/L: 95 x 1000 / 903.9 / 2420 = 4.3 %.
    EXPECT_TRUE(Form4->close());
    settle();
    EXPECT_TRUE(StockForm->isVisible());
    EXPECT_EQ(tank("TankSeparateGrid").size(), 2);
    EXPECT_EQ(tank("TankAGrid").first(), QStringLiteral("Кальциевая селитра | 950 | 95 | 4.3 | 1.14"));
    EXPECT_EQ(columnTexts(properties, "PropertiesGridName").size(), 7);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(StockWindowTest, TheWorksheetReadsBackAndTheSheetPrintsItsTitle)
{
    typeReadmeRecipe();
    openStock();
    // One price, so that the file holds a cost and the texts that stand for missing ones.
    Dataset &p = data().own.T_SVOISTVA;
    p.first();
    p.edit();
    p.setValue(QStringLiteral("cena"), 1.2);
    p.post();
    settle();
    const Stock::Plan plan = StockForm->plan();

    boxes.expect(BoxButton::Ok);
    QTest::mouseClick(inStock<QPushButton>("ButtonExport"), Qt::LeftButton);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("Выгружено в файл:\n")
                                     + QFileInfo(StockWindow::ExportFile).absoluteFilePath());
    EXPECT_EQ(boxes.last().caption, QStringLiteral("Инфо"));

    // What a reader must find: the grids' look and widths, every fertilizer with its tank, the
    // totals, the 1000 L line; numbers unrounded, a missing figure as the grid's text.
    auto *grid = inStock<QTableView>("TankAGrid");
    const QColor background = WinColor::toQColor(WinColor::clInfoBk);
    const QJsonObject look = XlsReadBack::look(*grid, background);
    QJsonArray columns;
    const QStringList captions = StockSheet::worksheetCaptions();
    for (int c = 0; c < captions.size(); ++c) {
        const bool text = c <= 1;
        columns.append(QJsonObject{
            {"caption", captions.at(c)},
            {"kind", text ? "text" : "number"},
            {"width", (c == 0 ? 50 : grid->columnWidth(c - 1)) * 36},
            {"format", XlsReadBack::cellFormat(*grid, grid->font(), background, text)}});
    }
    QJsonArray rows;
    const auto percent = [](const std::optional<double> &p) {
        return p ? QJsonValue(*p) : QJsonValue(QStringLiteral("нет данных"));
    };
    rows.append(QJsonArray{QString(), QStringLiteral("Температура воды: 20 °C"), QString(), QString(),
                           QString(), QString(), QString(), QString()});
    for (const Stock::TankContents &t : plan.tanks) {
        for (const Stock::Line &line : t.lines) {
            rows.append(QJsonArray{Stock::tankName(t.tank), line.name, line.grams, QString(),
                                   line.gramsPerLitre, percent(line.solubilityPercent),
                                   percent(line.sharedPercent),
                                   line.cost ? QJsonValue(*line.cost) : QJsonValue(QStringLiteral("нет цены"))});
        }
        rows.append(QJsonArray{Stock::tankName(t.tank), QStringLiteral("Итого"), t.grams, QString(),
                               t.gramsPerLitre, QString(), QString(),
                               t.unpriced.isEmpty() ? QJsonValue(t.cost)
                                                    : QJsonValue(StockSheet(systemDecimalSeparator()).totalText(t, StockSheet::Cost))});
    }
    rows.append(QJsonArray{QString(), QStringLiteral("На 1000 л рабочего раствора"), QString(), QString(),
                           QString(), QString(), QString(), QStringLiteral("не менее 1.14")});
    ASSERT_EQ(rows.size(), 11);
    EXPECT_EQ(rows[1].toArray()[7].toDouble(), 1.14) << "the one price, 0.95 kg";
    EXPECT_EQ(rows[5].toArray()[7].toString(), QStringLiteral("не менее 1.14"));
    const QString problems = XlsReadBack::run(
        {QJsonObject{{"path", base.path(StockWindow::ExportFile)}, {"palette", look["palette"]},
                     {"header", look["header"]}, {"columns", columns}, {"rows", rows}}},
        base.dir());
    EXPECT_TRUE(problems.isEmpty()) << problems.toStdString();
    // The same rows as CSV beside it.
    const QString csvProblems = csvReadBack(base.path(QStringLiteral("Маточные растворы.csv")), captions, rows);
    EXPECT_TRUE(csvProblems.isEmpty()) << csvProblems.toStdString();

    // The printed sheet, to PDF: the title names the recipe, the crop, the percentage, K, V.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(base.path(QStringLiteral("sheet.pdf")));
    StockForm->printSheet(printer);
    ASSERT_TRUE(QFile::exists(printer.outputFileName()));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QProcess text;
    text.start(pdftotext, {QStringLiteral("-layout"), printer.outputFileName(), QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(60000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    for (const char *expected :
         {"Маточные растворы: Рабочий состав",
          "Культура: Томат. Концентрация: 100%. K = 100. Бак: 10 л. Температура воды: 20 °C.",
          "Бак A", "Бак B", "Кальциевая селитра", "Итого", "Нет цены: Калиевая селитра"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(expected))) << expected << "\n" << page.toStdString();

    // "Печать" asks Qt's print dialog; cancelled, nothing is printed.
    QString dialogClass;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&closer, &dialogClass] {
        if (auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            closer.stop();
            dialogClass = QString::fromLatin1(modal->metaObject()->className());
            modal->reject();
        }
    });
    closer.start();
    QTest::mouseClick(inStock<QPushButton>("ButtonPrint"), Qt::LeftButton);
    EXPECT_EQ(dialogClass, QStringLiteral("QPrintDialog"));
    EXPECT_EQ(boxes.count(), 1);
}

TEST_F(StockWindowTest, EveryControlNamedReachableAndNoCaptionCut)
{
    typeReadmeRecipe();
    openStock();
    // The third tank shown too: potassium nitrate in a tank of its own.
    Dataset &p = data().own.T_SVOISTVA;
    p.moveTo(1);
    p.edit();
    p.setValue(QStringLiteral("bak"), 3);
    p.post();
    settle();
    EXPECT_EQ(StockForm->objectName(), QStringLiteral("StockWindow"));
    // And the acid tank: nitric acid in the recipe.
    addFertilizer(QStringLiteral("Азотная кислота 60%"));
    typeAmount(QStringLiteral("Азотная кислота 60%"), QStringLiteral("0.05"));
    settle();
    EXPECT_EQ(StockForm->size(), QSize(1240, 720));
    for (const char *name : {"SourceBox", "WaterBox", "FactorEdit", "TankEdit", "TemperatureEdit",
                             "TankAGrid", "TankBGrid", "TankAcidGrid", "TankSeparateGrid",
                             "WarningList", "PropertiesGrid"}) {
        auto *w = inStock<QWidget>(name);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->isVisible()) << name;
        EXPECT_FALSE(w->accessibleName().isEmpty()) << name;
        EXPECT_NE(w->focusPolicy(), Qt::NoFocus) << name;
    }
    EXPECT_EQ(inStock<QPushButton>("ButtonExport")->text(), QStringLiteral("Выгрузить"));
    EXPECT_EQ(inStock<QPushButton>("ButtonPrint")->text(), QStringLiteral("Печать"));
    EXPECT_EQ(inStock<QPushButton>("ButtonHelp")->text(), QStringLiteral("Справка"));
    EXPECT_EQ(find<QPushButton>(QStringLiteral("ButtonStock"))->text(), QStringLiteral("Баки..."));

    for (const QLabel *l : StockForm->findChildren<QLabel *>()) {
        if (l->isVisible() && !l->wordWrap()) {
            EXPECT_GE(l->width(), l->sizeHint().width()) << l->text().toStdString();
        }
    }
    for (const QPushButton *b : StockForm->findChildren<QPushButton *>())
        EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text()) + 4) << b->text().toStdString();
    for (const QGroupBox *g : StockForm->findChildren<QGroupBox *>()) {
        if (g->isVisible()) {
            EXPECT_GE(g->width(), g->fontMetrics().horizontalAdvance(g->title()) + 8)
                << g->title().toStdString();
        }
    }
    for (const QTableView *g : StockForm->findChildren<QTableView *>()) {
        EXPECT_FALSE(g->horizontalScrollBar()->isVisible()) << g->objectName().toStdString();
        const QFontMetrics fm(g->horizontalHeader()->font());
        for (int c = 0; c < g->model()->columnCount(); ++c) {
            const QString caption = g->model()->headerData(c, Qt::Horizontal).toString();
            for (const QString &word : caption.split(u' '))
                EXPECT_LE(fm.horizontalAdvance(word) + 8, g->columnWidth(c))
                    << g->objectName().toStdString() << ": " << caption.toStdString();
        }
        // Fertilizer names and figures are not cut either.
        for (int r = 0; r < g->model()->rowCount(); ++r) {
            for (int c = 0; c < g->model()->columnCount(); ++c) {
                const QString text = g->model()->index(r, c).data().toString();
                EXPECT_LE(QFontMetrics(g->font()).horizontalAdvance(text) + 6, g->columnWidth(c))
                    << g->objectName().toStdString() << ": " << text.toStdString();
            }
        }
    }
}

// The EC of the working solution the tanks make follows the recipe and the water it is mixed
// with: a water's calcium and bicarbonate conduct too.
TEST_F(StockWindowTest, TheWorkingSolutionsEcFollowsTheRecipeAndTheWater)
{
    typeReadmeRecipe();
    openStock();
    const auto ec = [] {
        const QString text = inStock<QLabel>("EcLabel")->text();
        const QString figure = text.section(QStringLiteral("EC ≈ "), 1).section(u' ', 0, 0);
        double v = 0;
        EXPECT_TRUE(tryParseDecimal(figure, v)) << text.toStdString();
        return v;
    };
    EXPECT_TRUE(inStock<QLabel>("EcLabel")->text().startsWith(QStringLiteral("Рабочий раствор: EC ≈ ")));
    EXPECT_TRUE(inStock<QLabel>("EcLabel")->text().endsWith(QStringLiteral(" мСм/см при 25 °C, без учёта воды.")));
    const double pure = ec();
    EXPECT_GT(pure, 0.5);

    // Half the slider: about half the salts, less than the full EC.
    find<QLineEdit>(QStringLiteral("Edit2"))->setText(QStringLiteral("50"));
    settle();
    const double half = ec();
    EXPECT_LT(half, pure);
    EXPECT_GT(half, pure / 3);

    Dataset &analyses = data().own.T_voda;
    analyses.append();
    analyses.setValue(QStringLiteral("name_voda"), QStringLiteral("Скважина"));
    analyses.setValue(QStringLiteral("hco3"), 244.0);
    analyses.setValue(QStringLiteral("ph_voda"), 7.5);
    analyses.post();
    settle();
    auto *water = inStock<QComboBox>("WaterBox");
    ASSERT_EQ(water->count(), 2);
    water->setCurrentIndex(1);
    settle();
    EXPECT_GT(ec(), half);
    EXPECT_TRUE(inStock<QLabel>("EcLabel")->text().endsWith(QStringLiteral(", с водой «Скважина».")));
}

// A sheet that cannot be printed says so as "Выгрузить" does, and the printed date is the
// same in every locale.
TEST_F(StockWindowTest, APrintThatCannotBeWrittenIsReportedAndTheDateIsDayMonthYear)
{
    typeReadmeRecipe();
    openStock();
    settle();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = base.path(QStringLiteral("missing folder/sheet.pdf"));
    printer.setOutputFileName(path);
    const std::string error = errorOf([&] { StockForm->printSheet(printer); });
    EXPECT_EQ(error.rfind("Cannot create file \"" + path.toStdString() + "\". ", 0), 0u) << error;
    EXPECT_FALSE(QFile::exists(path));

    StockSheet::Heading heading = StockForm->heading();
    heading.date = QDate(2026, 12, 9);
    const QString html = StockSheet(systemDecimalSeparator()).html(StockForm->plan(), heading);
    EXPECT_TRUE(html.contains(QStringLiteral("09.12.2026"))) << html.toStdString();
    EXPECT_FALSE(html.contains(QStringLiteral("Dec")));
}

} // namespace
