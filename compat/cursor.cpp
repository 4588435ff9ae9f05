// Cursors and mouse capture of the stand-in: the standard cursors as fixed handles, the current
// cursor, and the one window that holds the capture.
#include "compat_host.h"
#include "ui_internal.h"

static HCURSOR currentCursor = nullptr;
static HWND captureWindow = nullptr;

void compatResetCursors()
{
    currentCursor = nullptr;
    captureWindow = nullptr;
}

// Standard cursor handles are their IDC_ number plus this base; nothing else can look like one.
enum { CURSOR_HANDLE_BASE = 0x00C00000, FIRST_CURSOR_ID = 32512, LAST_CURSOR_ID = 32651 };

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name)
{
    uintptr_t id = reinterpret_cast<uintptr_t>(name);
    // Only the system's own cursors exist here: a module's cursor resources are not modelled.
    if (instance || id < FIRST_CURSOR_ID || id > LAST_CURSOR_ID)
        return nullptr;
    return reinterpret_cast<HCURSOR>((uintptr_t)(CURSOR_HANDLE_BASE + id));
}

int compatCursorId(HCURSOR cursor)
{
    uintptr_t value = reinterpret_cast<uintptr_t>(cursor);
    if (value < CURSOR_HANDLE_BASE + FIRST_CURSOR_ID || value > CURSOR_HANDLE_BASE + LAST_CURSOR_ID)
        return 0;
    return (int)(value - CURSOR_HANDLE_BASE);
}

HCURSOR WINAPI SetCursor(HCURSOR cursor)
{
    HCURSOR previous = currentCursor;
    currentCursor = cursor;
    return previous;
}

HCURSOR compatCurrentCursor() { return currentCursor; }

HCURSOR compatClassCursor(const char *className)
{
    CompatWindowClass *c = compatClassAt(compatFindClass(className));
    return c ? c->cursor : nullptr;
}

HWND WINAPI SetCapture(HWND window)
{
    HWND previous = captureWindow;
    if (compatWindow(window))
        captureWindow = window;
    return previous;
}

BOOL WINAPI ReleaseCapture(void)
{
    captureWindow = nullptr;
    return TRUE;
}

HWND WINAPI GetCapture(void)
{
    if (captureWindow && !compatWindow(captureWindow))
        captureWindow = nullptr; // a destroyed window holds nothing
    return captureWindow;
}
