#include "savedsolutionsfixture.h"

#include "app/globals.h"
#include "calculator/dataspinedit.h"
#include "calculator/savedsolutionspane.h"
#include "calculator/tform4.h"
#include "calculator/tform5.h"
#include "data/datamodules.h"
#include "ui/grid/bindingmodel.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/datagridcolumn.h"
#include "ui/grid/decimalspinbox.h"
#include "ui/splitter.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QSplitterHandle>
#include <QTest>

namespace {

const QString Calcium = QStringLiteral("Кальциевая селитра");
const QString Potassium = QStringLiteral("Калиевая селитра");
const QString Phosphate = QStringLiteral("Монофосфат калия");

QVariant number(double v)
{
    return QVariant(v);
}

class SavedSolutions : public SavedSolutionsFixture
{
protected:
    Dataset &head() { return data().form4.T_HEAD_RAR; }
    Dataset &rows() { return data().form4.T_save_rar; }

    void expectError(const QString &text)
    {
        ASSERT_FALSE(boxes.shown().isEmpty()) << "no error box for " << text.toStdString();
        const BoxRequest &box = boxes.last();
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, QStringLiteral("Vernolat"));
        EXPECT_EQ(box.icon, BoxIcon::Error);
        EXPECT_EQ(box.buttons, QList<BoxButton>{BoxButton::Ok});
    }

    // Types into the cell's spin editor and leaves it with Enter.
    void typeAmount(const QString &gridName, int row, const QString &columnName, const QString &text)
    {
        DataGrid *g = grid(gridName);
        const QModelIndex i = g->model()->index(row, g->sectionOf(g->column(columnName)));
        g->setCurrentIndex(i);
        g->edit(i);
        auto *spin = qobject_cast<DecimalSpinBox *>(g->indexWidget(i));
        ASSERT_NE(spin, nullptr) << gridName.toStdString() << " row " << row;
        spin->selectAll();
        QTest::keyClicks(spin, text);
        QTest::keyClick(spin, Qt::Key_Return);
    }

    QLineEdit *edit2() { return form4().findChild<QLineEdit *>(QStringLiteral("Edit2")); }
    QSlider *slider() { return form4().findChild<QSlider *>(QStringLiteral("RxSlider1")); }
};

// ---------------------------------------------------------------- the pane as built

TEST_F(SavedSolutions, paneShowsItsHintsMenusAndBuiltBarPosition)
{
    // The layout file has moved the bar by now; as built it stands at 240.
    {
        SavedSolutionsPane built(data());
        built.resize(470, 290);
        built.show();
        EXPECT_EQ(built.findChild<Splitter *>(QStringLiteral("RzSplitter3"))->position(), 240);
    }
    auto *splitter = form4().findChild<Splitter *>(QStringLiteral("RzSplitter3"));
    ASSERT_NE(splitter, nullptr);
    EXPECT_EQ(splitter->handle(1)->toolTip(), QStringLiteral("Изменить размер"));

    // Sixteen lines joined by lone carriage returns, the trailing blanks kept; the labels have no
    // hint of their own, so the group's reaches them.
    auto *group7 = form4().findChild<QGroupBox *>(QStringLiteral("GroupBox7"));
    ASSERT_NE(group7, nullptr);
    const QStringList hint = group7->toolTip().split(u'\r');
    ASSERT_EQ(hint.size(), 16);
    EXPECT_FALSE(group7->toolTip().contains(u'\n'));
    EXPECT_EQ(hint.at(0), QStringLiteral("Для того, чтобы ничего не выпадало в осадок, всегда "));
    EXPECT_EQ(hint.at(3), QString(26, u'-'));
    EXPECT_EQ(hint.at(9), QString(26, u'-'));
    EXPECT_EQ(hint.at(14), QStringLiteral("5. Микро "));
    EXPECT_EQ(hint.at(15), QStringLiteral("6. Сульфат магния"));
    for (QLabel *l : group7->findChildren<QLabel *>())
        EXPECT_TRUE(l->toolTip().isEmpty()) << l->text().toStdString();
    EXPECT_EQ(litresEditor()->parent(), group7);
    EXPECT_EQ(litresEditor()->toolTip(), QStringLiteral("Укажите кол-во литров"));

    auto items = [this](const char *menu) {
        QStringList out;
        for (QAction *a : form4().findChild<QMenu *>(QString::fromLatin1(menu))->actions())
            out << a->objectName() + u'=' + a->text() + (a->isEnabled() ? "" : "(disabled)");
        return out;
    };
    EXPECT_EQ(items("PopupMenu1"),
              (QStringList{QStringLiteral("N1=изменить название"), QStringLiteral("N5=удалить р-р"),
                           QStringLiteral("N6=скопировать р-р")}));
    EXPECT_EQ(items("PopupMenu2"),
              (QStringList{QStringLiteral("N2=Добавить удобрение"),
                           QStringLiteral("N3=Удалить удобрение"), QStringLiteral("N4=Рассчитать"),
                           QStringLiteral("EXCEL1=Выгрузить в EXCEL")}));
}

