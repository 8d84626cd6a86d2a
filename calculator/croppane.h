#pragma once

#include <QWidget>

class DataGrid;
class Form3Data;
class Form4Data;
class NavBar;

// The crop list under the percentage bar: the crop grid dxDBGrid6 and, along its right edge,
// Panel11 with three one-button navigation bars. The selected crop drives the target rows and
// the saved solutions (master-detail of the data layer). Saving or clicking a crop gives it a
// target row for every element that is not an oxide.
class CropPane : public QWidget
{
    Q_OBJECT

public:
    CropPane(Form4Data &calculator, Form3Data &elements, QWidget *parent = nullptr);
    // The datasets outlive the pane: it takes its hook off the crops.
    ~CropPane() override;

    DataGrid *grid() const { return m_grid; }

    void ADOTable3AfterPost();
    void dxDBGrid6Click();

    // The target fill: appends the missing target rows of the selected crop, then reopens the
    // target rows. Never deletes, changes or merges a row; does nothing without a crop.
    void fillTargets();

private:
    void setupGrid();
    void setupNavigators();
    bool hasSelectedCrop() const;
    bool hasTargetRow(int element);

    Form4Data &m_data;
    Form3Data &m_elements;
    DataGrid *m_grid = nullptr;
};
