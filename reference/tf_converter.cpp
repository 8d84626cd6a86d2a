#include "tf_converter.h"

#include "referencelook.h"

#include "calc/run/numbers.h"
#include "ui/messages.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace {

constexpr int ClientWidth = 216;
constexpr int ClientHeight = 70;
constexpr int BarHeight = 23;
constexpr int EditTop = 20;
constexpr int EditHeight = 21;

// Two blanks keep the result clear of the window's edge.
const QString ResultTail = QStringLiteral("  ");

QLabel *boldLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(ReferenceLook::bold(parent->font()));
    return l;
}

} // namespace

const char *const TF_Converter::UnitNames[UnitCount] = {
    "мг./л.", "г./л.", "мл./л.", "мг./дм3", "г./дм3", "мл./дм3",
};

TF_Converter::TF_Converter(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TF_Converter"));
    setWindowTitle(QStringLiteral("Конвертер"));
    ReferenceLook::apply(this);
    setupAmount();
    setupUnit();
    // A font wider than the one the window was drawn for widens it rather than cut a caption.
    setFixedSize(std::max(ClientWidth, m_unitCaption->x() + m_unitCaption->sizeHint().width() + 6),
                 ClientHeight);
    setupResultBar();
    setTabOrder(m_edit1, m_comboBox1);
    ReferenceLook::centre(this);
}

void TF_Converter::setupAmount()
{
    boldLabel("Label1", QStringLiteral("Кол-во:"), this)->move(8, 4);
    m_edit1 = new QLineEdit(QStringLiteral("0"), this);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setAccessibleName(QStringLiteral("Количество"));
    m_edit1->setGeometry(8, EditTop, 89, EditHeight);
    connect(m_edit1, &QLineEdit::textChanged, this, [this] { guarded([this] { Edit1Change(); }); });
}

void TF_Converter::setupUnit()
{
    m_unitCaption = boldLabel("Label2", QStringLiteral("Ед-ца измерения:"), this);
    m_unitCaption->move(104, 4);
    m_comboBox1 = new QComboBox(this);
    m_comboBox1->setObjectName(QStringLiteral("ComboBox1"));
    m_comboBox1->setAccessibleName(QStringLiteral("Единица измерения"));
    m_comboBox1->setEditable(true);
    // Typed text stays as typed: no completion, nothing added to the list.
    m_comboBox1->setCompleter(nullptr);
    m_comboBox1->setInsertPolicy(QComboBox::NoInsert);
    for (const char *unit : UnitNames)
        m_comboBox1->addItem(QString::fromUtf8(unit));
    m_comboBox1->setCurrentIndex(1);
    m_comboBox1->setGeometry(104, EditTop, 105, EditHeight);
    connect(m_comboBox1, &QComboBox::activated, this, [this] {
        m_unitTyped = false;
        guarded([this] { ComboBox1Change(); });
    });
    connect(m_comboBox1->lineEdit(), &QLineEdit::textEdited, this, [this] {
        m_unitTyped = true;
        guarded([this] { ComboBox1Change(); });
    });
}

void TF_Converter::setupResultBar()
{
    m_panel1 = new QFrame(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_panel1->setGeometry(0, ClientHeight - BarHeight, width(), BarHeight);
    auto *bar = new QHBoxLayout(m_panel1);
    bar->setContentsMargins(1, 0, 1, 0);
    bar->setSpacing(0);
    bar->addWidget(boldLabel("Label3", QStringLiteral("  Процентное содержание:"), m_panel1));
    bar->addStretch(1);
    // At the bar's right edge, growing leftwards as its text gets longer.
    m_label4 = new QLabel(QStringLiteral("0") + ResultTail, m_panel1);
    m_label4->setObjectName(QStringLiteral("Label4"));
    m_label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar->addWidget(m_label4);
}

int TF_Converter::unitIndex() const
{
    return m_unitTyped ? -1 : m_comboBox1->currentIndex();
}

void TF_Converter::convert(const QString &emptyResult)
{
    const QString amount = m_edit1->text();
    if (amount.isEmpty()) {
        m_label4->setText(emptyResult);
        return;
    }
    const int unit = unitIndex();
    if (unit < 0 || unit >= UnitCount)
        return;
    const long double value = strToFloat(amount, systemDecimalSeparator());
    const long double percent = value / static_cast<long double>(Divisors[unit]);
    m_label4->setText(formatGeneral(static_cast<double>(percent)) + ResultTail);
}

void TF_Converter::Edit1Change()
{
    convert(QStringLiteral("0"));
}

void TF_Converter::ComboBox1Change()
{
    convert(QStringLiteral("0") + ResultTail);
}
