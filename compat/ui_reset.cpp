// Reset of the stand-in's dialog, control, GDI, cursor and capture state.
#include "window_table.h"

void compatResetUi() {}
