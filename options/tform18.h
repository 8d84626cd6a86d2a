#pragma once

#include <QWidget>

class DataModules;

class TForm18 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm18(DataModules &data, QWidget *parent = nullptr);

private:
    DataModules &m_data;
};
