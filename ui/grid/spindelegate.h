#pragma once

#include "columndelegate.h"

// A DecimalSpinBox with the column's step, range and decimals. Only a value the user changed
// is written back, so opening and leaving the editor never alters a stored value.
class SpinDelegate : public ColumnDelegate
{
    Q_OBJECT

public:
    using ColumnDelegate::ColumnDelegate;

    // The range of a spin editor without bounds.
    static constexpr double UnboundedLimit = 1e15;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
};
