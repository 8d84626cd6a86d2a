#pragma once

#include <QColor>
#include <QComboBox>

#include <functional>
#include <optional>

// A drop-down of colour swatches without names: a default entry, the 16 standard colours, the
// system colours and a custom entry, in that order. Each entry keeps its Windows colour value
// (see wincolor.h) as item data (Qt::UserRole) and its Russian name as tool-tip and accessible
// text. Choosing the custom entry asks for a colour in the colour dialog; the colour picked
// becomes the custom entry's colour, and cancelling returns to the entry chosen before.
//
// Set and read the colour through colorValue()/setColorValue() only; calling setCurrentIndex()
// directly bypasses colorChanged().
class ColorPicker : public QComboBox
{
    Q_OBJECT

public:
    // Asks for a colour, starting from `initial`; nullopt when the person cancels.
    using DialogHook = std::function<std::optional<QColor>(const QColor &initial, QWidget *parent)>;

    static constexpr int DefaultIndex = 0;
    static constexpr int FirstStandardIndex = 1;
    static constexpr int FirstSystemIndex = 17;

    explicit ColorPicker(QWidget *parent = nullptr);

    // The value of the current entry.
    int colorValue() const;

    // Selects the first entry holding exactly `value` or, when none does, makes `value` the custom
    // entry's colour and selects that. Emits colorChanged() every time, even when the value is
    // the one already shown, so that whatever hangs on the signal runs on each setting.
    void setColorValue(int value);

    // The default entry's value, clBlack unless set. Changing it keeps the selection; when the
    // default entry is current, the colour changes with it and colorChanged() is emitted.
    int defaultColorValue() const;
    void setDefaultColorValue(int value);

    int customColorValue() const;
    int customIndex() const;

    // Disabled pickers do not open.
    void showPopup() override;

    // Replaces the colour dialog, for tests; an empty function restores the dialog.
    static void setDialogHook(DialogHook hook);

signals:
    // Every setting: a pick by the person (even of the entry already current) or setColorValue().
    void colorChanged(int value);

protected:
    void changeEvent(QEvent *event) override;

private:
    void addEntry(int value, const QString &name);
    void onActivated(int index);
    void select(int index);
    void setCustomValue(int value);
    void refreshSwatches();
    QIcon swatch(int index) const;

    int m_defaultValue;
    int m_customValue;
    int m_selectedIndex = DefaultIndex;
};
