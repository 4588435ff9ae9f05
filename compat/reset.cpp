// compatReset: every area of the stand-in back to its start, in one place, so that no test inherits
// windows, blocks, timers or answers from the one before. Each area's file offers its own reset; this
// is the one list of them.
#include "compat_host.h"
#include "input_queue.h"
#include "ui_internal.h"
#include "window_table.h"

void compatReset()
{
    compatResetFaults();
    compatResetKernel();
    compatResetProfile();
    compatResetWindows();
    compatResetMessageBoxes();
    // Dialogs, controls, painting, cursors and capture, GDI.
    compatResetDialogs();
    compatResetPaint();
    compatResetCursors();
    compatResetGdi();
    // The message queue, timers, keyboard, clipboard and the input recorder.
    compatResetQueue();
    compatResetTimers();
    compatResetKeyboard();
    compatResetClipboard();
    compatResetInputRecord();
}
