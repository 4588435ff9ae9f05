// Reset of the stand-in's message queue, timers, keyboard, clipboard and input recorder.
#include "input_queue.h"
#include "window_table.h"

void compatResetInput()
{
    compatResetQueue();
    compatResetTimers();
    compatResetKeyboard();
    compatResetClipboard();
    compatResetInputRecord();
}
