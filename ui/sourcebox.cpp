#include "sourcebox.h"

#include "data/dataset.h"
#include "data/fields.h"

#include <QSignalBlocker>

SourceBox::SourceBox(QWidget *parent) : QComboBox(parent)
{
    setObjectName(QStringLiteral("SourceBox"));
    setAccessibleName(QStringLiteral("Источник"));
    addItem(QStringLiteral("Рабочий состав"));
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

void SourceBox::follow(const Dataset &solutions)
{
    const bool solution = solutions.isActive() && solutions.currentRow() >= 0;
    const QSignalBlocker quiet(this);
    if (solution) {
        const QString text = QStringLiteral("Готовый раствор: ") + solutions.asString(Fields::name_rar);
        if (count() < 2)
            addItem(text);
        else
            setItemText(1, text);
    } else if (count() > 1) {
        removeItem(1);
    }
}
