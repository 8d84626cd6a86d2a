#include "tform18.h"

#include "ui/windowfont.h"

#include "controlcolour.h"
#include "dbcheckbox.h"
#include "dbedit.h"

#include "data/datamodules.h"
#include "data/fields.h"
#include "ui/color/colorpicker.h"
#include "ui/color/wincolor.h"
#include "ui/messages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// One check box with its colour picker, in picker order (picker n is row n - 1).
struct PickerRow
{
    const char *checkBox;
    const char16_t *caption;
    int column; // the field Fields::c(column) that shows the column
    bool checkBoxEnabled;
    bool pickerEnabled;
    int initialColour;
};

constexpr int clCvet = WinColor::rgb(240, 202, 166);

constexpr PickerRow PickerRows[TForm18::PickerCount] = {
    {"DBCheckBox14", u"Кол-во от % концентрации", 11, true, true, WinColor::clTeal},
    {"DBCheckBox15", u"Кол-во г./л.", 21, true, false, WinColor::clAqua},
    {"DBCheckBox16", u"Кол-во на г./n-литров", 22, true, true, WinColor::clGradientActiveCaption},
    {"DBCheckBox17", u"Кол-во от % концентрации г./л.", 23, true, false, WinColor::clTeal},
    {"DBCheckBox18", u"Кол-во от % конц. г./n-литров", 24, true, false,
     WinColor::clGradientActiveCaption},
    {"DBCheckBox1", u"Элемент", 31, false, true, WinColor::clBtnHighlight},
    {"DBCheckBox2", u"Вега", 32, true, true, WinColor::clMoneyGreen},
    {"DBCheckBox3", u"Цвет", 33, true, true, clCvet},
    {"DBCheckBox4", u"Расчёт", 34, false, true, WinColor::clAqua},
    {"DBCheckBox5", u"Расчёт от % концентрации", 35, true, false, WinColor::clTeal},
    {"DBCheckBox6", u"Вега от % концентрации", 36, true, false, WinColor::clMoneyGreen},
    {"DBCheckBox7", u"Цвет от % концентрации", 37, true, false, clCvet},
    {"DBCheckBox8", u"Разница расчёта от Веги", 38, true, false, WinColor::clMoneyGreen},
    {"DBCheckBox9", u"Разница расчёта от Цвета", 39, true, false, clCvet},
};

QString text(const char16_t *s)
{
    return QString::fromUtf16(s);
}

QGroupBox *makeGroup(const QString &name, const QString &caption, QWidget *parent)
{
    auto *group = new QGroupBox(caption, parent);
    group->setObjectName(name);
    return group;
}

QGridLayout *makeGrid(QGroupBox *group)
{
    auto *grid = new QGridLayout(group);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(1);
    grid->setColumnStretch(0, 1);
    return grid;
}

} // namespace

TForm18::TForm18(DataModules &data, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint),
      m_data(data)
{
    setObjectName(QStringLiteral("TForm18"));
    setWindowTitle(QStringLiteral("Опции"));
    setFont(windowFont());
    setFixedSize(872, 246);

    auto *left = new QVBoxLayout;
    left->setSpacing(3);
    left->addWidget(setupCompositionGroup());
    left->addWidget(setupSavedSolutionGroup());
    left->addStretch(1);

    auto *main = new QHBoxLayout(this);
    // Tight: at 8 pt the group captions and the longest check box only just fit the width.
    main->setContentsMargins(2, 3, 2, 3);
    main->setSpacing(3);
    main->addLayout(left);
    main->addWidget(setupElementGroup());
    main->addWidget(setupGeneralGroup());

    // The change rules hang on the pickers only once every picker shows its built colour.
    using Handler = void (TForm18::*)();
    static constexpr Handler Handlers[PickerCount] = {
        &TForm18::RzColorComboBox1Change,  &TForm18::RzColorComboBox2Change,
        &TForm18::RzColorComboBox3Change,  &TForm18::RzColorComboBox4Change,
        &TForm18::RzColorComboBox5Change,  &TForm18::RzColorComboBox6Change,
        &TForm18::RzColorComboBox7Change,  &TForm18::RzColorComboBox8Change,
        &TForm18::RzColorComboBox9Change,  &TForm18::RzColorComboBox10Change,
        &TForm18::RzColorComboBox11Change, &TForm18::RzColorComboBox12Change,
        &TForm18::RzColorComboBox13Change, &TForm18::RzColorComboBox14Change,
    };
    for (int i = 0; i < PickerCount; ++i)
        connect(m_pickers[i], &ColorPicker::colorChanged, this, Handlers[i]);
}

