#include "savedsolutionsfixture.h"
#include "support/csvreadback.h"
#include "support/xlsreadback.h"

#include "calculator/tform4.h"
#include "data/apperror.h"
#include "data/datamodules.h"
#include "export/gridexport.h"
#include "ui/color/wincolor.h"
#include "ui/grid/bindingmodel.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/datagridcolumn.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOption>
#include <QTest>

namespace {

const QString CompositionFile = QStringLiteral("Состав р-ра.xls");
const QString ConcentrationFile = QStringLiteral("Концентрация р-ра.xls");
const QString Calcium = QStringLiteral("Кальциевая селитра");
const QString Potassium = QStringLiteral("Калиевая селитра");
const QString Phosphate = QStringLiteral("Монофосфат калия");

using XlsReadBack::rgb;

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class SpreadsheetExport : public SavedSolutionsFixture
{
protected:
    // A solution of three rows saved at 80 %, 10 litres typed and posted, then recalculated by
    // a click: what the grower would have on screen before exporting.
    void prepareSolution()
    {
        addToComposition(Calcium, 1.0);
        addToComposition(Potassium, 0.5);
        addToComposition(Phosphate, 0.2);
        setPercentageText(QStringLiteral("80"));
        saveAs(QStringLiteral("Для выгрузки"));
        // An amount the spin editor could not take, to show numbers are written unrounded.
        Dataset &rows = data().form4.T_save_rar;
        rows.moveTo(1);
        rows.edit();
        rows.setValue(QStringLiteral("kol"), 2.0 / 3.0);
        rows.post();
        typeLitres(QStringLiteral("10"));
        clickSolution(0);
        ASSERT_TRUE(boxes.shown().isEmpty());
    }

    void exportBoth()
    {
        boxes.expect(BoxButton::Ok);
        action(QStringLiteral("EXCEL1"))->trigger();
    }

    void expectDoneBox()
    {
        ASSERT_EQ(boxes.count(), 1);
        const BoxRequest &box = boxes.last();
        EXPECT_EQ(box.text, QStringLiteral("Выгруженно."));
        EXPECT_EQ(box.caption, QStringLiteral("Инфо"));
        EXPECT_EQ(box.icon, BoxIcon::None);
        EXPECT_EQ(box.buttons, QList<BoxButton>{BoxButton::Ok});
    }

    // The grid's columns as shown, left to right.
    static QList<DataGridColumn *> shown(DataGrid *g)
    {
        QList<DataGridColumn *> out;
        for (int v = 0; v < g->horizontalHeader()->count(); ++v) {
            const int section = g->horizontalHeader()->logicalIndex(v);
            if (!g->isColumnHidden(section))
                out.append(g->bindingModel()->column(section));
        }
        return out;
    }

    static QStringList captions(DataGrid *g)
    {
        QStringList out;
        for (DataGridColumn *c : shown(g))
            out << c->headerText();
        return out;
    }

    // What a reader must find in the grid's file: read from the widgets and the rows of the
    // dataset, in the read-back script's terms.
    QJsonObject expectation(const QString &file, DataGrid *g)
    {
        const QJsonObject look = XlsReadBack::look(*g, g->colour());
        Dataset &ds = *g->binding()->dataset();
        QJsonArray columns;
        QStringList kinds;
        for (DataGridColumn *c : shown(g)) {
            const Dataset::Field &f = ds.field(c->field());
            const bool number = f.kind == FieldKind::Calculated || f.type == FieldType::Double;
            const bool integer = !number && (f.type == FieldType::Int || f.type == FieldType::Key);
            kinds << (number ? "number" : integer ? "integer" : "text");
            const QJsonObject format = XlsReadBack::cellFormat(
                *g, c->font().value_or(g->font()), g->colour(), kinds.last() == QLatin1String("text"));
            columns.append(QJsonObject{{"caption", c->headerText()}, {"kind", kinds.last()},
                                       {"width", g->columnWidth(g->sectionOf(c)) * 36},
                                       {"format", format}});
        }
        QJsonArray rows;
        const Bookmark keep = ds.bookmark();
        ds.first();
        while (!ds.eof()) {
            QJsonArray row;
            const QList<DataGridColumn *> cols = shown(g);
            for (int i = 0; i < cols.size(); ++i) {
                const QString field = cols.at(i)->field();
                if (kinds.at(i) == QLatin1String("number"))
                    row.append(ds.asFloat(field));
                else if (kinds.at(i) == QLatin1String("integer"))
                    row.append(ds.asInteger(field));
                else
                    row.append(ds.asString(field));
            }
            rows.append(row);
            ds.next();
        }
        ds.gotoBookmark(keep);
        return {{"path", base.path(file)}, {"palette", look["palette"]}, {"header", look["header"]},
                {"columns", columns}, {"rows", rows}};
    }

    // Runs the xlrd read-back over the files; empty when every check passed.
    QString readBack(const QJsonArray &expectations)
    {
        return XlsReadBack::run(expectations, base.dir());
    }
};

TEST_F(SpreadsheetExport, bothFilesReadBackAsTheGridsShowThem)
{
    prepareSolution();
    DataGrid *composition = grid(QStringLiteral("dxDBGrid4"));
    DataGrid *concentration = grid(QStringLiteral("dxDBGrid3"));
    ASSERT_EQ(captions(composition),
              (QStringList{QStringLiteral("Название"), QStringLiteral("Кол-во г/л."),
                           QStringLiteral("Кол-во г./10л."), QStringLiteral("Кол-во от 80% г./л."),
                           QStringLiteral("Кол-во от 80% г./10л.")}));
    EXPECT_EQ(captions(concentration),
              (QStringList{QStringLiteral("Элемент"), QStringLiteral("Вега100%"),
                           QStringLiteral("Цвет100%"), QStringLiteral("Расчёт"),
                           QStringLiteral("Расчёт от 80%"), QStringLiteral("В80%"),
                           QStringLiteral("Ц80%"), QStringLiteral("+-Веги"),
                           QStringLiteral("+-Цвета")}));
    const QJsonArray expected{expectation(CompositionFile, composition),
                              expectation(ConcentrationFile, concentration)};
    // The expectation pins what the grower sees, not only what the widgets say.
    const QJsonArray rows = expected[0].toObject()["rows"].toArray();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].toArray(), (QJsonArray{Calcium, 1.0, 10.0, 0.8, 8.0}));
    EXPECT_EQ(rows[1].toArray()[2].toDouble(), 2.0 / 3.0 * 10) << "unrounded";
    const QJsonArray palette = expected[0].toObject()["palette"].toArray();
    EXPECT_EQ(palette[5], rgb(WinColor::toQColor(WinColor::clInfoBk)));
    EXPECT_NE(palette[7], palette[5]) << "the system's window colour, not the grid's";
    int total = 0;
    for (const QJsonValue &c : expected[0].toObject()["columns"].toArray())
        total += c.toObject()["width"].toInt() / 36;
    EXPECT_EQ(total, composition->viewport()->width()) << "the widths are those shown";
    EXPECT_EQ(expected[1].toObject()["rows"].toArray().size(), 15) << "N to Mo, Na, Cl, Si";

    exportBoth();
    expectDoneBox();
    const QString problems = readBack(expected);
    EXPECT_TRUE(problems.isEmpty()) << problems.toStdString();
}

