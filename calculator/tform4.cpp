#include "tform4.h"

#include "data/datamodules.h"

TForm4::TForm4(DataModules &data, QWidget *parent)
    : QWidget(parent, Qt::Window), m_data(data)
{
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("Калькулятор v1.2"));
    resize(943, 725);
}
