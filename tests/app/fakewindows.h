#pragma once

#include "ui/splitter.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>

#include <memory>

// Three windows shaped as the layout file sees them: the element window, the fertilizer window
// with RzSplitter1 and the calculator with RzSplitter1 to RzSplitter5 (left | right first).
struct FakeWindows
{
    FakeWindows()
    {
        elements->setObjectName(QStringLiteral("TForm3"));
        fertilizers->setObjectName(QStringLiteral("TForm2"));
        calculator->setObjectName(QStringLiteral("TForm4"));
        addSplitter(fertilizers.get(), QStringLiteral("RzSplitter1"), Qt::Horizontal, 200);
        Splitter *halves = addSplitter(calculator.get(), QStringLiteral("RzSplitter1"),
                                       Qt::Horizontal, 500);
        // The other four sit inside the left half, as in the calculator.
        auto *left = halves->widget(0);
        auto *column = new QHBoxLayout(left); // side by side, each as tall as the window
        for (int n = 2; n <= 5; ++n) {
            column->addWidget(
                twoPanes(new Splitter(QStringLiteral("RzSplitter%1").arg(n), Qt::Vertical, 4, 100)));
        }
    }

    // As in the real windows, the first pane keeps its extent when the window is resized.
    static Splitter *twoPanes(Splitter *s)
    {
        s->addWidget(new QWidget);
        s->addWidget(new QWidget);
        s->setStretchFactor(0, 0);
        s->setStretchFactor(1, 1);
        return s;
    }

    static Splitter *addSplitter(QWidget *window, const QString &name, Qt::Orientation o, int pos)
    {
        auto *s = twoPanes(new Splitter(name, o, 4, pos));
        auto *l = new QVBoxLayout(window);
        l->setContentsMargins(0, 0, 0, 0);
        l->addWidget(s);
        return s;
    }

    Splitter *splitter(QWidget *w, int n) const
    {
        return w->findChild<Splitter *>(QStringLiteral("RzSplitter%1").arg(n));
    }

    void showAll()
    {
        for (QWidget *w : {elements.get(), fertilizers.get(), calculator.get()})
            w->show();
    }

    std::unique_ptr<QWidget> elements = std::make_unique<QWidget>(nullptr, Qt::Window);
    std::unique_ptr<QWidget> fertilizers = std::make_unique<QWidget>(nullptr, Qt::Window);
    std::unique_ptr<QWidget> calculator = std::make_unique<QWidget>(nullptr, Qt::Window);
};
