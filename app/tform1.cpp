#include "tform1.h"

#include "data/apperror.h"
#include "ui/messages.h"
#include "ui/pendingrows.h"
#include "ui/windowfont.h"

#include "database.h"
#include "globals.h"
#include "layout.h"

#include "calculator/tform4.h"
#include "calculator/tform5.h"
#include "options/applyoptions.h"
#include "options/tform18.h"
#include "reference/tform2.h"
#include "reference/tform3.h"
#include "ui/messages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

namespace {

constexpr int ClientWidth = 182;
constexpr int ClientHeight = 124;
constexpr int ButtonLeft = 8;
constexpr int ButtonWidth = 169;
constexpr int ButtonHeight = 32;

// Made visible when hidden and brought to the front.
void bringUp(QWidget *window)
{
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

TForm1::TForm1(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Vernolat v1.2"));
    setFont(windowFont());
    setFixedSize(ClientWidth, ClientHeight);

    // Stacked "Элементы", "Удобрения", "Калькулятор"; the keyboard goes Удобрения first.
    m_rzButton3 = addButton("RzButton3", QStringLiteral("Элементы"), QColor(128, 0, 128), 8);
    m_rzButton1 = addButton("RzButton1", QStringLiteral("Удобрения"), QColor(0, 0, 128), 48);
    m_rzButton2 = addButton("RzButton2", QStringLiteral("Калькулятор"), QColor(0, 128, 128), 88);
    setTabOrder(m_rzButton1, m_rzButton2);
    setTabOrder(m_rzButton2, m_rzButton3);
    connect(m_rzButton1, &QPushButton::clicked, this, [this] { guarded([this] { RzButton1Click(); }); });
    connect(m_rzButton2, &QPushButton::clicked, this, [this] { guarded([this] { RzButton2Click(); }); });
    connect(m_rzButton3, &QPushButton::clicked, this, [this] { guarded([this] { RzButton3Click(); }); });

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(100);
    m_timer1->setSingleShot(true);
    connect(m_timer1, &QTimer::timeout, this, [this] { guarded([this] { Timer1Timer(); }); });

    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());

    guarded([this] { m_data.ADOConnection1.connect(); });
}

QPushButton *TForm1::addButton(const char *name, const QString &caption, QColor colour, int top)
{
    auto *b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    QFont f = font();
    f.setBold(true);
    b->setFont(f);
    QPalette p = b->palette();
    p.setColor(QPalette::ButtonText, colour);
    b->setPalette(p);
    b->setGeometry(ButtonLeft, top, ButtonWidth, ButtonHeight);
    return b;
}

void TForm1::setTimer1Enabled(bool enabled)
{
    if (!enabled)
        m_timer1->stop();
    else if (!m_timer1->isActive())
        m_timer1->start();
}

bool TForm1::isTimer1Enabled() const
{
    return m_timer1->isActive();
}

void TForm1::FormShow()
{
    if (Form5)
        Form5->setRenameMode(false);
    OpenDatabase();
    ApplyOptions();
    // Said once: the database cycle reopens the base many times while the program runs.
    try {
        m_data.requireOwnTables();
    } catch (const AppError &e) {
        if (!m_toldOwnTablesProblem)
            Messages::showError(e.text());
        m_toldOwnTablesProblem = true;
    }
    if (m_data.ADOConnection1.onNetworkShare() && !m_toldNetworkShare) {
        m_toldNetworkShare = true;
        Messages::showError(QStringLiteral(
            "База лежит в сетевой папке. Работать с одной базой с нескольких рабочих мест по сети "
            "небезопасно: записи одного места могут испортить записи другого"));
    }
}

void TForm1::FormClose()
{
    // Rows typed in a window of our own that is still open would go with the datasets.
    PendingRows::postAll();
    CloseDatabase();
    // exit(), not quit(): quit() would first ask every window to close, and the other windows
    // must go without their close handling.
    QApplication::exit(0);
}

void TForm1::RzButton1Click()
{
    LoadLayout();
    bringUp(Form2);
}

void TForm1::RzButton2Click()
{
    LoadLayout();
    bringUp(Form4);
}

void TForm1::RzButton3Click()
{
    LoadLayout();
    bringUp(Form3);
}

void TForm1::Timer1Timer()
{
    // Off before the press: a box shown by the press runs events, and this tick must not
    // come again meanwhile or after a failure.
    setTimer1Enabled(false);
    m_rzButton2->click();
}

void TForm1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The window system's own show events (a restore) are no showing of the window.
    if (!event->spontaneous())
        guarded([this] { FormShow(); });
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (guardedOk([this] { FormClose(); }))
        event->accept();
    else
        event->ignore();
}

void ApplyOptions()
{
    if (Form18)
        applyOptions(*Form18, Form18->targets());
}