TEST_F(SpreadsheetExport, bothFilesHaveACsvBesideThemWithTheSameRows)
{
    prepareSolution();
    const QJsonArray expected{expectation(CompositionFile, grid(QStringLiteral("dxDBGrid4"))),
                              expectation(ConcentrationFile, grid(QStringLiteral("dxDBGrid3")))};
    exportBoth();
    expectDoneBox();
    for (const QJsonValue &v : expected) {
        const QJsonObject sheet = v.toObject();
        QStringList captions;
        for (const QJsonValue &c : sheet["columns"].toArray())
            captions.append(c.toObject()["caption"].toString());
        const QString path = sheet["path"].toString().replace(QStringLiteral(".xls"), QStringLiteral(".csv"));
        const QString problems = csvReadBack(path, captions, sheet["rows"].toArray());
        EXPECT_TRUE(problems.isEmpty()) << path.toStdString() << "\n" << problems.toStdString();
    }
}

TEST_F(SpreadsheetExport, withoutASolutionOnlyCaptionsAndUncalculatedTargetsAreZero)
{
    // Files of these names are replaced without a question.
    for (const QString &name : {CompositionFile, ConcentrationFile}) {
        QFile f(base.path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(5000, 'x'));
    }
    DataGrid *concentration = grid(QStringLiteral("dxDBGrid3"));
    const QJsonObject targets = expectation(ConcentrationFile, concentration);
    int rachet = -1;
    const QList<DataGridColumn *> cols = shown(concentration);
    for (int i = 0; i < cols.size(); ++i) {
        if (cols.at(i)->field() == QLatin1String("rachet"))
            rachet = i;
    }
    ASSERT_GE(rachet, 0);
    for (const QJsonValue &row : targets["rows"].toArray())
        ASSERT_EQ(row.toArray()[rachet].toDouble(), 0) << "no run has filled the targets";

    exportBoth();
    expectDoneBox();
    const QJsonObject composition = expectation(CompositionFile, grid(QStringLiteral("dxDBGrid4")));
    EXPECT_TRUE(composition["rows"].toArray().isEmpty());
    const QString problems = readBack({composition, targets});
    EXPECT_TRUE(problems.isEmpty()) << problems.toStdString();
}

