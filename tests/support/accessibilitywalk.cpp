#include "accessibilitywalk.h"

#include <QAbstractItemView>
#include <QGraphicsView>
#include <QWidget>

namespace {

void walk(QAccessibleInterface *node, QList<AccessibleControl> &out)
{
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (!child || !child->isValid() || child->state().invisible)
            continue;
        QObject *object = child->object();
        AccessibleControl c;
        c.role = child->role();
        c.name = child->text(QAccessible::Name);
        c.objectName = object ? object->objectName() : QString();
        c.container = object && object->metaObject() == &QWidget::staticMetaObject;
        out.append(c);
        if (!qobject_cast<QAbstractItemView *>(object) && !qobject_cast<QGraphicsView *>(object))
            walk(child, out);
    }
}

} // namespace

QList<AccessibleControl> accessibleControls(QWidget *window)
{
    QList<AccessibleControl> out;
    if (QAccessibleInterface *root = QAccessible::queryAccessibleInterface(window))
        walk(root, out);
    return out;
}

bool isRussian(const QString &text)
{
    for (QChar c : text) {
        if (c.script() == QChar::Script_Cyrillic)
            return true;
    }
    return false;
}
