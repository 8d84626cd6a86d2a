#pragma once

#include <QDoubleSpinBox>

// A number editor with spin buttons in the system's number format (decimal separator of the
// system, no thousands separator, no trailing zeros). A point and a comma typed both mark the
// decimals (tryParseDecimal). An empty value stays an empty text until the user types. It never rounds a value it is given:
// a value with more decimals than may be typed is shown whole. Typed text outside the range is
// accepted while typing and brought to the nearest bound when it is read.
class DecimalSpinBox : public QDoubleSpinBox
{
    Q_OBJECT

public:
    explicit DecimalSpinBox(QWidget *parent = nullptr);

    // How many decimals may be typed (0: whole numbers only).
    int maxDecimals() const { return m_maxDecimals; }
    void setMaxDecimals(int decimals);

    // Shows `value` exactly, widening the decimals shown when it has more; clears the edited
    // flag. A null value shows an empty text.
    void setExactValue(const QVariant &value);

    // The longest text that may be typed; 0 for no limit.
    void setMaxLength(int length);

    // Whether the user changed the value since setExactValue (typing or spin buttons).
    bool isEdited() const { return m_edited; }

    // The value to store: the one given to setExactValue while the user changed nothing;
    // otherwise the typed text, brought within the range (null for an empty text).
    QVariant readValue();

    QValidator::State validate(QString &text, int &pos) const override;
    double valueFromText(const QString &text) const override;
    QString textFromValue(double value) const override;
    void fixup(QString &text) const override;
    void stepBy(int steps) override;

protected:
    void showEvent(QShowEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

Q_SIGNALS:
    // Every change the user makes: a key typed or a step by the buttons or the arrow keys.
    void userChanged();

private:
    void userEdited();
    void keepEmptyText();

    int m_maxDecimals = 0;
    int m_shownDecimals = 0;
    int m_maxLength = 0;
    bool m_edited = false;
    QVariant m_original;
};
