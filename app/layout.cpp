#include "layout.h"

#include "globals.h"
#include "windowlayout.h"

#include "calculator/tform4.h"
#include "reference/tform2.h"
#include "reference/tform3.h"

namespace {

WindowLayout windows()
{
    return WindowLayout(Form3, Form2, Form4);
}

} // namespace

void LoadLayout()
{
    windows().load();
}

void SaveLayout()
{
    windows().save();
}

void WriteDefaultLayout()
{
    windows().writeDefaults();
}