TEST_F(SavedSolutions, nameDialogIsAToolWindowThatDoesNotBlock)
{
    TForm5 &dialog = form5();
    EXPECT_EQ(dialog.windowType(), Qt::Tool);
    EXPECT_FALSE(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    QTest::mouseClick(form4().findChild<QPushButton *>(QStringLiteral("Button5")), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The calculator goes on working while the dialog is open.
    addToComposition(Calcium, 1.0);
    action(QStringLiteral("N4"))->trigger();
    EXPECT_TRUE(boxes.shown().isEmpty());
    QTest::mouseClick(dialogButton(QStringLiteral("Button2")), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}

// ---------------------------------------------------------------- saving

TEST_F(SavedSolutions, savingAt80PercentStoresTheCompositionInItsOrder)
{
    addToComposition(Potassium, 0.5);
    addToComposition(Calcium, 1.25);
    addToComposition(Phosphate, 0.2);
    setPercentageText(QStringLiteral("80"));
    // An amount still open in the working-composition grid is saved with the rest.
    Dataset &work = data().form4.T_rachet;
    work.last();
    work.edit();
    work.setValue(QStringLiteral("kol"), 0.3);

    saveAs(QStringLiteral("Томат 80"));

    EXPECT_FALSE(form5().isVisible());
    EXPECT_TRUE(boxes.shown().isEmpty());
    const auto solutions = storedSolutions();
    ASSERT_EQ(solutions.size(), 1);
    EXPECT_EQ(solutions[0].name.toString(), QStringLiteral("Томат 80"));
    EXPECT_EQ(solutions[0].percentage.toInt(), 80);
    EXPECT_TRUE(solutions[0].litres.isNull());
    EXPECT_EQ(solutions[0].crop.toInt(), currentCropId());
    const auto saved = storedRows(solutions[0].id);
    ASSERT_EQ(saved.size(), 3);
    EXPECT_EQ(saved[0].fertilizer.toInt(), fertilizerId(Potassium));
    EXPECT_EQ(saved[0].grams, number(0.5));
    EXPECT_EQ(saved[1].fertilizer.toInt(), fertilizerId(Calcium));
    EXPECT_EQ(saved[1].grams, number(1.25));
    EXPECT_EQ(saved[2].fertilizer.toInt(), fertilizerId(Phosphate));
    EXPECT_EQ(saved[2].grams, number(0.3));

    // The new solution is current in the list, with its rows in the composition grid.
    EXPECT_EQ(head().asString(QStringLiteral("name_rar")), QStringLiteral("Томат 80"));
    EXPECT_EQ(grid(QStringLiteral("dxDBGrid5"))->bindingModel()->currentRow(), 0);
    EXPECT_EQ(grid(QStringLiteral("dxDBGrid4"))->model()->rowCount(), 3);
    EXPECT_EQ(grid(QStringLiteral("dxDBGrid4"))->model()->index(1, 0).data().toString(), Calcium);
    // Saving does not recalculate.
    for (double v : computed())
        EXPECT_EQ(v, 0);
}

TEST_F(SavedSolutions, anEmptyNameCreatesNothingWhileBlanksOrAnEmptyCompositionStillSave)
{
    saveAs(QString());
    EXPECT_FALSE(form5().isVisible());
    EXPECT_TRUE(storedSolutions().isEmpty());

    saveAs(QStringLiteral("  "));
    const auto solutions = storedSolutions();
    ASSERT_EQ(solutions.size(), 1);
    EXPECT_EQ(solutions[0].name.toString(), QStringLiteral("  "));
    EXPECT_TRUE(storedRows(solutions[0].id).isEmpty()) << "the working composition was empty";
    EXPECT_EQ(rows().recordCount(), 0);
}

TEST_F(SavedSolutions, aPercentageThatIsNotAnIntegerStopsTheSaveWithTheDialogOpen)
{
    addToComposition(Calcium, 1.0);
    for (const QString &text : {QStringLiteral("1a"), QString()}) {
        // The percentage edit itself refuses the text as it is typed; the slider stays.
        if (!text.isEmpty())
            boxes.expect(BoxButton::Ok);
        setPercentageText(text);
        boxes.clear();
        boxes.expect(BoxButton::Ok);
        saveAs(QStringLiteral("Ошибка"));
        expectError(QStringLiteral("'%1' is not a valid integer value.").arg(text));
        EXPECT_EQ(boxes.count(), 1);
        EXPECT_TRUE(form5().isVisible());
        EXPECT_TRUE(storedSolutions().isEmpty());
        Connection c(base.basePath());
        Connection::Statement st(c, QStringLiteral("SELECT count(*) FROM t_save_rar"));
        ASSERT_TRUE(st.step());
        EXPECT_EQ(st.column(0).toInt(), 0) << "nothing is copied";
        // The appended row waits, named, without its percentage.
        EXPECT_EQ(head().state(), DatasetState::Insert);
        EXPECT_EQ(head().asString(QStringLiteral("name_rar")), QStringLiteral("Ошибка"));
        EXPECT_TRUE(head().isNull(QStringLiteral("konc")));
        head().cancel();
    }
}

// Typed past either end of the slider, the percentage edit shows the bound the slider took,
// also when the slider already stood there, and a solution saved then records that bound.
TEST_F(SavedSolutions, aPercentagePastTheSliderIsSavedAsTheBoundTheEditShows)
{
    addToComposition(Calcium, 1.0);
    slider()->setValue(250);
    ASSERT_EQ(edit2()->text(), QStringLiteral("250"));
    edit2()->setFocus();
    QTest::keyClick(edit2(), Qt::Key_End);
    QTest::keyClicks(edit2(), QStringLiteral("0")); // 2500
    EXPECT_EQ(slider()->value(), 250);
    EXPECT_EQ(edit2()->text(), QStringLiteral("250"));
    EXPECT_EQ(form4().findChild<QGroupBox *>(QStringLiteral("GroupBox8"))->title(),
              QStringLiteral("Концентрация 250 %"));
    saveAs(QStringLiteral("Предел"));

    slider()->setValue(0);
    edit2()->setFocus();
    edit2()->selectAll();
    boxes.expect(BoxButton::Ok); // "-" alone is no integer yet
    QTest::keyClicks(edit2(), QStringLiteral("-5"));
    expectError(QStringLiteral("'-' is not a valid integer value."));
    EXPECT_EQ(slider()->value(), 0);
    EXPECT_EQ(edit2()->text(), QStringLiteral("0"));
    saveAs(QStringLiteral("Ноль"));

    const auto solutions = storedSolutions();
    ASSERT_EQ(solutions.size(), 2);
    EXPECT_EQ(solutions[0].percentage.toInt(), 250);
    EXPECT_FALSE(solutions[1].percentage.isNull());
    EXPECT_EQ(solutions[1].percentage.toInt(), 0);
    EXPECT_EQ(boxes.count(), 1);
}

// A boric acid or molybdate dose is typed whole into a saved solution, as into the working
// composition. By hand: B 17.48 % x 10 x 0.005 = 0.874 mg/L; Mo 39.66 % x 10 x 0.000126 =
// 0.0499716, rounded to four decimals 0.05.
TEST_F(SavedSolutions, microDosesAreTypedWholeInASavedSolutionAsInTheWorkingComposition)
{
    const QString boric = QStringLiteral("Борная кислота");
    const QString molybdate = QStringLiteral("Молибдат натрия (2-водный)");
    addToComposition(boric, 1.0);
    addToComposition(molybdate, 1.0);
    saveAs(QStringLiteral("Микро"));
    typeAmount(QStringLiteral("dxDBGrid4"), 0, QStringLiteral("dxDBGrid4kol"), QStringLiteral("0.005"));
    typeAmount(QStringLiteral("dxDBGrid4"), 1, QStringLiteral("dxDBGrid4kol"), QStringLiteral("0.000126"));
    rows().first(); // leaving the row posts it

    const auto saved = storedRows(storedSolutions()[0].id);
    ASSERT_EQ(saved.size(), 2);
    EXPECT_EQ(saved[0].grams, number(0.005));
    EXPECT_EQ(saved[1].grams, number(0.000126));
    clickSolution(0);
    EXPECT_DOUBLE_EQ(computed().value(QStringLiteral("B")), 0.874);
    EXPECT_DOUBLE_EQ(computed().value(QStringLiteral("Mo")), 0.05);

    typeAmount(QStringLiteral("dxDBGrid2"), 1, QStringLiteral("dxDBGrid2Column2"), QStringLiteral("0.000126"));
    data().form4.T_rachet.first();
    EXPECT_EQ(storedComposition()[1].grams, number(0.000126));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

// ---------------------------------------------------------------- renaming and the dialog's keys

TEST_F(SavedSolutions, renameShowsTheCurrentNameAndMayEmptyIt)
{
    addToComposition(Calcium, 1.0);
    setPercentageText(QStringLiteral("70"));
    saveAs(QStringLiteral("Первый"));
    saveAs(QStringLiteral("Второй"));
    clickSolution(0);
    ASSERT_EQ(head().asString(QStringLiteral("name_rar")), QStringLiteral("Первый"));

    action(QStringLiteral("N1"))->trigger();
    EXPECT_TRUE(form5().renameMode());
    EXPECT_TRUE(form5().isVisible());
    EXPECT_EQ(dialogText(), QStringLiteral("Первый"));
    typeInDialog(QString());
    clickDialogSave();

    EXPECT_FALSE(form5().isVisible());
    const auto solutions = storedSolutions();
    ASSERT_EQ(solutions.size(), 2);
    EXPECT_TRUE(solutions[0].name.toString().isEmpty());
    EXPECT_EQ(solutions[0].percentage.toInt(), 70) << "renaming keeps the percentage";
    EXPECT_EQ(storedRows(solutions[0].id).size(), 1) << "and the rows";
    EXPECT_EQ(solutions[1].name.toString(), QStringLiteral("Второй"));
}

TEST_F(SavedSolutions, afterARenameSaveOffersThatNameAndCreatesASecondSolution)
{
    saveAs(QStringLiteral("Старое"));
    action(QStringLiteral("N1"))->trigger();
    typeInDialog(QStringLiteral("Новое"));
    clickDialogSave();
    ASSERT_EQ(storedSolutions().size(), 1);

    QTest::mouseClick(form4().findChild<QPushButton *>(QStringLiteral("Button5")), Qt::LeftButton);
    EXPECT_FALSE(form5().renameMode());
    EXPECT_EQ(dialogText(), QStringLiteral("Новое"));
    clickDialogSave();
    const auto solutions = storedSolutions();
    ASSERT_EQ(solutions.size(), 2);
    EXPECT_EQ(solutions[0].name.toString(), QStringLiteral("Новое"));
    EXPECT_EQ(solutions[1].name.toString(), QStringLiteral("Новое"));
}

TEST_F(SavedSolutions, theModeInForceAtThePressDecides)
{
    saveAs(QStringLiteral("Один"));
    action(QStringLiteral("N1"))->trigger();
    ASSERT_TRUE(form5().renameMode());
    // The calculator's "Сохранить" while the rename dialog is open: the dialog now creates.
    QTest::mouseClick(form4().findChild<QPushButton *>(QStringLiteral("Button5")), Qt::LeftButton);
    typeInDialog(QStringLiteral("Два"));
    clickDialogSave();
    const auto solutions = storedSolutions();
    ASSERT_EQ(solutions.size(), 2);
    EXPECT_EQ(solutions[0].name.toString(), QStringLiteral("Один"));
    EXPECT_EQ(solutions[1].name.toString(), QStringLiteral("Два"));
}

TEST_F(SavedSolutions, renamingWithoutASolutionCreatesAnEmptyOneForTheCrop)
{
    addToComposition(Calcium, 1.0);
    action(QStringLiteral("N1"))->trigger();
    EXPECT_TRUE(dialogText().isEmpty());
    typeInDialog(QStringLiteral("Без состава"));
    clickDialogSave();

    const auto solutions = storedSolutions();
    ASSERT_EQ(solutions.size(), 1);
    EXPECT_EQ(solutions[0].name.toString(), QStringLiteral("Без состава"));
    EXPECT_EQ(solutions[0].crop.toInt(), currentCropId());
    EXPECT_TRUE(solutions[0].percentage.isNull());
    EXPECT_TRUE(solutions[0].litres.isNull());
    EXPECT_TRUE(storedRows(solutions[0].id).isEmpty());
}

TEST_F(SavedSolutions, enterSavesEscapeCancelsAndTheTextStays)
{
    QTest::mouseClick(form4().findChild<QPushButton *>(QStringLiteral("Button5")), Qt::LeftButton);
    auto *edit = form5().findChild<QLineEdit *>(QStringLiteral("Edit1"));
    typeText(edit, QStringLiteral("Отменённый"));
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(form5().isVisible());
    EXPECT_TRUE(storedSolutions().isEmpty());

    QTest::mouseClick(form4().findChild<QPushButton *>(QStringLiteral("Button5")), Qt::LeftButton);
    EXPECT_EQ(edit->text(), QStringLiteral("Отменённый"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_FALSE(form5().isVisible());
    ASSERT_EQ(storedSolutions().size(), 1);
    EXPECT_EQ(storedSolutions()[0].name.toString(), QStringLiteral("Отменённый"));

    QTest::mouseClick(form4().findChild<QPushButton *>(QStringLiteral("Button5")), Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_Enter); // the keypad's Enter
    EXPECT_EQ(storedSolutions().size(), 2);
}

// ---------------------------------------------------------------- delete, copy, add, remove

TEST_F(SavedSolutions, deletingFromEmptyListsReportsTheInstance)
{
    boxes.expect(BoxButton::Ok);
    action(QStringLiteral("N5"))->trigger();
    expectError(QStringLiteral("T_HEAD_RAR: Cannot perform this operation on an empty dataset."));

    saveAs(QStringLiteral("Пустой"));
    boxes.expect(BoxButton::Ok);
    action(QStringLiteral("N3"))->trigger();
    expectError(QStringLiteral("T_save_rar: Cannot perform this operation on an empty dataset."));
    EXPECT_EQ(boxes.count(), 2);
    EXPECT_EQ(storedSolutions().size(), 1);
}

TEST_F(SavedSolutions, deletingASolutionMakesTheNextOneCurrent)
{
    addToComposition(Calcium, 1.0);
    saveAs(QStringLiteral("А"));
    data().form4.T_rachet.first();
    data().form4.T_rachet.remove();
    addToComposition(Potassium, 0.5);
    addToComposition(Phosphate, 0.2);
    saveAs(QStringLiteral("Б"));
    clickSolution(0);
    ASSERT_EQ(rows().recordCount(), 1);

    action(QStringLiteral("N5"))->trigger();
    EXPECT_TRUE(boxes.shown().isEmpty());
    const auto solutions = storedSolutions();
    ASSERT_EQ(solutions.size(), 1);
    EXPECT_EQ(solutions[0].name.toString(), QStringLiteral("Б"));
    EXPECT_EQ(head().asString(QStringLiteral("name_rar")), QStringLiteral("Б"));
    EXPECT_EQ(grid(QStringLiteral("dxDBGrid4"))->model()->rowCount(), 2);
}

TEST_F(SavedSolutions, copyReplacesTheWorkingCompositionKeepingDuplicates)
{
    addToComposition(Calcium, 1.0);
    addToComposition(Potassium, 0.5);
    saveAs(QStringLiteral("С повтором"));
    selectFertilizer(Calcium);
    action(QStringLiteral("N2"))->trigger();
    // The added row is the last of the grid; an amount typed there goes with it.
    rows().last();
    rows().edit();
    rows().setValue(QStringLiteral("kol"), 0.75);
    rows().post();

    // A different working composition, calculated, then the copy.
    Dataset &work = data().form4.T_rachet;
    while (!work.isEmpty())
        work.remove();
    addToComposition(Phosphate, 2.0);
    form4().Button4Click();
    const auto before = computed();
    ASSERT_GT(before.value(QStringLiteral("P")), 0);

    action(QStringLiteral("N6"))->trigger();
    EXPECT_TRUE(boxes.shown().isEmpty());
    const auto stored = storedComposition();
    ASSERT_EQ(stored.size(), 3);
    EXPECT_EQ(stored[0].fertilizer.toInt(), fertilizerId(Calcium));
    EXPECT_EQ(stored[0].grams, number(1.0));
    EXPECT_EQ(stored[1].fertilizer.toInt(), fertilizerId(Potassium));
    EXPECT_EQ(stored[1].grams, number(0.5));
    EXPECT_EQ(stored[2].fertilizer.toInt(), fertilizerId(Calcium));
    EXPECT_EQ(stored[2].grams, number(0.75));
    EXPECT_EQ(work.recordCount(), 3);
    EXPECT_EQ(computed(), before) << "copying does not recalculate";
}

TEST_F(SavedSolutions, addingTheSameFertilizerTwiceGivesTwoEmptyRows)
{
    addToComposition(Potassium, 0.5);
    saveAs(QStringLiteral("Добавки"));
    selectFertilizer(Phosphate);
    action(QStringLiteral("N2"))->trigger();
    action(QStringLiteral("N2"))->trigger();
    EXPECT_TRUE(boxes.shown().isEmpty());

    const auto saved = storedRows(storedSolutions()[0].id);
    ASSERT_EQ(saved.size(), 3);
    EXPECT_EQ(saved[1].fertilizer.toInt(), fertilizerId(Phosphate));
    EXPECT_TRUE(saved[1].grams.isNull());
    EXPECT_EQ(saved[2].fertilizer.toInt(), fertilizerId(Phosphate));
    EXPECT_TRUE(saved[2].grams.isNull());
    // Reopened: the grid stands on the first row and shows the looked-up names.
    EXPECT_EQ(rows().currentRow(), 0);
    EXPECT_EQ(grid(QStringLiteral("dxDBGrid4"))->model()->index(2, 0).data().toString(), Phosphate);
    EXPECT_EQ(rows().recordCount(), 3);

    // Removing takes the current row only.
    rows().last();
    action(QStringLiteral("N3"))->trigger();
    EXPECT_EQ(storedRows(storedSolutions()[0].id).size(), 2);
}

// ---------------------------------------------------------------- litres and recalculation

TEST_F(SavedSolutions, litresTypingRewritesCaptionsAndAmountsAndIsPostedWithTheRow)
{
    addToComposition(Calcium, 2.0);
    addToComposition(Potassium, 0.5);
    setPercentageText(QStringLiteral("80"));
    saveAs(QStringLiteral("Литры"));
    saveAs(QStringLiteral("Другой"));
    clickSolution(0);

    typeLitres(QStringLiteral("10"));
    EXPECT_EQ(litresEditor()->text(), QStringLiteral("10"));
    EXPECT_EQ(head().state(), DatasetState::Edit);
    EXPECT_EQ(column(QStringLiteral("dxDBGrid4Column3"))->caption(), QStringLiteral("Кол-во г./10л."));
    EXPECT_EQ(column(QStringLiteral("dxDBGrid4Column4"))->caption(), QStringLiteral("Кол-во от 80% г./л."));
    EXPECT_EQ(column(QStringLiteral("dxDBGrid4Column5"))->caption(), QStringLiteral("Кол-во от 80% г./10л."));
    rows().first();
    EXPECT_DOUBLE_EQ(rows().asFloat(QStringLiteral("kol_temp")), 20);
    EXPECT_DOUBLE_EQ(rows().asFloat(QStringLiteral("r_conc")), 1.6);
    EXPECT_DOUBLE_EQ(rows().asFloat(QStringLiteral("rl_conc")), 16);
    EXPECT_EQ(grid(QStringLiteral("dxDBGrid4"))->model()->index(1, 2).data().toString(),
              QStringLiteral("5"));

    // Moving to the other solution posts the litres; the editor follows the current row.
    clickSolution(1);
    EXPECT_TRUE(litresEditor()->text().isEmpty());
    EXPECT_EQ(storedSolutions()[0].litres, number(10));
    clickSolution(0);
    EXPECT_EQ(litresEditor()->text(), QStringLiteral("10"));

    // Emptied, both amounts become 0 and the captions lose the litres.
    typeLitres(QString());
    EXPECT_TRUE(litresEditor()->text().isEmpty());
    EXPECT_EQ(column(QStringLiteral("dxDBGrid4Column3"))->caption(), QStringLiteral("Кол-во г./л."));
    EXPECT_EQ(column(QStringLiteral("dxDBGrid4Column5"))->caption(), QStringLiteral("Кол-во от 80% г./л."));
    rows().first();
    while (!rows().eof()) {
        EXPECT_EQ(rows().asFloat(QStringLiteral("kol_temp")), 0);
        EXPECT_EQ(rows().asFloat(QStringLiteral("rl_conc")), 0);
        rows().next();
    }
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(SavedSolutions, litresAreKeptWithinTheirRangeAndStepByATenth)
{
    saveAs(QStringLiteral("Шаги"));
    typeLitres(QStringLiteral("250"));
    EXPECT_EQ(head().value(QStringLiteral("kol_l")), number(100));
    QTest::keyClick(litresEditor(), Qt::Key_Return); // the editing ends
    EXPECT_EQ(litresEditor()->text(), QStringLiteral("100"));

    typeLitres(QStringLiteral("1"));
    QTest::keyClick(litresEditor(), Qt::Key_Up);
    EXPECT_EQ(litresEditor()->text(), QStringLiteral("1.1"));
    EXPECT_EQ(head().value(QStringLiteral("kol_l")), number(1.1));
    EXPECT_EQ(column(QStringLiteral("dxDBGrid4Column3"))->caption(), QStringLiteral("Кол-во г./1.1л."));
}

TEST_F(SavedSolutions, recalculatingASolutionWithoutRowsZeroesTheCrop)
{
    addToComposition(Calcium, 1.0);
    form4().Button4Click();
    ASSERT_EQ(computed().value(QStringLiteral("N")), 155);
    data().form4.T_rachet.remove();
    saveAs(QStringLiteral("Пустой"));
    typeLitres(QStringLiteral("10"));

    action(QStringLiteral("N4"))->trigger();
    EXPECT_TRUE(boxes.shown().isEmpty());
    const auto values = computed();
    EXPECT_EQ(values.size(), 15) << "N to Mo, Na, Cl, Si";
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        EXPECT_EQ(it.value(), 0) << it.key().toStdString();
    EXPECT_EQ(column(QStringLiteral("dxDBGrid4Column3"))->caption(), QStringLiteral("Кол-во, г/10 л."));
}

TEST_F(SavedSolutions, clicksAndKeyReleasesInTheListRecalculate)
{
    addToComposition(Calcium, 1.0);
    saveAs(QStringLiteral("Кальций"));
    data().form4.T_rachet.remove();
    addToComposition(Potassium, 0.5);
    saveAs(QStringLiteral("Калий"));

    clickSolution(0);
    EXPECT_EQ(computed().value(QStringLiteral("N")), 155);
    EXPECT_EQ(computed().value(QStringLiteral("Ca")), 189.3955);
    // The run ends by reading the rows again, and their hook writes its own caption over the
    // run's "Кол-во, г/0 л.".
    EXPECT_EQ(column(QStringLiteral("dxDBGrid4Column3"))->caption(), QStringLiteral("Кол-во г./л."));

    DataGrid *names = grid(QStringLiteral("dxDBGrid5"));
    names->setFocus();
    QTest::keyPress(names, Qt::Key_Down);
    EXPECT_EQ(head().asString(QStringLiteral("name_rar")), QStringLiteral("Калий"));
    EXPECT_EQ(computed().value(QStringLiteral("N")), 155) << "the press alone does not recalculate";
    QTest::keyRelease(names, Qt::Key_Down);
    EXPECT_EQ(computed().value(QStringLiteral("N")), 69.25);
    EXPECT_EQ(computed().value(QStringLiteral("K")), 193.3536);
    EXPECT_EQ(computed().value(QStringLiteral("Ca")), 0);
    EXPECT_EQ(head().asString(QStringLiteral("name_rar")), QStringLiteral("Калий"))
        << "the list keeps its row";

    QTest::keyClick(names, Qt::Key_Up);
    EXPECT_EQ(computed().value(QStringLiteral("N")), 155);
    EXPECT_EQ(computed().value(QStringLiteral("K")), 0);
    EXPECT_TRUE(boxes.shown().isEmpty());
}

} // namespace
