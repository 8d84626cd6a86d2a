#include "splitter.h"

#include <QResizeEvent>

#include <algorithm>

namespace {
constexpr int Margin = 20; // the smallest extent a pane keeps
}

Splitter::Splitter(const QString &objectName, Qt::Orientation orientation, int barWidth, int position,
                   QWidget *parent)
    : QSplitter(orientation, parent), m_wanted(position)
{
    setObjectName(objectName);
    setHandleWidth(barWidth);
    setChildrenCollapsible(false);
    setOpaqueResize(true);
    connect(this, &QSplitter::splitterMoved, this, [this](int pos, int) {
        m_wanted = pos;
        Q_EMIT positionChanged(pos);
    });
}

// The extent also honours the panes' own minimum sizes, which Qt would enforce anyway.
int Splitter::minimumPosition() const
{
    if (count() < 2)
        return Margin;
    return std::max(Margin, const_cast<Splitter *>(this)->closestLegalPosition(0, 1));
}

int Splitter::maximumPosition() const
{
    const int extent = orientation() == Qt::Horizontal ? width() : height();
    int most = extent - handleWidth() - Margin;
    if (count() >= 2)
        most = std::min(most, const_cast<Splitter *>(this)->closestLegalPosition(extent, 1));
    return std::max(minimumPosition(), most);
}

int Splitter::position() const
{
    if (!m_sized || count() < 2)
        return m_wanted;
    return sizes().value(0);
}

void Splitter::setPosition(int position)
{
    const int kept = m_sized ? std::clamp(position, minimumPosition(), maximumPosition())
                             : std::max(position, minimumPosition());
    // Also when nothing moves: the position loaded is the one the next showing applies.
    if (kept == this->position()) {
        m_wanted = kept;
        return;
    }
    m_wanted = kept;
    applyPending();
    Q_EMIT positionChanged(this->position());
}

void Splitter::applyPending()
{
    if (count() < 2)
        return;
    const int extent = orientation() == Qt::Horizontal ? width() : height();
    if (extent <= 0)
        return;
    const int first = std::clamp(m_wanted, minimumPosition(), maximumPosition());
    setSizes({first, std::max(0, extent - handleWidth() - first)});
}

void Splitter::resizeEvent(QResizeEvent *event)
{
    // The bar keeps its distance from the left or top edge as the window grows or shrinks,
    // unless the window chose which pane takes the difference.
    if (count() >= 2) {
        bool chosen = false;
        for (int i = 0; i < count(); ++i) {
            const QSizePolicy p = widget(i)->sizePolicy();
            chosen |= (orientation() == Qt::Horizontal ? p.horizontalStretch() : p.verticalStretch()) != 0;
        }
        if (!chosen) {
            setStretchFactor(0, 0);
            setStretchFactor(1, 1);
        }
    }
    QSplitter::resizeEvent(event);
    const bool first = !m_sized;
    m_sized = true;
    if (first)
        applyPending();
    else if (isVisible() && count() >= 2)
        // The bar the grower sees after a resize (the window's own, or a pane that takes the
        // difference) is the position to keep: the next showing applies it, not an older one.
        m_wanted = sizes().value(0);
}

void Splitter::showEvent(QShowEvent *event)
{
    QSplitter::showEvent(event);
    applyPending();
}
