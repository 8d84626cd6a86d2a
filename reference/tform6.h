#pragma once

#include <QWidget>

class DataModules;

class TForm6 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm6(DataModules &data, QWidget *parent = nullptr);

private:
    DataModules &m_data;
};
