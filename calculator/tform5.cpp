#include "tform5.h"

#include "data/datamodules.h"

TForm5::TForm5(DataModules &data, QWidget *parent)
    : QWidget(parent, Qt::Window), m_data(data)
{
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QStringLiteral("Введите название"));
    resize(218, 124);
}
