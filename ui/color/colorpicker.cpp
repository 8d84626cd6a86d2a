#include "ui/color/colorpicker.h"

#include "ui/color/wincolor.h"

#include <QColorDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>

#include <iterator>

namespace {

ColorPicker::DialogHook &dialogHook()
{
    static ColorPicker::DialogHook hook;
    return hook;
}

std::optional<QColor> askColor(const QColor &initial, QWidget *parent)
{
    if (const auto &hook = dialogHook())
        return hook(initial, parent);
    const QColor picked = QColorDialog::getColor(initial, parent, QStringLiteral("Цвет"));
    if (!picked.isValid())
        return std::nullopt;
    return picked;
}

const QString StandardNames[] = {
    QStringLiteral("Чёрный"),    QStringLiteral("Бордовый"),     QStringLiteral("Зелёный"),
    QStringLiteral("Оливковый"), QStringLiteral("Тёмно-синий"),  QStringLiteral("Пурпурный"),
    QStringLiteral("Бирюзовый"), QStringLiteral("Серый"),        QStringLiteral("Серебристый"),
    QStringLiteral("Красный"),   QStringLiteral("Ярко-зелёный"), QStringLiteral("Жёлтый"),
    QStringLiteral("Синий"),     QStringLiteral("Фуксия"),       QStringLiteral("Голубой"),
    QStringLiteral("Белый"),
};
static_assert(std::size(StandardNames) == std::size(WinColor::StandardColors));

QString systemName(int index)
{
    using namespace WinColor;
    switch (index) {
    case ColorScrollBar: return QStringLiteral("Полоса прокрутки");
    case ColorBackground: return QStringLiteral("Рабочий стол");
    case ColorActiveCaption: return QStringLiteral("Заголовок активного окна");
    case ColorInactiveCaption: return QStringLiteral("Заголовок неактивного окна");
    case ColorMenu: return QStringLiteral("Меню");
    case ColorWindow: return QStringLiteral("Окно");
    case ColorWindowFrame: return QStringLiteral("Рамка окна");
    case ColorMenuText: return QStringLiteral("Текст меню");
    case ColorWindowText: return QStringLiteral("Текст окна");
    case ColorCaptionText: return QStringLiteral("Текст заголовка активного окна");
    case ColorActiveBorder: return QStringLiteral("Граница активного окна");
    case ColorInactiveBorder: return QStringLiteral("Граница неактивного окна");
    case ColorAppWorkspace: return QStringLiteral("Рабочая область приложения");
    case ColorHighlight: return QStringLiteral("Выделение");
    case ColorHighlightText: return QStringLiteral("Выделенный текст");
    case ColorBtnFace: return QStringLiteral("Поверхность кнопки");
    case ColorBtnShadow: return QStringLiteral("Тень кнопки");
    case ColorGrayText: return QStringLiteral("Недоступный текст");
    case ColorBtnText: return QStringLiteral("Текст кнопки");
    case ColorInactiveCaptionText: return QStringLiteral("Текст заголовка неактивного окна");
    case ColorBtnHighlight: return QStringLiteral("Блик кнопки");
    case Color3DDkShadow: return QStringLiteral("Тёмная тень объёмных элементов");
    case Color3DLight: return QStringLiteral("Светлая грань объёмных элементов");
    case ColorInfoText: return QStringLiteral("Текст подсказки");
    case ColorInfoBk: return QStringLiteral("Фон подсказки");
    case ColorHotLight: return QStringLiteral("Гиперссылка");
    case ColorGradientActiveCaption: return QStringLiteral("Градиент заголовка активного окна");
    case ColorGradientInactiveCaption: return QStringLiteral("Градиент заголовка неактивного окна");
    case ColorMenuHilight: return QStringLiteral("Выделение меню");
    case ColorMenuBar: return QStringLiteral("Строка меню");
    default: return QString();
    }
}

const QString DefaultName = QStringLiteral("По умолчанию");
const QString CustomName = QStringLiteral("Другой цвет…");

QString customName(int value)
{
    return QStringLiteral("%1 (%2, %3, %4)")
        .arg(CustomName)
        .arg(WinColor::red(value))
        .arg(WinColor::green(value))
        .arg(WinColor::blue(value));
}

} // namespace

