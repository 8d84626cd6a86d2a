#include "database.h"

#include "globals.h"
#include "layout.h"
#include "tform1.h"

#include "ui/messages.h"

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
        SaveLayout();
        CloseDatabase();
        OpenDatabase();
    });
}

void CloseMainWindow()
{
    Form1->close();
}
