#pragma once

#include <QAccessible>
#include <QList>
#include <QString>

class QWidget;

// What a screen reader finds in a window: every visible accessible object under it, as Qt's
// accessibility tree gives them (the objects inside an item view and a chart stay with their
// view: they are reached through its table interface).
struct AccessibleControl
{
    QAccessible::Role role = QAccessible::NoRole;
    QString name;
    QString objectName; // of the object behind it, for failure messages
    bool container = false; // a plain widget that only lays others out
};

QList<AccessibleControl> accessibleControls(QWidget *window);

// Whether a text reads as Russian: it holds a Cyrillic letter.
bool isRussian(const QString &text);
