#pragma once

#include <QWidget>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;

// "Конвертер": an amount per litre or per cubic decimetre of a water solution turned into the
// percentage the fertilizer window asks for. Stores nothing and touches no table.
class TF_Converter : public QWidget
{
    Q_OBJECT

public:
    explicit TF_Converter(QWidget *parent = nullptr);

    // The units in list order and what an amount in each is divided by to give percent.
    static constexpr int UnitCount = 6;
    static const char *const UnitNames[UnitCount];
    static constexpr double Divisors[UnitCount] = {10000, 10, 10, 10000, 10, 10};

    // The handlers; each throws, the events reach them through guarded().
    void Edit1Change();
    void ComboBox1Change();

private:
    void setupAmount();
    void setupUnit();
    void setupResultBar();
    // "0" or "0  " stands for an empty amount, depending on which control changed.
    void convert(const QString &emptyResult);
    // The unit picked from the list; -1 while the grower has typed into the box instead.
    int unitIndex() const;

    QLineEdit *m_edit1 = nullptr;
    QComboBox *m_comboBox1 = nullptr;
    QLabel *m_unitCaption = nullptr;
    QFrame *m_panel1 = nullptr;
    QLabel *m_label4 = nullptr;
    bool m_unitTyped = false;
};
