// Message boxes of the stand-in: each box is handed to the responder the host set, and counted.
#include "compat_host.h"
#include "window_table.h"

static CompatMessageBoxResponder responder = nullptr;
static void *responderContext = nullptr;
static int boxesShown = 0;

void compatSetMessageBoxResponder(CompatMessageBoxResponder r, void *context)
{
    responder = r;
    responderContext = context;
}

int compatMessageBoxCount() { return boxesShown; }

// Resets with the windows, since a box is a window of its own on Win32.
void compatResetMessageBoxes()
{
    responder = nullptr;
    responderContext = nullptr;
    boxesShown = 0;
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR title, UINT flags)
{
    boxesShown++;
    if (responder)
        return responder(owner, text ? text : "", title ? title : "", flags, responderContext);
    switch (flags & MB_TYPEMASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    default:
        return IDOK;
    }
}
