#include "tform3.h"

#include "data/datamodules.h"

TForm3::TForm3(DataModules &data, QWidget *parent)
    : QWidget(parent, Qt::Window), m_data(data)
{
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("Справочник элементов"));
    resize(465, 630);
}
