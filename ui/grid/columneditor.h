#pragma once

#include <QString>
#include <QStringList>

class Binding;

enum class EditorKind {
    None,           // the column cannot be edited
    Text,           // a line edit
    Spin,           // a number with spin buttons
    Check,          // a check box on a boolean field
    LookupDropDown, // a list of names from another binding; stores the picked row's key
    ChoiceDropDown, // a fixed list of texts; stores the picked text's position, from 0
};

// How a grid column edits its field. Built with the factory functions, e.g.
// `ColumnEditor::spin(0.01, 0, 1000, 2)` or `ColumnEditor::lookup(dsElement, Fields::id_element,
// Fields::Smallname_element, 19)`.
struct ColumnEditor
{
    EditorKind kind = EditorKind::Text;

    // Text and Spin: the longest text the editor takes; 0 for no limit. A stored value that is
    // longer is still shown whole.
    int maxLength = 0;

    // Spin. A bounded editor brings a typed value outside minimum..maximum to the nearest bound;
    // an unbounded one takes any number. `decimals` is how many decimals may be typed (0: whole
    // numbers); a stored value with more decimals is shown and kept whole.
    double step = 1;
    double minimum = 0;
    double maximum = 0;
    bool bounded = false;
    int decimals = 0;

    // LookupDropDown: the rows of `listSource`'s dataset, showing `displayField` and storing
    // `keyField`. The grid column's field is either a lookup field of the grid's dataset (the key
    // goes into that lookup's key field) or a stored field that holds the key itself.
    Binding *listSource = nullptr;
    QString keyField;
    QString displayField;
    int visibleRows = 8;

    // ChoiceDropDown: the texts, the field holding the position of the one shown.
    QStringList choices;

    static ColumnEditor none() { return make(EditorKind::None); }
    static ColumnEditor text(int maxLength = 0)
    {
        ColumnEditor e = make(EditorKind::Text);
        e.maxLength = maxLength;
        return e;
    }
    static ColumnEditor spin(double step, double minimum, double maximum, int decimals)
    {
        ColumnEditor e = make(EditorKind::Spin);
        e.step = step;
        e.minimum = minimum;
        e.maximum = maximum;
        e.bounded = true;
        e.decimals = decimals;
        return e;
    }
    static ColumnEditor unboundedSpin(double step, int decimals)
    {
        ColumnEditor e = make(EditorKind::Spin);
        e.step = step;
        e.decimals = decimals;
        return e;
    }
    static ColumnEditor check() { return make(EditorKind::Check); }
    static ColumnEditor lookup(Binding *listSource, const QString &keyField,
                               const QString &displayField, int visibleRows = 8)
    {
        ColumnEditor e = make(EditorKind::LookupDropDown);
        e.listSource = listSource;
        e.keyField = keyField;
        e.displayField = displayField;
        e.visibleRows = visibleRows;
        return e;
    }

    static ColumnEditor choice(const QStringList &choices)
    {
        ColumnEditor e = make(EditorKind::ChoiceDropDown);
        e.choices = choices;
        e.visibleRows = int(choices.size());
        return e;
    }

private:
    static ColumnEditor make(EditorKind kind)
    {
        ColumnEditor e;
        e.kind = kind;
        return e;
    }
};
