#pragma once

#include <QApplication>
#include <QWidget>

// A window of our own that may hold rows the grower typed and has not stored yet. Closing the
// program (the main window, or the session's end) would drop them with the datasets, so the
// main window asks every such window to store them first, as its own close would.
class PendingRows
{
public:
    virtual ~PendingRows() = default;

    // Stores what is pending; false when a post failed (the error has been shown).
    virtual bool postPendingRows() = 0;

    // Asks every open window that holds pending rows to store them.
    static void postAll()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *holder = dynamic_cast<PendingRows *>(w); holder && w->isVisible())
                holder->postPendingRows();
        }
    }
};
