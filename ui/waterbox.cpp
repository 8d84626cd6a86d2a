#include "waterbox.h"

#include "data/basequeries.h"

#include <QSignalBlocker>

WaterBox::WaterBox(QWidget *parent) : QComboBox(parent)
{
    setObjectName(QStringLiteral("WaterBox"));
    setAccessibleName(QStringLiteral("Вода"));
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    setMinimumContentsLength(16);
    addItem(QStringLiteral("Без учёта воды"), QVariant());
}

void WaterBox::fill(Connection &connection)
{
    const QVariant was = currentData();
    const QSignalBlocker quiet(this);
    clear();
    addItem(QStringLiteral("Без учёта воды"), QVariant());
    for (const BaseRows::WaterAnalysis &a : BaseQueries(connection).waterAnalyses())
        addItem(a.name, a.id);
    const int at = was.isNull() ? 0 : findData(was);
    setCurrentIndex(at < 0 ? 0 : at);
}

std::optional<int> WaterBox::chosen() const
{
    const QVariant v = currentData();
    if (v.isNull())
        return std::nullopt;
    return v.toInt();
}
