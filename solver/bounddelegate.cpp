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
    const QString separator = QRegularExpression::escape(QString(systemDecimalSeparator()));
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,%1}(%2\\d{0,%3})?")
                               .arg(IntegerDigits)
                               .arg(separator)
                               .arg(AmountDecimals)),
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
    const bool bound = tryParseDouble(text, systemDecimalSeparator(), v);
    model->setData(index, bound ? QVariant(v) : QVariant(), Qt::EditRole);
}
