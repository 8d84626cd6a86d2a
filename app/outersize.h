#pragma once

#include <QObject>
#include <QSize>

class QWidget;

// The outer size of a top-level window, frame and caption included, as the layout file keeps
// it. A window's frame is known only once the window system has shown it: before that the
// size is set with the frame last seen on another of these windows (none at first), and the
// window is corrected once, as soon as its own frame is known, so that sizes do not creep by
// a frame at every run.
class OuterSize : public QObject
{
    Q_OBJECT

public:
    static void setHeight(QWidget *window, int height);
    static void setWidth(QWidget *window, int width);
    // The outer size now; for a window whose frame is not known yet, the size it will have.
    static QSize of(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit OuterSize(QWidget *window);
    static OuterSize *keeperOf(QWidget *window);
    QSize frame() const; // frame and caption, or the best guess while not known
    bool frameKnown() const;
    void set(QSize outer);
    void correct();

    QWidget *m_window;
    QSize m_wanted;
    bool m_pending = false; // set without knowing the frame
    bool m_shown = false;   // shown once: a zero frame is then a real one
};
