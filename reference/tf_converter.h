#pragma once

#include <QWidget>

class TF_Converter : public QWidget
{
    Q_OBJECT

public:
    explicit TF_Converter(QWidget *parent = nullptr);
};
