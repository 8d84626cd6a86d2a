#include "tform18.h"

#include "data/datamodules.h"

TForm18::TForm18(DataModules &data, QWidget *parent)
    : QWidget(parent, Qt::Window), m_data(data)
{
    setObjectName(QStringLiteral("TForm18"));
    setWindowTitle(QStringLiteral("Опции"));
    resize(872, 246);
}
