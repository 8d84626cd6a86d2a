#include "tform2.h"

#include "data/datamodules.h"

TForm2::TForm2(DataModules &data, QWidget *parent)
    : QWidget(parent, Qt::Window), m_data(data)
{
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Справочник удобрений"));
    resize(642, 622);
}
