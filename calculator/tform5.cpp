#include "tform5.h"

#include "compositionsource.h"

#include "ui/messages.h"
#include "ui/windowfont.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// name_rar holds 50 characters; the edit takes no more, so a name is never refused on save.
constexpr int NameLength = 50;

} // namespace

TForm5::TForm5(DataModules &data, CompositionSource &calculator, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint),
      m_solutions(data), m_calculator(calculator)
{
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QStringLiteral("Введите название"));
    setFont(windowFont());
    resize(218, 124);

    m_edit1 = new QLineEdit(this);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setFixedWidth(185);
    m_edit1->setMaxLength(NameLength);
    m_edit1->setAccessibleName(QStringLiteral("Название раствора"));
    m_edit1->installEventFilter(this);

    m_button1 = new QPushButton(QStringLiteral("Сохранить"), this);
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button2 = new QPushButton(QStringLiteral("Отмена"), this);
    m_button2->setObjectName(QStringLiteral("Button2"));
    for (QPushButton *b : {m_button1, m_button2}) {
        b->setFixedSize(75, 25);
        b->setAutoDefault(false);
    }
    connect(m_button1, &QPushButton::clicked, this, [this] { guarded([this] { Button1Click(); }); });
    connect(m_button2, &QPushButton::clicked, this, [this] { guarded([this] { Button2Click(); }); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_button1);
    buttons->addWidget(m_button2);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_edit1, 0, Qt::AlignHCenter);
    layout->addLayout(buttons);
    layout->addStretch();
    setTabOrder(m_edit1, m_button1);
    setTabOrder(m_button1, m_button2);
}

void TForm5::showDialog()
{
    show();
    raise();
    activateWindow();
}

void TForm5::showToSave()
{
    m_renameMode = false;
    showDialog();
}

void TForm5::showToRename(const QString &name)
{
    m_renameMode = true;
    showDialog();
    setNameText(name);
}

QString TForm5::nameText() const
{
    return m_edit1->text();
}

void TForm5::setNameText(const QString &text)
{
    m_edit1->setText(text);
}

void TForm5::Button1Click()
{
    const QString name = m_edit1->text();
    if (m_renameMode)
        m_solutions.renameCurrent(name);
    else if (!name.isEmpty())
        create(name);
    hide();
}

void TForm5::create(const QString &name)
{
    // Fails on a percentage that is not a whole number: the row stays appended with its name.
    const QVariant solution = m_solutions.appendSolution(name, m_calculator.percentageText());
    // An amount still open in the working-composition grid belongs to what is saved.
    m_calculator.commitCompositionEditor();
    m_solutions.copyCompositionInto(solution);
}

void TForm5::Button2Click()
{
    hide();
}

bool TForm5::Edit1KeyDown(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Button1Click();
        return true;
    case Qt::Key_Escape:
        Button2Click();
        return true;
    default:
        return false;
    }
}

bool TForm5::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        bool taken = false;
        guarded([&] { taken = Edit1KeyDown(key); });
        // Enter and Escape are ours even when saving failed: the edit does nothing with them.
        return taken || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm5::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}
