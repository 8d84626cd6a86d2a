#include "dbedit.h"

#include "data/binding.h"
#include "data/dataset.h"
#include "ui/messages.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

namespace {

// Takes the one mouse press that is being delivered: the press that took the focus from an
// edit whose text was refused. The error box has swallowed its release, so a button given
// the press would stay drawn pressed; the press is answered by the error box instead.
class RefusedPress : public QObject
{
public:
    RefusedPress()
    {
        qApp->installEventFilter(this);
        // Removed once the event loop runs again, pressed or not (a wheel also takes focus).
        deleteLater();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!watched->isWidgetType())
            return false;
        if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
            return false;
        qApp->removeEventFilter(this);
        return true;
    }
};

} // namespace

DBEdit::DBEdit(const QString &name, Binding *binding, const QString &field, QWidget *parent)
    : QLineEdit(parent), m_binding(binding), m_field(field)
{
    setObjectName(name);
    connect(this, &QLineEdit::textEdited, this, &DBEdit::onTextEdited);
    // Rows read afresh drop whatever was typed, as they drop an unposted row.
    connect(m_binding, &Binding::reset, this, &DBEdit::reload);
    connect(m_binding, &Binding::currentChanged, this, &DBEdit::reload);
    connect(m_binding, &Binding::valuesChanged, this, &DBEdit::refresh);
    connect(m_binding, &Binding::rowChanged, this, &DBEdit::refresh);
    connect(m_binding, &Binding::stateChanged, this, &DBEdit::onStateChanged);
    reload();
}

bool DBEdit::hasData() const
{
    return m_binding->isEnabled() && m_binding->dataset()->isActive();
}

void DBEdit::refresh()
{
    setReadOnly(!hasData());
    if (m_pending)
        return;
    setText(hasData() ? m_binding->dataset()->asString(m_field) : QString());
}

void DBEdit::reload()
{
    m_pending = false;
    refresh();
}

void DBEdit::onStateChanged()
{
    // Posted or cancelled without this text: it is gone with the edit.
    if (m_pending && m_binding->dataset()->state() == DatasetState::Browse)
        m_pending = false;
    refresh();
}

void DBEdit::onTextEdited()
{
    if (!hasData())
        return;
    m_pending = true;
    const bool ok = guardedOk([this] {
        Dataset *ds = m_binding->dataset();
        if (ds->state() == DatasetState::Browse) {
            if (ds->isEmpty())
                ds->append();
            else
                ds->edit();
        }
    });
    if (!ok)
        reload();
}

void DBEdit::updateRecord()
{
    if (!m_pending || !hasData())
        return;
    Dataset *ds = m_binding->dataset();
    if (ds->state() == DatasetState::Browse) {
        if (ds->isEmpty())
            ds->append();
        else
            ds->edit();
    }
    ds->setAsString(m_field, text());
    m_pending = false;
}

void DBEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // Another window taking the focus (the error box among them) is not leaving the edit.
    if (m_committing || event->reason() == Qt::ActiveWindowFocusReason
        || event->reason() == Qt::PopupFocusReason)
        return;
    m_committing = true;
    const bool ok = guardedOk([this] { updateRecord(); });
    m_committing = false;
    if (!ok) {
        selectAll();
        setFocus(Qt::OtherFocusReason);
        if (event->reason() == Qt::MouseFocusReason)
            new RefusedPress;
    }
}

void DBEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_pending) {
        reload();
        selectAll();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
