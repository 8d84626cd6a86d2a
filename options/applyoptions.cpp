#include "applyoptions.h"

// Being written together with the options window.
void ApplyOptions()
{
}
