#include "escapecloser.h"

#include <QKeyEvent>
#include <QWidget>

EscapeCloser::EscapeCloser(QWidget *window) : QObject(window), m_window(window)
{
}

void EscapeCloser::install(QWidget *window)
{
    window->installEventFilter(new EscapeCloser(window));
}

bool EscapeCloser::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window || event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
        return false;
    m_window->close();
    return true;
}
