#include "database.h"

#include "globals.h"
#include "layout.h"
#include "tform1.h"

#include "ui/messages.h"
#include "ui/pendingrows.h"

void OpenDatabase()
{
    Form1->data().openAll();
    LoadLayout();
}

void CloseDatabase()
{
    Form1->data().closeAll();
}

bool DatabaseCycle()
{
    return guardedOk([] {
        // What our windows still hold is written first: closing the datasets never writes.
        PendingRows::postAll();
        SaveLayout();
        CloseDatabase();
        OpenDatabase();
    });
}

void CloseMainWindow()
{
    Form1->close();
}