TEST_F(SpreadsheetExport, aHiddenColumnIsLeftOutAndTheOthersCloseUp)
{
    prepareSolution();
    DataGrid *composition = grid(QStringLiteral("dxDBGrid4"));
    column(QStringLiteral("dxDBGrid4Column4"))->setVisible(false);
    const QJsonObject expected = expectation(CompositionFile, composition);
    ASSERT_EQ(expected["columns"].toArray().size(), 4);
    EXPECT_EQ(expected["columns"].toArray()[3].toObject()["caption"].toString(),
              QStringLiteral("Кол-во от 80% г./10л."));

    exportBoth();
    expectDoneBox();
    const QString problems = readBack({expected});
    EXPECT_TRUE(problems.isEmpty()) << problems.toStdString();
}

TEST_F(SpreadsheetExport, theGridsStandOnTheirRowsAndScrollPositionsAfterwards)
{
    addToComposition(Calcium, 1.0);
    saveAs(QStringLiteral("Длинный"));
    // Enough rows for the composition grid to scroll.
    Dataset &rows = data().form4.T_save_rar;
    for (int i = 0; i < 40; ++i) {
        rows.append();
        rows.setValue(QStringLiteral("id_udobra"), fertilizerId(Potassium));
        rows.setValue(QStringLiteral("kol"), 0.01 * i);
        rows.post();
    }
    DataGrid *composition = grid(QStringLiteral("dxDBGrid4"));
    DataGrid *concentration = grid(QStringLiteral("dxDBGrid3"));
    QCoreApplication::processEvents();
    rows.moveTo(17);
    data().form4.ADOTable2.moveTo(5);
    // Scrolled away from the current row, which a re-synchronised grid would scroll back to.
    composition->verticalScrollBar()->setValue(composition->verticalScrollBar()->maximum());
    const int compositionScroll = composition->verticalScrollBar()->value();
    ASSERT_GT(compositionScroll, 0);
    const int concentrationScroll = concentration->verticalScrollBar()->value();
    const int concentrationHScroll = concentration->horizontalScrollBar()->value();

    exportBoth();
    expectDoneBox();
    QCoreApplication::processEvents();
    EXPECT_EQ(rows.currentRow(), 17);
    EXPECT_EQ(composition->currentIndex().row(), 17);
    EXPECT_EQ(data().form4.ADOTable2.currentRow(), 5);
    EXPECT_EQ(concentration->currentIndex().row(), 5);
    EXPECT_EQ(composition->verticalScrollBar()->value(), compositionScroll);
    EXPECT_EQ(concentration->verticalScrollBar()->value(), concentrationScroll);
    EXPECT_EQ(concentration->horizontalScrollBar()->value(), concentrationHScroll);
    EXPECT_EQ(composition->model()->rowCount(), 41) << "the grid follows its dataset again";
    EXPECT_FALSE(rows.controlsDisabled());
    EXPECT_FALSE(data().form4.ADOTable2.controlsDisabled());
}

TEST_F(SpreadsheetExport, aFirstFileThatCannotBeCreatedEndsTheExport)
{
    prepareSolution();
    // A directory of that name cannot be opened as a file.
    ASSERT_TRUE(QDir(base.dir()).mkdir(CompositionFile));
    boxes.expect(BoxButton::Ok);
    action(QStringLiteral("EXCEL1"))->trigger();

    ASSERT_EQ(boxes.count(), 1) << "no \"Выгруженно.\"";
    const BoxRequest &box = boxes.last();
    const QString path = QDir::toNativeSeparators(QFileInfo(base.path(CompositionFile)).absoluteFilePath());
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(path)))
        << box.text.toStdString();
    EXPECT_GT(box.text.size(), QStringLiteral("Cannot create file \"%1\". .").arg(path).size())
        << "the system's reason follows";
    EXPECT_TRUE(box.text.endsWith(u'.'));
    EXPECT_EQ(box.caption, QStringLiteral("Vernolat"));
    EXPECT_EQ(box.icon, BoxIcon::Error);
    EXPECT_FALSE(QFileInfo::exists(base.path(ConcentrationFile)));
}