QGroupBox *TForm18::setupCompositionGroup()
{
    QGroupBox *group = makeGroup(QStringLiteral("GroupBox3"),
                                 QStringLiteral("Отображать в меню \"Состав р-ра\""), this);
    addPickerRows(makeGrid(group), 1, 1);
    return group;
}

QGroupBox *TForm18::setupSavedSolutionGroup()
{
    QGroupBox *group = makeGroup(QStringLiteral("GroupBox4"),
                                 QStringLiteral("Отображать в меню \"Готовые р-ры\""), this);
    addPickerRows(makeGrid(group), 2, 5);
    return group;
}

QGroupBox *TForm18::setupElementGroup()
{
    QGroupBox *group = makeGroup(
        QStringLiteral("GroupBox1"),
        QStringLiteral("Отображать в меню \"Концентрация элементов\":"), this);
    QGridLayout *grid = makeGrid(group);
    addPickerRows(grid, 6, 14);
    grid->setRowStretch(9, 1);
    return group;
}

QGroupBox *TForm18::setupGeneralGroup()
{
    QGroupBox *group = makeGroup(QStringLiteral("GroupBox2"), QString(), this);
    auto *box = new QVBoxLayout(group);
    box->setContentsMargins(3, 6, 3, 6);
    box->setSpacing(4);

    Binding *source = &m_data.form18.DataSource1;
    box->addWidget(new DBCheckBox(QStringLiteral("DBCheckBox11"),
                                  QStringLiteral("Автозапуск окна \"Калькулятор\""), source,
                                  Fields::avto, group));
    box->addWidget(new DBCheckBox(QStringLiteral("DBCheckBox12"),
                                  QStringLiteral("Считать Общую сумму солей (мл./л.)"), source,
                                  Fields::ppm1, group));
    box->addWidget(new DBCheckBox(QStringLiteral("DBCheckBox13"),
                                  QStringLiteral("Считать Общую сумму солей (ppm)"), source,
                                  Fields::ppm2, group));

    auto *maxLine = new QHBoxLayout;
    maxLine->setSpacing(4);
    auto *maxLabel = new QLabel(QStringLiteral("Максимальная концентрация:"), group);
    maxLabel->setObjectName(QStringLiteral("Label1"));
    m_maxEdit = new DBEdit(QStringLiteral("DBEdit1"), source, Fields::maxim, group);
    m_maxEdit->setFixedWidth(41);
    m_maxEdit->setAccessibleName(QStringLiteral("Максимальная концентрация, %"));
    maxLabel->setBuddy(m_maxEdit);
    auto *percent = new QLabel(QStringLiteral("%"), group);
    percent->setObjectName(QStringLiteral("Label2"));
    maxLine->addWidget(maxLabel);
    maxLine->addWidget(m_maxEdit);
    maxLine->addWidget(percent);
    maxLine->addStretch(1);
    box->addLayout(maxLine);

    box->addWidget(new DBCheckBox(QStringLiteral("DBCheckBox10"),
                                  QStringLiteral("Отображать меню \"Культура\""), source,
                                  Fields::kult, group));
    box->addStretch(1);

    auto *apply = new QPushButton(QStringLiteral("Применить"), group);
    apply->setObjectName(QStringLiteral("Button1"));
    connect(apply, &QPushButton::clicked, this, [this] { guarded([this] { Button1Click(); }); });
    box->addWidget(apply, 0, Qt::AlignRight);
    return group;
}

