// Reset of the stand-in's message queue, timers, clipboard and keyboard state.
#include "window_table.h"

void compatResetClipboard();

void compatResetInput() { compatResetClipboard(); }
