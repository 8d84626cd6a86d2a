#include "outersize.h"

#include <QEvent>
#include <QWidget>

namespace {

// The frame of the windows shown so far, the guess for those not shown yet.
QSize &lastFrame()
{
    static QSize frame(0, 0);
    return frame;
}

} // namespace

OuterSize::OuterSize(QWidget *window)
    : QObject(window), m_window(window), m_wanted(window->size())
{
    setObjectName(QStringLiteral("OuterSize"));
    m_shown = window->isVisible();
    window->installEventFilter(this);
}

OuterSize *OuterSize::keeperOf(QWidget *window)
{
    auto *keeper = window->findChild<OuterSize *>(QString(), Qt::FindDirectChildrenOnly);
    return keeper ? keeper : new OuterSize(window);
}

bool OuterSize::frameKnown() const
{
    return m_shown || m_window->frameGeometry().size() != m_window->size();
}

QSize OuterSize::frame() const
{
    if (!frameKnown())
        return lastFrame();
    const QSize f = m_window->frameGeometry().size() - m_window->size();
    if (!f.isNull())
        lastFrame() = f;
    return f;
}

void OuterSize::set(QSize outer)
{
    const Qt::WindowStates state = m_window->windowState();
    const Qt::WindowStates full = Qt::WindowMaximized | Qt::WindowFullScreen;
    // A maximised window keeps its maximised size; resizing it would undo the state.
    if (m_window->isVisible() && (state & full))
        return;
    m_wanted = outer;
    m_pending = !frameKnown();
    // A hidden maximised window takes the size for its normal state; resizing drops the flag,
    // which is given back.
    m_window->resize(outer - frame());
    if (state & full)
        m_window->setWindowState(state);
}

void OuterSize::setHeight(QWidget *window, int height)
{
    OuterSize *k = keeperOf(window);
    k->set(QSize(of(window).width(), height));
}

void OuterSize::setWidth(QWidget *window, int width)
{
    OuterSize *k = keeperOf(window);
    k->set(QSize(width, of(window).height()));
}

QSize OuterSize::of(QWidget *window)
{
    auto *k = window->findChild<OuterSize *>(QString(), Qt::FindDirectChildrenOnly);
    if (k && k->m_pending)
        return k->m_wanted;
    if (window->frameGeometry().size() != window->size() || (k && k->m_shown))
        return window->frameGeometry().size();
    return window->size() + lastFrame();
}

void OuterSize::correct()
{
    if (!m_pending || !m_window->isVisible())
        return;
    if (m_window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
        return;
    const QSize f = m_window->frameGeometry().size() - m_window->size();
    if (f.isNull())
        return; // the window system has not framed it yet, or never will
    lastFrame() = f;
    m_pending = false;
    if (m_window->size() != m_wanted - f)
        m_window->resize(m_wanted - f);
}

bool OuterSize::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Show:
            m_shown = true;
            correct();
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
            correct();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
