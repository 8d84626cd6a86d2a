#pragma once

#include <QObject>

class QWidget;

// Escape closes a window of our own as its close box does, through its close event, so that
// what the window posts on closing is posted. Only an Escape that no control of the window took
// for itself counts: an open cell editor or a grid row being edited takes it first and cancels.
class EscapeCloser : public QObject
{
public:
    // Watches `window` (a top-level widget) and lives as its child.
    static void install(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit EscapeCloser(QWidget *window);

    QWidget *m_window;
};
