#include "savedsolutionsfixture.h"

#include "app/globals.h"
#include "app/startup.h"
#include "app/tform1.h"
#include "calculator/dataspinedit.h"
#include "calculator/tform4.h"
#include "calculator/tform5.h"
#include "data/apperror.h"
#include "data/connection.h"
#include "data/datamodules.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/datagridcolumn.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

void SavedSolutionsFixture::SetUp()
{
    ASSERT_TRUE(CreateWindows());
    // Showing the main window opens the database and applies the options.
    ShowMainWindow();
    ASSERT_TRUE(data().form4.T_HEAD_RAR.isActive()) << "the database is open";
    Form4->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form4));
}

void SavedSolutionsFixture::TearDown()
{
    DestroyWindows();
}

DataModules &SavedSolutionsFixture::data()
{
    return Form1->data();
}

TForm4 &SavedSolutionsFixture::form4()
{
    return *Form4;
}

TForm5 &SavedSolutionsFixture::form5()
{
    return *Form5;
}

DataGrid *SavedSolutionsFixture::grid(const QString &name) const
{
    auto *g = Form4->findChild<DataGrid *>(name);
    EXPECT_NE(g, nullptr) << "no grid " << name.toStdString();
    return g;
}

DataGridColumn *SavedSolutionsFixture::column(const QString &name) const
{
    auto *c = Form4->findChild<DataGridColumn *>(name);
    EXPECT_NE(c, nullptr) << "no column " << name.toStdString();
    return c;
}

DataSpinEdit *SavedSolutionsFixture::litresEditor() const
{
    auto *s = Form4->findChild<DataSpinEdit *>(QStringLiteral("dxDBSpinEdit1"));
    EXPECT_NE(s, nullptr);
    return s;
}

QAction *SavedSolutionsFixture::action(const QString &name) const
{
    auto *a = Form4->findChild<QAction *>(name);
    EXPECT_NE(a, nullptr) << "no menu item " << name.toStdString();
    return a;
}

QPushButton *SavedSolutionsFixture::dialogButton(const QString &name) const
{
    return Form5->findChild<QPushButton *>(name);
}

QString SavedSolutionsFixture::dialogText() const
{
    return Form5->findChild<QLineEdit *>(QStringLiteral("Edit1"))->text();
}

int SavedSolutionsFixture::fertilizerId(const QString &name)
{
    Dataset &u = data().form2.T_Udobra;
    for (int row = 0; row < u.recordCount(); ++row) {
        if (u.valueAt(row, QStringLiteral("name_udobra")).toString() == name)
            return u.valueAt(row, QStringLiteral("id_udobra")).toInt();
    }
    ADD_FAILURE() << "no fertilizer " << name.toStdString();
    return 0;
}

void SavedSolutionsFixture::selectFertilizer(const QString &name)
{
    Dataset &u = data().form2.T_Udobra;
    u.first();
    while (!u.eof() && u.asString(QStringLiteral("name_udobra")) != name)
        u.next();
    ASSERT_FALSE(u.eof()) << "no fertilizer " << name.toStdString();
}

void SavedSolutionsFixture::addToComposition(const QString &name, double grams)
{
    Dataset &r = data().form4.T_rachet;
    r.append();
    r.setValue(QStringLiteral("id_udobra"), fertilizerId(name));
    r.setValue(QStringLiteral("kol"), grams);
    r.post();
}

void SavedSolutionsFixture::setPercentageText(const QString &text)
{
    auto *edit = Form4->findChild<QLineEdit *>(QStringLiteral("Edit2"));
    ASSERT_NE(edit, nullptr);
    edit->setText(text);
}

void SavedSolutionsFixture::typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void SavedSolutionsFixture::typeInDialog(const QString &text)
{
    auto *edit = Form5->findChild<QLineEdit *>(QStringLiteral("Edit1"));
    edit->clear();
    typeText(edit, text);
}

void SavedSolutionsFixture::clickDialogSave()
{
    QTest::mouseClick(dialogButton(QStringLiteral("Button1")), Qt::LeftButton);
}

void SavedSolutionsFixture::saveAs(const QString &name)
{
    auto *save = Form4->findChild<QPushButton *>(QStringLiteral("Button5"));
    ASSERT_NE(save, nullptr);
    QTest::mouseClick(save, Qt::LeftButton);
    ASSERT_TRUE(Form5->isVisible());
    typeInDialog(name);
    clickDialogSave();
}

void SavedSolutionsFixture::clickSolution(int row)
{
    DataGrid *g = grid(QStringLiteral("dxDBGrid5"));
    const QRect cell = g->visualRect(g->model()->index(row, 0));
    ASSERT_TRUE(cell.isValid()) << "no row " << row;
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
}

void SavedSolutionsFixture::typeLitres(const QString &text)
{
    DataSpinEdit *s = litresEditor();
    s->setFocus();
    s->selectAll();
    if (text.isEmpty())
        QTest::keyClick(s, Qt::Key_Delete);
    else
        typeText(s, text);
}

QList<SavedSolutionsFixture::StoredSolution> SavedSolutionsFixture::storedSolutions()
{
    QList<StoredSolution> out;
    Connection c(base.basePath());
    Connection::Statement st(
        c, QStringLiteral("SELECT id_head_rar, name_rar, id_konc, kol_l, konc FROM t_head_rar "
                          "ORDER BY id_head_rar"));
    while (st.step())
        out.append({st.column(0).toLongLong(), st.column(1), st.column(2), st.column(3), st.column(4)});
    return out;
}

QList<SavedSolutionsFixture::StoredRow> SavedSolutionsFixture::storedRows(qint64 solution)
{
    QList<StoredRow> out;
    Connection c(base.basePath());
    Connection::Statement st(c, QStringLiteral("SELECT id_udobra, kol FROM t_save_rar "
                                               "WHERE id_head_rar = ? ORDER BY id_save_rar"));
    st.bind(1, solution);
    while (st.step())
        out.append({st.column(0), st.column(1)});
    return out;
}

QList<SavedSolutionsFixture::StoredRow> SavedSolutionsFixture::storedComposition()
{
    QList<StoredRow> out;
    Connection c(base.basePath());
    Connection::Statement st(c, QStringLiteral("SELECT id_udobra, kol FROM t_rachet ORDER BY id_rachet"));
    while (st.step())
        out.append({st.column(0), st.column(1)});
    return out;
}

QHash<QString, double> SavedSolutionsFixture::computed()
{
    QHash<QString, double> out;
    Dataset &t = data().form4.ADOTable2;
    t.first();
    while (!t.eof()) {
        out.insert(t.asString(QStringLiteral("name_el")), t.asFloat(QStringLiteral("rachet")));
        t.next();
    }
    t.first();
    return out;
}

int SavedSolutionsFixture::currentCropId()
{
    return data().form4.ADOTable3.asInteger(QStringLiteral("id_kult"));
}
