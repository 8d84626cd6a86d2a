#include "windowlayout.h"

#include "outersize.h"

#include "data/apperror.h"
#include "ui/splitter.h"

#include <QWidget>

using namespace LayoutFile;

namespace {

const char *splitterName(int line)
{
    static const char *const names[] = {"RzSplitter1", "RzSplitter1", "RzSplitter2",
                                        "RzSplitter3", "RzSplitter4", "RzSplitter5"};
    return names[line - FertilizersSplitter1];
}

} // namespace

WindowLayout::WindowLayout(QWidget *elements, QWidget *fertilizers, QWidget *calculator,
                           QString path)
    : m_elements(elements), m_fertilizers(fertilizers), m_calculator(calculator),
      m_path(std::move(path))
{
}

QWidget *WindowLayout::window(int line) const
{
    switch (line) {
    case ElementsMaximised:
    case ElementsHeight:
    case ElementsWidth:
        return m_elements;
    case FertilizersMaximised:
    case FertilizersHeight:
    case FertilizersWidth:
    case FertilizersSplitter1:
        return m_fertilizers;
    default:
        return m_calculator;
    }
}

Splitter *WindowLayout::splitter(int line) const
{
    QWidget *w = window(line);
    const QString name = QString::fromLatin1(splitterName(line));
    auto *s = w->findChild<Splitter *>(name);
    if (!s)
        throw AppError(QStringLiteral("%1 has no splitter %2").arg(w->objectName(), name));
    return s;
}

void WindowLayout::writeDefaults()
{
    write(m_path, Defaults);
}

void WindowLayout::load()
{
    if (!canOpen(m_path))
        writeDefaults();
    const QStringList lines = read(m_path);

    for (int line = ElementsMaximised; line <= CalculatorMaximised; ++line) {
        QWidget *w = window(line);
        if (isMaximised(lines[line]))
            w->setWindowState(w->windowState() | Qt::WindowMaximized);
    }
    for (int line = ElementsHeight; line <= CalculatorWidth; ++line) {
        const int value = toInteger(lines[line]);
        const bool height = (line - ElementsHeight) % 2 == 0;
        if (height)
            OuterSize::setHeight(window(line), value);
        else
            OuterSize::setWidth(window(line), value);
    }
    for (int line = FertilizersSplitter1; line <= CalculatorSplitter5; ++line)
        splitter(line)->setPosition(toInteger(lines[line]));
}

Values WindowLayout::current() const
{
    Values v{};
    for (int line = ElementsMaximised; line <= CalculatorMaximised; ++line) {
        const Qt::WindowStates state = window(line)->windowState();
        v[line] = (state & Qt::WindowMaximized) && !(state & Qt::WindowMinimized) ? 1 : 0;
    }
    for (int line = ElementsHeight; line <= CalculatorWidth; line += 2) {
        const QSize outer = OuterSize::of(window(line));
        v[line] = outer.height();
        v[line + 1] = outer.width();
    }
    for (int line = FertilizersSplitter1; line <= CalculatorSplitter5; ++line)
        v[line] = splitter(line)->position();
    return v;
}

void WindowLayout::save()
{
    // The values are gathered before the file is touched: a missing splitter leaves it as it was.
    write(m_path, current());
}
