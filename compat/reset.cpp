// compatReset: every area of the stand-in back to its start, in one place, so that no test inherits
// windows, blocks, timers or answers from the one before.
#include "compat_host.h"
#include "window_table.h"

void compatReset()
{
    compatResetFaults();
    compatResetKernel();
    compatResetProfile();
    compatResetWindows();
    compatResetMessageBoxes();
    compatResetUi();
    compatResetInput();
}
