#include "layout.h"

#include "globals.h"
#include "windowlayout.h"

#include "calculator/tform4.h"
#include "reference/tform2.h"
#include "reference/tform3.h"
#include "stock/stockwindow.h"

namespace {

WindowLayout windows()
{
    return WindowLayout(Form3, Form2, Form4);
}

const QString StockTemperatureKey = QStringLiteral("StockTemperature");

} // namespace

void LoadLayout()
{
    windows().load();
}

void SaveLayout()
{
    windows().save();
}

void WriteDefaultLayout()
{
    windows().writeDefaults();
}

void LoadStockTemperature()
{
    bool ok = false;
    const int celsius = LayoutFile::ownSetting(LayoutFile::FileName, StockTemperatureKey)
                            .value_or(QString())
                            .toInt(&ok);
    if (ok && celsius >= Stock::MinTemperature && celsius <= Stock::MaxTemperature)
        StockForm->setTemperature(celsius);
}

void SaveStockTemperature()
{
    LayoutFile::writeOwnSetting(LayoutFile::FileName, StockTemperatureKey,
                                QString::number(StockForm->temperature()));
}
