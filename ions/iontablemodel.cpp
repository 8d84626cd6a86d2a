#include "iontablemodel.h"

#include "data/textconv.h"

namespace {

QString fixed(double value, int decimals)
{
    return formatFixed(value, decimals, systemDecimalSeparator());
}

} // namespace

void IonTableModel::setIons(const QList<Chemistry::IonRow> &ions, const Chemistry::Balance &balance)
{
    beginResetModel();
    m_rows.clear();
    const auto part = [&](auto keep) {
        for (const Chemistry::IonRow &r : ions) {
            if (keep(Chemistry::ionData(r.ion).charge))
                m_rows.append({Chemistry::ionLabel(r.ion), r.mg, r.mmol, r.meq, false});
        }
    };
    part([](int charge) { return charge > 0; });
    m_rows.append({QStringLiteral("Σ катионов"), std::nullopt, 0, balance.cations, true});
    part([](int charge) { return charge < 0; });
    m_rows.append({QStringLiteral("Σ анионов"), std::nullopt, 0, balance.anions, true});
    part([](int charge) { return charge == 0; });
    endResetModel();
}

int IonTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int IonTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant IonTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row &r = m_rows.at(index.row());
    if (role == Qt::TextAlignmentRole && index.column() > 0)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    switch (index.column()) {
    case 0:
        return r.label;
    case 1:
        return r.mg ? fixed(*r.mg, 2) : QString();
    case 2:
        return r.sum ? QString() : fixed(r.mmol, 3);
    default:
        return fixed(r.meq, 3);
    }
}

QVariant IonTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const captions[] = {"Ион", "мг/л", "ммоль/л", "мг-экв/л"};
    return section >= 0 && section < 4 ? QString::fromUtf8(captions[section]) : QVariant();
}