void TForm18::addPickerRows(QGridLayout *grid, int firstPicker, int lastPicker)
{
    Binding *source = &m_data.form18.DataSource1;
    QWidget *group = grid->parentWidget();
    for (int n = firstPicker; n <= lastPicker; ++n) {
        const PickerRow &row = PickerRows[n - 1];
        const QString caption = text(row.caption);
        auto *check = new DBCheckBox(QString::fromLatin1(row.checkBox), caption, source,
                                     Fields::c(row.column), group);
        check->setEnabled(row.checkBoxEnabled);
        setControlColour(check, row.initialColour);

        auto *picker = new ColorPicker(group);
        picker->setObjectName(QStringLiteral("RzColorComboBox%1").arg(n));
        picker->setAccessibleName(QStringLiteral("Цвет: %1").arg(caption));
        picker->setEnabled(row.pickerEnabled);
        picker->setColorValue(row.initialColour);
        picker->setFixedWidth(64);

        const int line = n - firstPicker;
        grid->addWidget(check, line, 0);
        grid->addWidget(picker, line, 1);
        m_pickers[n - 1] = picker;
        m_pickerBoxes[n - 1] = check;
    }
}

Dataset &TForm18::ADOTable1() const
{
    return m_data.form18.ADOTable1;
}

ColorPicker *TForm18::picker(int n) const
{
    return n >= 1 && n <= PickerCount ? m_pickers[n - 1] : nullptr;
}

void TForm18::followColour(int n, std::initializer_list<int> followers)
{
    const int colour = picker(n)->colorValue();
    setControlColour(m_pickerBoxes[n - 1], colour);
    for (int follower : followers)
        picker(follower)->setColorValue(colour);
}

void TForm18::RzColorComboBox1Change() { guarded([this] { followColour(1, {4, 10}); }); }
void TForm18::RzColorComboBox2Change() { guarded([this] { followColour(2, {}); }); }
void TForm18::RzColorComboBox3Change() { guarded([this] { followColour(3, {5}); }); }
void TForm18::RzColorComboBox4Change() { guarded([this] { followColour(4, {}); }); }
void TForm18::RzColorComboBox5Change() { guarded([this] { followColour(5, {}); }); }
void TForm18::RzColorComboBox6Change() { guarded([this] { followColour(6, {}); }); }
void TForm18::RzColorComboBox7Change() { guarded([this] { followColour(7, {11, 13}); }); }
void TForm18::RzColorComboBox8Change() { guarded([this] { followColour(8, {12, 14}); }); }
void TForm18::RzColorComboBox9Change() { guarded([this] { followColour(9, {2}); }); }
void TForm18::RzColorComboBox10Change() { guarded([this] { followColour(10, {}); }); }
void TForm18::RzColorComboBox11Change() { guarded([this] { followColour(11, {}); }); }
void TForm18::RzColorComboBox12Change() { guarded([this] { followColour(12, {}); }); }
void TForm18::RzColorComboBox13Change() { guarded([this] { followColour(13, {}); }); }
void TForm18::RzColorComboBox14Change() { guarded([this] { followColour(14, {}); }); }

void TForm18::Button1Click()
{
    Dataset &row = ADOTable1();
    if (row.state() != DatasetState::Edit && row.state() != DatasetState::Insert) {
        if (row.isActive() && row.isEmpty())
            row.append();
        else
            row.edit();
    }
    for (int n = 1; n <= PickerCount; ++n)
        row.setValue(Fields::cl(n), picker(n)->colorValue());
    m_maxEdit->updateRecord();
    row.post();
    if (m_applyOptions)
        m_applyOptions();
    close();
}

void TForm18::FormClose()
{
    Dataset &row = ADOTable1();
    m_maxEdit->updateRecord();
    if (row.isActive() && row.isModified())
        row.post();
}

void TForm18::closeEvent(QCloseEvent *event)
{
    if (guardedOk([this] { FormClose(); }))
        event->accept();
    else
        event->ignore();
}

void TForm18::showEvent(QShowEvent *event)
{
    if (!m_centred) {
        m_centred = true;
        if (QScreen *s = screen())
            move(s->availableGeometry().center() - rect().center());
    }
    QWidget::showEvent(event);
}
