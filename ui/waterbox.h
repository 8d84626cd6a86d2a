#pragma once

#include <QComboBox>

#include <optional>

class Connection;

// "Вода": pure water or one of the stored water analyses.
class WaterBox : public QComboBox
{
    Q_OBJECT

public:
    explicit WaterBox(QWidget *parent = nullptr);

    // Lists the analyses the base holds now, keeping the one chosen; one since deleted leaves
    // pure water chosen. Signals nothing: the caller reads next.
    void fill(Connection &connection);
    // The chosen analysis's key; none for pure water.
    std::optional<int> chosen() const;
};
