#pragma once

#include <QGroupBox>

class DataGrid;
class DataGridColumn;
class Form2Data;
class QLabel;
class QLineEdit;

// The group "Удобрения:": the search bar, the fertilizer list (a second view of the fertilizer
// window's query, so search, sort and current row are shared with that window) and the count
// bar. The count label Label6 shows the count the fertilizer window works out.
class FertilizerPane : public QGroupBox
{
    Q_OBJECT

public:
    explicit FertilizerPane(Form2Data &fertilizers, QWidget *parent = nullptr);

    DataGrid *list() const { return m_list; }
    QLineEdit *searchEdit() const { return m_edit1; }
    QWidget *searchBar() const { return m_searchBar; }

    void Edit1Change();
    void dxDBGrid1ColumnClick();
    void dxDBGrid1Click();

    // The search edit takes the width of its bar less 65 pixels.
    void fitSearchEdit();

    // Label6: the number of fertilizers the shared list shows.
    void setCount(int count);

Q_SIGNALS:
    // A double-click in the list: the fertilizer goes into the working composition.
    void addRequested();

private:
    void setupSearchBar();
    void setupList();
    void setupCountBar();

    Form2Data &m_data;
    QWidget *m_searchBar = nullptr;
    QLineEdit *m_edit1 = nullptr;
    DataGrid *m_list = nullptr;
    DataGridColumn *m_nameColumn = nullptr;
    QLabel *m_label6 = nullptr;
};
