#include "gridkeys.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>

namespace GridKeys {

namespace {

// Qt moves the focus on a plain Tab only; with Ctrl held a view would take the key as a move
// between its cells, or drop it. The key goes on without Ctrl, to the editor when one is open
// (it hands its value over and closes), else to the view, which then lets the focus go.
class TabLeaver : public QObject
{
public:
    explicit TabLeaver(QAbstractItemView *view) : QObject(view), m_view(view) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_view || event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)
            || !(key->modifiers() & Qt::ControlModifier))
            return false;
        QWidget *target = QApplication::focusWidget();
        if (!target || (target != m_view && !m_view->isAncestorOf(target)))
            target = m_view;
        QKeyEvent plain(QEvent::KeyPress, key->key(), key->modifiers() & ~Qt::ControlModifier,
                        key->text());
        QCoreApplication::sendEvent(target, &plain);
        return true;
    }

private:
    QAbstractItemView *m_view;
};

} // namespace

void leaveOnTab(QAbstractItemView *view)
{
    view->setTabKeyNavigation(false);
    view->installEventFilter(new TabLeaver(view));
}

} // namespace GridKeys