ColorPicker::ColorPicker(QWidget *parent)
    : QComboBox(parent)
    , m_defaultValue(WinColor::clBlack)
    , m_customValue(WinColor::clWhite)
{
    setIconSize(QSize(36, 12));
    setAccessibleName(QStringLiteral("Цвет"));

    addEntry(m_defaultValue, DefaultName);
    for (std::size_t i = 0; i < std::size(WinColor::StandardColors); ++i)
        addEntry(WinColor::StandardColors[i], StandardNames[i]);
    for (int index : WinColor::SystemIndices)
        addEntry(WinColor::systemColor(index), systemName(index) + QStringLiteral(" (системный)"));
    addEntry(m_customValue, customName(m_customValue));
    refreshSwatches();
    select(DefaultIndex);

    connect(this, &QComboBox::activated, this, &ColorPicker::onActivated);
}

int ColorPicker::colorValue() const
{
    return itemData(m_selectedIndex).toInt();
}

void ColorPicker::setColorValue(int value)
{
    int found = customIndex();
    for (int i = 0; i < customIndex(); ++i) {
        if (itemData(i).toInt() == value) {
            found = i;
            break;
        }
    }
    if (found == customIndex())
        setCustomValue(value);
    select(found);
    emit colorChanged(value);
}

int ColorPicker::defaultColorValue() const
{
    return m_defaultValue;
}

void ColorPicker::setDefaultColorValue(int value)
{
    m_defaultValue = value;
    setItemData(DefaultIndex, value);
    setItemIcon(DefaultIndex, swatch(DefaultIndex));
    if (m_selectedIndex == DefaultIndex)
        emit colorChanged(value);
}

int ColorPicker::customColorValue() const
{
    return m_customValue;
}

int ColorPicker::customIndex() const
{
    return count() - 1;
}

void ColorPicker::showPopup()
{
    if (!isEnabled())
        return;
    QComboBox::showPopup();
}

void ColorPicker::setDialogHook(DialogHook hook)
{
    dialogHook() = std::move(hook);
}

void ColorPicker::changeEvent(QEvent *event)
{
    // System colour swatches follow the palette.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        refreshSwatches();
    QComboBox::changeEvent(event);
}

void ColorPicker::addEntry(int value, const QString &name)
{
    addItem(QString(), value);
    const int index = count() - 1;
    setItemData(index, name, Qt::ToolTipRole);
    setItemData(index, name, Qt::AccessibleTextRole);
}

void ColorPicker::onActivated(int index)
{
    if (index == customIndex()) {
        const auto picked = askColor(WinColor::toQColor(m_customValue), this);
        if (!picked) {
            setCurrentIndex(m_selectedIndex);
            return;
        }
        setCustomValue(WinColor::fromQColor(*picked));
    }
    select(index);
    emit colorChanged(colorValue());
}

void ColorPicker::select(int index)
{
    m_selectedIndex = index;
    setCurrentIndex(index);
    setAccessibleDescription(itemData(index, Qt::AccessibleTextRole).toString());
}

void ColorPicker::setCustomValue(int value)
{
    m_customValue = value;
    const int index = customIndex();
    const QString name = customName(value);
    setItemData(index, value);
    setItemData(index, name, Qt::ToolTipRole);
    setItemData(index, name, Qt::AccessibleTextRole);
    setItemIcon(index, swatch(index));
}

void ColorPicker::refreshSwatches()
{
    for (int i = 0; i < count(); ++i)
        setItemIcon(i, swatch(i));
}

QIcon ColorPicker::swatch(int index) const
{
    const QSize size = iconSize();
    const QPalette palette = QGuiApplication::palette();
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QRect box(0, 0, size.width() - 1, size.height() - 1);
    const QColor fill = WinColor::toQColor(itemData(index).toInt(), palette);
    painter.fillRect(box, fill);
    painter.setPen(palette.color(QPalette::Active, QPalette::Shadow));
    painter.drawRect(box);

    // Three dots mark the entry that opens the colour dialog; a dotted inner frame marks the
    // default entry.
    const QColor mark = fill.lightness() > 128 ? Qt::black : Qt::white;
    if (index == customIndex()) {
        const int y = box.center().y();
        for (int k = 0; k < 3; ++k)
            painter.fillRect(box.right() - 12 + 4 * k, y - 1, 2, 2, mark);
    } else if (index == DefaultIndex) {
        painter.setPen(QPen(mark, 1, Qt::DotLine));
        painter.drawRect(box.adjusted(2, 2, -2, -2));
    }
    painter.end();

    // A disabled picker still shows its true colour, which other pickers set.
    QIcon icon(pixmap);
    icon.addPixmap(pixmap, QIcon::Disabled);
    return icon;
}
