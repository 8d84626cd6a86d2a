#include "tform1.h"

TForm1::TForm1(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Vernolat v1.2"));
}