TEST_F(SpreadsheetExport, aSecondFileThatCannotBeCreatedKeepsTheFirst)
{
    prepareSolution();
    const QJsonObject expected = expectation(CompositionFile, grid(QStringLiteral("dxDBGrid4")));
    ASSERT_TRUE(QDir(base.dir()).mkdir(ConcentrationFile));
    boxes.expect(BoxButton::Ok);
    action(QStringLiteral("EXCEL1"))->trigger();

    ASSERT_EQ(boxes.count(), 1) << "no \"Выгруженно.\"";
    const QString path = QDir::toNativeSeparators(QFileInfo(base.path(ConcentrationFile)).absoluteFilePath());
    EXPECT_TRUE(boxes.last().text.startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(path)))
        << boxes.last().text.toStdString();
    EXPECT_EQ(boxes.last().icon, BoxIcon::Error);
    const QString problems = readBack({expected});
    EXPECT_TRUE(problems.isEmpty()) << problems.toStdString();
}

TEST_F(SpreadsheetExport, anErrorWhileRowsAreWrittenStillEndsTheFile)
{
    prepareSolution();
    Dataset &rows = data().form4.T_save_rar;
    rows.first();
    const QJsonObject full = expectation(CompositionFile, grid(QStringLiteral("dxDBGrid4")));
    // Reading the third row fails as the export reaches it.
    bool armed = true;
    rows.setCalcHook([&](Dataset &ds) {
        form4().engine().T_save_rarCalcFields(ds);
        const int at = ds.currentRow();
        if (armed && at == 2 && ds.valueAt(at, QStringLiteral("id_save_rar"))
                                    == ds.value(QStringLiteral("id_save_rar")))
            throw AppError(QStringLiteral("Строка не читается"));
    });
    boxes.expect(BoxButton::Ok);
    action(QStringLiteral("EXCEL1"))->trigger();
    armed = false;
    form4().engine().installHooks();

    ASSERT_EQ(boxes.count(), 1) << "no \"Выгруженно.\"";
    EXPECT_EQ(boxes.last().text, QStringLiteral("Строка не читается."));
    EXPECT_EQ(boxes.last().icon, BoxIcon::Error);
    EXPECT_FALSE(QFileInfo::exists(base.path(ConcentrationFile)));
    const QByteArray bytes = readFile(base.path(CompositionFile));
    EXPECT_TRUE(bytes.endsWith(QByteArray("\x0A\x00\x00\x00", 4))) << "the end-of-file record";
    // The rows before the failing one are in the file, and readers open it.
    QJsonObject partial = full;
    QJsonArray two = full["rows"].toArray();
    two.removeLast();
    partial["rows"] = two;
    const QString problems = readBack({partial});
    EXPECT_TRUE(problems.isEmpty()) << problems.toStdString();
    // The grid is back as it was.
    EXPECT_EQ(rows.currentRow(), 0);
    EXPECT_FALSE(rows.controlsDisabled());
    EXPECT_EQ(grid(QStringLiteral("dxDBGrid4"))->model()->rowCount(), 3);
}

// The bytes of both files for one fixed scenario on the default base. After an intended change
// of the format, the look or the layout, run the test with VERNOLAT_UPDATE_GOLDEN=1 to rewrite
// them, and review the difference with ../shared/tools/xls_dump.py.
TEST_F(SpreadsheetExport, bothFilesMatchTheirGoldenBytes)
{
    prepareSolution();
    QCoreApplication::processEvents(); // the grower's next click comes after the grids' layout
    exportBoth();
    expectDoneBox();
    const QList<QPair<QString, QString>> files{{CompositionFile, QStringLiteral("composition.xls")},
                                               {ConcentrationFile, QStringLiteral("concentration.xls")}};
    for (const auto &[written, golden] : files) {
        const QString goldenPath = QStringLiteral(VERNOLAT_EXPORT_GOLDEN_DIR "/") + golden;
        const QByteArray actual = readFile(base.path(written));
        ASSERT_FALSE(actual.isEmpty());
        if (qEnvironmentVariableIsSet("VERNOLAT_UPDATE_GOLDEN")) {
            QFile out(goldenPath);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(actual);
            continue;
        }
        const QByteArray expected = readFile(goldenPath);
        ASSERT_FALSE(expected.isEmpty()) << "missing " << goldenPath.toStdString();
        if (actual != expected) {
            const QString kept = QDir::temp().filePath(golden);
            QFile::remove(kept);
            QFile::copy(base.path(written), kept);
            ADD_FAILURE() << golden.toStdString() << " differs from the golden file; written as "
                          << kept.toStdString();
        }
    }
}

} // namespace
