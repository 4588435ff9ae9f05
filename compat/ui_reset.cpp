// Reset of the stand-in's dialog, control, paint, GDI, cursor and capture state.
#include "ui_internal.h"

void compatResetUi()
{
    compatResetDialogs();
    compatResetPaint();
    compatResetCursors();
    compatResetGdi();
}
