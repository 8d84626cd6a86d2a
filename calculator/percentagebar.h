#pragma once

#include <QGroupBox>

#include <functional>

class QLineEdit;
class QSlider;

// GroupBox8: the concentration percentage, as the slider RxSlider1 and the edit Edit2 that
// follow each other. After each change the window's `apply` gets the slider's value (captions
// and refresh).
class PercentageBar : public QGroupBox
{
    Q_OBJECT

public:
    using Apply = std::function<void(int percentage)>;

    explicit PercentageBar(Apply apply, QWidget *parent = nullptr);

    QSlider *slider() const { return m_slider; }
    QLineEdit *edit() const { return m_edit2; }
    int value() const;
    QString text() const;

    // The group's caption after a change: Концентрация p %.
    void setPercentageCaption(int percentage);

    void RxSlider1Change();
    void Edit2Change();

private:
    Apply m_apply;
    QSlider *m_slider = nullptr;
    QLineEdit *m_edit2 = nullptr;
};
