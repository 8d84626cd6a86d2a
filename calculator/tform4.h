#pragma once

#include <QWidget>

class DataModules;

class TForm4 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm4(DataModules &data, QWidget *parent = nullptr);

private:
    DataModules &m_data;
};
