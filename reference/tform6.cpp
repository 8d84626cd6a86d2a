#include "tform6.h"

#include "data/datamodules.h"

TForm6::TForm6(DataModules &data, QWidget *parent)
    : QWidget(parent, Qt::Window), m_data(data)
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("Спарвочник коэффициентов"));
    resize(400, 300);
}
