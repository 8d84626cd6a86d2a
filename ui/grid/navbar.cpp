#include "navbar.h"

#include "data/binding.h"
#include "data/dataset.h"
#include "ui/messages.h"

#include <QBoxLayout>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QToolButton>

namespace {

constexpr int GlyphSize = 16;

QPolygonF triangle(bool pointsLeft, qreal left, qreal right)
{
    const qreal top = 3.5, bottom = GlyphSize - 3.5, mid = GlyphSize / 2.0;
    if (pointsLeft)
        return QPolygonF({QPointF(right, top), QPointF(right, bottom), QPointF(left, mid)});
    return QPolygonF({QPointF(left, top), QPointF(left, bottom), QPointF(right, mid)});
}

// The glyphs of a database navigator, drawn rather than shipped as images.
QIcon glyph(NavButton which, const QColor &ink)
{
    QPixmap pixmap(GlyphSize, GlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(ink);
    p.setPen(Qt::NoPen);
    const qreal mid = GlyphSize / 2.0;
    switch (which) {
    case NavButton::First:
        p.drawRect(QRectF(3, 3.5, 2, GlyphSize - 7));
        p.drawPolygon(triangle(true, 6, 12));
        break;
    case NavButton::Prior:
        p.drawPolygon(triangle(true, 5, 11));
        break;
    case NavButton::Next:
        p.drawPolygon(triangle(false, 5, 11));
        break;
    case NavButton::Last:
        p.drawPolygon(triangle(false, 4, 10));
        p.drawRect(QRectF(11, 3.5, 2, GlyphSize - 7));
        break;
    case NavButton::Insert:
        p.drawRect(QRectF(mid - 1, 3, 2, GlyphSize - 6));
        p.drawRect(QRectF(3, mid - 1, GlyphSize - 6, 2));
        break;
    case NavButton::Delete:
        p.drawRect(QRectF(3, mid - 1, GlyphSize - 6, 2));
        break;
    case NavButton::Edit:
        p.drawPolygon(QPolygonF({QPointF(3, 11), QPointF(mid, 4), QPointF(13, 11)}));
        break;
    case NavButton::Post: {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
        break;
    }
    case NavButton::Cancel:
        p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    case NavButton::Refresh: {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(QRectF(3.5, 3.5, 9, 9), 90 * 16, 270 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPolygon(QPolygonF({QPointF(7, 1), QPointF(11, 3.5), QPointF(7, 6)}));
        break;
    }
    }
    return QIcon(pixmap);
}

} // namespace

NavBar::NavBar(const QString &name, Binding *binding, const QList<NavButton> &buttons,
               QWidget *parent)
    : QWidget(parent), m_binding(binding)
{
    setObjectName(name);
    m_layout = new QBoxLayout(QBoxLayout::LeftToRight, this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    const QColor ink = palette().color(QPalette::ButtonText);
    for (NavButton which : buttons) {
        if (m_buttons.contains(which))
            continue;
        auto *b = new QToolButton(this);
        b->setObjectName(name + buttonName(which));
        b->setIcon(glyph(which, ink));
        // The buttons show glyphs only; a screen reader still names them.
        b->setAccessibleName(spokenName(which));
        b->setAutoRaise(false);
        // Taking the focus makes an open grid editor store its value before the button acts.
        b->setFocusPolicy(Qt::StrongFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(b, &QToolButton::clicked, this, [this, which] { press(which); });
        m_layout->addWidget(b);
        m_buttons.insert(which, b);
        m_order.append(which);
    }
    connect(binding, &Binding::reset, this, &NavBar::updateButtons);
    connect(binding, &Binding::stateChanged, this, &NavBar::updateButtons);
    connect(binding, &Binding::currentChanged, this, &NavBar::updateButtons);
    connect(binding, &Binding::rowInserted, this, &NavBar::updateButtons);
    connect(binding, &Binding::rowRemoved, this, &NavBar::updateButtons);
    updateButtons();
}

QToolButton *NavBar::button(NavButton which) const
{
    return m_buttons.value(which, nullptr);
}

void NavBar::setOrientation(Qt::Orientation orientation)
{
    m_orientation = orientation;
    m_layout->setDirection(orientation == Qt::Horizontal ? QBoxLayout::LeftToRight
                                                         : QBoxLayout::TopToBottom);
}

QString NavBar::spokenName(NavButton which)
{
    switch (which) {
    case NavButton::First:
        return QStringLiteral("Первая запись");
    case NavButton::Prior:
        return QStringLiteral("Предыдущая запись");
    case NavButton::Next:
        return QStringLiteral("Следующая запись");
    case NavButton::Last:
        return QStringLiteral("Последняя запись");
    case NavButton::Insert:
        return QStringLiteral("Вставить запись");
    case NavButton::Delete:
        return QStringLiteral("Удалить запись");
    case NavButton::Edit:
        return QStringLiteral("Изменить запись");
    case NavButton::Post:
        return QStringLiteral("Сохранить запись");
    case NavButton::Cancel:
        return QStringLiteral("Отменить изменения");
    case NavButton::Refresh:
        return QStringLiteral("Обновить");
    }
    return QString();
}

QString NavBar::buttonName(NavButton which)
{
    switch (which) {
    case NavButton::First:
        return QStringLiteral("First");
    case NavButton::Prior:
        return QStringLiteral("Prior");
    case NavButton::Next:
        return QStringLiteral("Next");
    case NavButton::Last:
        return QStringLiteral("Last");
    case NavButton::Insert:
        return QStringLiteral("Insert");
    case NavButton::Delete:
        return QStringLiteral("Delete");
    case NavButton::Edit:
        return QStringLiteral("Edit");
    case NavButton::Post:
        return QStringLiteral("Post");
    case NavButton::Cancel:
        return QStringLiteral("Cancel");
    case NavButton::Refresh:
        return QStringLiteral("Refresh");
    }
    return QString();
}

void NavBar::updateButtons()
{
    const Dataset *ds = m_binding ? m_binding->dataset() : nullptr;
    const bool open = ds && m_binding->isEnabled() && ds->isActive();
    const int rows = open ? ds->recordCount() : 0;
    const int row = open ? ds->currentRow() : -1;
    const bool editing =
        open && (ds->state() == DatasetState::Edit || ds->state() == DatasetState::Insert);
    for (auto it = m_buttons.cbegin(); it != m_buttons.cend(); ++it) {
        bool on = false;
        switch (it.key()) {
        case NavButton::First:
        case NavButton::Prior:
            on = row > 0;
            break;
        case NavButton::Next:
        case NavButton::Last:
            on = row >= 0 && row < rows - 1;
            break;
        case NavButton::Insert:
        case NavButton::Refresh:
            on = open;
            break;
        case NavButton::Delete:
            on = rows > 0;
            break;
        case NavButton::Edit:
            on = open && !editing && rows > 0;
            break;
        case NavButton::Post:
        case NavButton::Cancel:
            on = editing;
            break;
        }
        it.value()->setEnabled(on);
    }
}

void NavBar::press(NavButton which)
{
    guarded([this, which] {
        act(which);
        Q_EMIT clicked(which);
    });
    updateButtons();
}

void NavBar::act(NavButton which)
{
    if (!m_binding)
        return;
    Dataset *ds = m_binding->dataset();
    switch (which) {
    case NavButton::First:
        ds->first();
        break;
    case NavButton::Prior:
        ds->prior();
        break;
    case NavButton::Next:
        ds->next();
        break;
    case NavButton::Last:
        ds->last();
        break;
    case NavButton::Insert:
        ds->insert();
        break;
    case NavButton::Delete:
        if (Messages::confirmDelete())
            ds->remove();
        break;
    case NavButton::Edit:
        ds->edit();
        break;
    case NavButton::Post:
        ds->post();
        break;
    case NavButton::Cancel:
        ds->cancel();
        break;
    case NavButton::Refresh:
        ds->refresh();
        break;
    }
}
