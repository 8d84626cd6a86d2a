#pragma once

#include <QSplitter>

// A splitter with one movable bar whose position is the first pane's extent in pixels, as the
// layout file stores it. Positions are kept within the splitter's extent.
class Splitter : public QSplitter
{
    Q_OBJECT

public:
    Splitter(const QString &objectName, Qt::Orientation orientation, int barWidth, int position,
             QWidget *parent = nullptr);

    int position() const;
    // Brought within the extent; a position equal to the current one changes nothing, any other
    // sends positionChanged (the window's change handling).
    void setPosition(int position);
    int minimumPosition() const;
    int maximumPosition() const;

Q_SIGNALS:
    void positionChanged(int position);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void applyPending();

    // The position asked for, or the one shown since the last resize; applied once the
    // splitter has a size and at every showing.
    int m_wanted;
    bool m_sized = false;
};
