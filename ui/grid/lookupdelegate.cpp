#include "lookupdelegate.h"

#include "datagridcolumn.h"

#include "data/binding.h"
#include "data/dataset.h"

#include <QComboBox>

#include <algorithm>

QWidget *LookupDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                      const QModelIndex &index) const
{
    Q_UNUSED(option);
    Q_UNUSED(index);
    const ColumnEditor &e = column()->editor();
    auto *combo = new QComboBox(parent);
    combo->setFrame(false);
    combo->setMaxVisibleItems(std::max(1, e.visibleRows));
    if (e.kind == EditorKind::ChoiceDropDown) {
        for (int i = 0; i < e.choices.size(); ++i)
            combo->addItem(e.choices.at(i), i);
    } else if (e.listSource && e.listSource->dataset()->isActive()) {
        const Dataset *list = e.listSource->dataset();
        const int keyIndex = list->fieldIndex(e.keyField);
        const int nameIndex = list->fieldIndex(e.displayField);
        if (keyIndex >= 0 && nameIndex >= 0) {
            const int rows = list->recordCount();
            for (int r = 0; r < rows; ++r)
                combo->addItem(list->valueAt(r, nameIndex).toString(), list->valueAt(r, keyIndex));
        }
    }
    connect(combo, &QComboBox::activated, this, [this, combo] {
        notifyUserChanged();
        auto *self = const_cast<LookupDelegate *>(this);
        Q_EMIT self->commitData(combo);
        Q_EMIT self->closeEditor(combo);
    });
    announce(combo);
    return combo;
}

void LookupDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *combo = static_cast<QComboBox *>(editor);
    const QVariant key = index.data(Qt::EditRole);
    int found = -1;
    if (!key.isNull()) {
        for (int i = 0; i < combo->count(); ++i) {
            if (combo->itemData(i).toLongLong() == key.toLongLong()) {
                found = i;
                break;
            }
        }
    }
    combo->setCurrentIndex(found);
}

void LookupDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                  const QModelIndex &index) const
{
    auto *combo = static_cast<QComboBox *>(editor);
    if (combo->currentIndex() < 0)
        return;
    const QVariant key = combo->currentData();
    const QVariant old = index.data(Qt::EditRole);
    if (!old.isNull() && old.toLongLong() == key.toLongLong())
        return;
    model->setData(index, key, Qt::EditRole);
}
