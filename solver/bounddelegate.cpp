#include "bounddelegate.h"

#include "calc/run/numbers.h"
#include "data/textconv.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace {

// A double holds 15 significant digits: with the amount's decimals, every integer digit up to
// that stays whole.
constexpr int IntegerDigits = 15 - AmountDecimals;

} // namespace

QWidget *BoundDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                     const QModelIndex &) const
{
    auto *edit = new QLineEdit(parent);
    edit->setAccessibleName(QStringLiteral("Не больше г/л."));
    // Either mark may be typed for the decimals.
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,%1}([.,]\\d{0,%2})?").arg(IntegerDigits).arg(AmountDecimals)),
        edit));
    return edit;
}

void BoundDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QVariant bound = index.data(Qt::EditRole);
    static_cast<QLineEdit *>(editor)->setText(bound.isNull() ? QString()
                                                             : formatGeneral(bound.toDouble()));
}

void BoundDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                 const QModelIndex &index) const
{
    const QString text = static_cast<QLineEdit *>(editor)->text().trimmed();
    double v = 0;
    const bool bound = tryParseDecimal(text, v);
    model->setData(index, bound ? QVariant(v) : QVariant(), Qt::EditRole);
}
