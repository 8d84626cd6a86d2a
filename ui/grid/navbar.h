#pragma once

#include <QList>
#include <QMap>
#include <QPointer>
#include <QWidget>

#include "data/binding.h"

class QBoxLayout;
class QToolButton;

enum class NavButton { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };

// A navigation bar on a binding, showing only the buttons named at construction, in the order
// given. Each button is a QToolButton named `<bar name><Button>` (`DBNavigator2Insert`), with a
// drawn glyph and no tool-tip until a window gives it one. The buttons are enabled from the
// dataset's state: moves when not at that end, Insert while it can be changed, Delete while it
// holds a row (after "Delete record?"), Edit in browse state on a row, Post and Cancel while a
// row is edited or inserted, Refresh while open. Errors go to the standard error box.
class NavBar : public QWidget
{
    Q_OBJECT

public:
    NavBar(const QString &name, Binding *binding, const QList<NavButton> &buttons,
           QWidget *parent = nullptr);

    Binding *binding() const { return m_binding.data(); }
    QList<NavButton> buttons() const { return m_order; }
    QToolButton *button(NavButton which) const; // nullptr when the bar does not show it

    Qt::Orientation orientation() const { return m_orientation; }
    void setOrientation(Qt::Orientation orientation);

    // The button's name without the bar's: "First" ... "Refresh".
    static QString buttonName(NavButton which);
    // The short Russian name a screen reader gives the button.
    static QString spokenName(NavButton which);

    // Runs the button's action as a click does (used by windows that press a bar's button).
    void press(NavButton which);

    // Re-reads the dataset's state into the buttons.
    void updateButtons();

Q_SIGNALS:
    // A button has acted (Delete also when the question was answered Cancel); not sent when
    // the action failed.
    void clicked(NavButton which);

private:
    void act(NavButton which);

    QPointer<Binding> m_binding;
    QList<NavButton> m_order;
    QMap<NavButton, QToolButton *> m_buttons;
    QBoxLayout *m_layout;
    Qt::Orientation m_orientation = Qt::Horizontal;
};
