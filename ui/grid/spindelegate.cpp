#include "spindelegate.h"

#include "datagridcolumn.h"
#include "decimalspinbox.h"

QWidget *SpinDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                    const QModelIndex &index) const
{
    Q_UNUSED(option);
    Q_UNUSED(index);
    const ColumnEditor &e = column()->editor();
    auto *spin = new DecimalSpinBox(parent);
    spin->setFrame(false);
    spin->setMaxDecimals(e.decimals);
    if (e.bounded)
        spin->setRange(e.minimum, e.maximum);
    else
        spin->setRange(-UnboundedLimit, UnboundedLimit);
    spin->setSingleStep(e.step);
    spin->setMaxLength(e.maxLength);
    connect(spin, &DecimalSpinBox::userChanged, this, [this] { notifyUserChanged(); });
    announce(spin);
    return spin;
}

void SpinDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *spin = static_cast<DecimalSpinBox *>(editor);
    // What the user is typing wins over a redraw of the row.
    if (spin->isEdited())
        return;
    spin->setExactValue(index.data(Qt::EditRole));
}

void SpinDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                const QModelIndex &index) const
{
    auto *spin = static_cast<DecimalSpinBox *>(editor);
    if (!spin->isEdited())
        return;
    const QVariant value = spin->readValue();
    if (model->setData(index, value, Qt::EditRole))
        spin->setExactValue(value);
}
