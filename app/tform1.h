#pragma once

#include "data/datamodules.h"

#include <QWidget>

// The main window: owns the one connection (through the data modules) and the launcher buttons.
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm1(QWidget *parent = nullptr);

    DataModules &data() { return m_data; }

private:
    DataModules m_data;
};
