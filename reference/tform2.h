#pragma once

#include <QWidget>

#include <functional>

class DataGrid;
class DataGridColumn;
class DataModules;
class NavBar;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class Splitter;
enum class NavButton;

// "Справочник удобрений": the fertilizers and the composition of each. It owns the fertilizer
// query T_Udobra, which the calculator shows as its fertilizer list: search, sort and current
// row are shared by both windows, and this window counts the list for both windows' count labels.
class TForm2 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm2(DataModules &data, QWidget *parent = nullptr);

    // The database cycle closing runs: false when it failed (the error has been shown) and
    // the window must stay open. Without one, closing only hides the window.
    void setDatabaseCycle(std::function<bool()> cycle) { m_databaseCycle = std::move(cycle); }

    // The handlers; each throws, the events reach them through guarded().
    void Edit1Change();                  // search
    void dxDBGrid2ColumnClick();         // header sort, either column
    void DS_UDobRADataChange();          // both count labels
    void dxDBGrid1Click();               // post the fertilizer before its composition
    void DBNavigator3Click(NavButton button);
    void Button1Click();                 // "КОНВЕРТЕР"
    void FormResize();
    void RzSplitter1Change();
    void FormShow();
    // The database cycle; false when it failed and the window must stay open.
    bool FormClose();

Q_SIGNALS:
    // The shared list now shows `count` fertilizers: the calculator's count label follows.
    void fertilizerCountChanged(int count);
    // "КОНВЕРТЕР": the converter window is shown.
    void converterRequested();
    // "Импорт CSV...", "Экспорт CSV...": a fertilizer list is read, or the reference books written.
    void csvImportRequested();
    void csvExportRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *setupFertilizerPane(QWidget *parent);
    QWidget *setupSearchBar(QWidget *parent);
    QWidget *setupFertilizerGrid(QWidget *parent);
    QWidget *setupCountBar(QWidget *parent);
    QWidget *setupCompositionPane(QWidget *parent);
    QWidget *setupCompositionGrid(QWidget *parent);
    void setSearchWidth(int width);
    // Posts the current fertilizer when it holds changes not yet posted.
    void postPendingFertilizer();

    DataModules &m_data;
    std::function<bool()> m_databaseCycle;
    QGroupBox *m_groupBox1 = nullptr;
    Splitter *m_splitter = nullptr;
    QFrame *m_panel1 = nullptr;
    QLineEdit *m_edit1 = nullptr;
    QLabel *m_label2 = nullptr;
    DataGrid *m_fertilizers = nullptr;
    DataGridColumn *m_nameColumn = nullptr;
    NavBar *m_fertilizerBar = nullptr;
    DataGrid *m_composition = nullptr;
    NavBar *m_compositionBar = nullptr;
};
