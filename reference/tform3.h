#pragma once

#include <QWidget>

class DataModules;

class TForm3 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm3(DataModules &data, QWidget *parent = nullptr);

private:
    DataModules &m_data;
};
