#pragma once

#include <QWidget>

class DataModules;

class TForm2 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm2(DataModules &data, QWidget *parent = nullptr);

private:
    DataModules &m_data;
};
