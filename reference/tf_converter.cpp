#include "tf_converter.h"

TF_Converter::TF_Converter(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("TF_Converter"));
    setWindowTitle(QStringLiteral("Конвертер"));
}
