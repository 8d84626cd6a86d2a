#pragma once

#include "optionstargets.h"

#include <QWidget>

#include <array>
#include <functional>
#include <initializer_list>

class ColorPicker;
class DataModules;
class Dataset;
class DBCheckBox;
class DBEdit;
class QGridLayout;
class QGroupBox;

// The options window "Опции": the options row's check boxes, the fourteen colour pickers that
// follow each other, the percentage maximum and "Применить".
class TForm18 : public QWidget
{
    Q_OBJECT

public:
    static constexpr int PickerCount = 14;

    explicit TForm18(DataModules &data, QWidget *parent = nullptr);

    // The options row's instance over t_opt.
    Dataset &ADOTable1() const;

    // RzColorComboBox1 to RzColorComboBox14, n from 1.
    ColorPicker *picker(int n) const;

    // The calculator and the autostart timer the options govern, wired by the application.
    void setTargets(OptionsTargets targets) { m_targets = std::move(targets); }
    const OptionsTargets &targets() const { return m_targets; }
    // What "Применить" runs once the row is stored: ApplyOptions, wired by the application.
    void setApplyOptions(std::function<void()> apply) { m_applyOptions = std::move(apply); }

    void Button1Click();
    void FormClose();

    // The change rules: colour the picker's check box, then set its followers.
    void RzColorComboBox1Change();
    void RzColorComboBox2Change();
    void RzColorComboBox3Change();
    void RzColorComboBox4Change();
    void RzColorComboBox5Change();
    void RzColorComboBox6Change();
    void RzColorComboBox7Change();
    void RzColorComboBox8Change();
    void RzColorComboBox9Change();
    void RzColorComboBox10Change();
    void RzColorComboBox11Change();
    void RzColorComboBox12Change();
    void RzColorComboBox13Change();
    void RzColorComboBox14Change();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QGroupBox *setupCompositionGroup();
    QGroupBox *setupSavedSolutionGroup();
    QGroupBox *setupElementGroup();
    QGroupBox *setupGeneralGroup();
    void addPickerRows(QGridLayout *grid, int firstPicker, int lastPicker);
    void followColour(int n, std::initializer_list<int> followers);

    DataModules &m_data;
    OptionsTargets m_targets;
    std::function<void()> m_applyOptions;
    std::array<ColorPicker *, PickerCount> m_pickers{};
    std::array<DBCheckBox *, PickerCount> m_pickerBoxes{};
    DBEdit *m_maxEdit = nullptr;
    bool m_centred = false;
};
