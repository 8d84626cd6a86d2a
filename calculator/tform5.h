#pragma once

#include <QWidget>

class DataModules;

class TForm5 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm5(DataModules &data, QWidget *parent = nullptr);

private:
    DataModules &m_data;
};
