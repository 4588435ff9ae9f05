// The stand-in's predefined controls: push buttons and check boxes, edit fields, static texts and
// scroll bars, as window classes whose procedures keep their state in the window record.
#include <cstring>
#include "compat_host.h"
#include "ui_internal.h"

static bool pointInClient(HWND window, LPARAM lParam)
{
    RECT client;
    if (!GetClientRect(window, &client))
        return false;
    int x = (int16_t)LOWORD(lParam), y = (int16_t)HIWORD(lParam);
    return x >= 0 && y >= 0 && x < client.right && y < client.bottom;
}

// WM_GETTEXT for every control: the window record's text, truncated to the buffer.
static LRESULT controlDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETTEXT)
        return GetWindowTextA(window, reinterpret_cast<LPSTR>(lParam), (int)wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

static void notifyClicked(HWND button, CompatWindow &w)
{
    WPARAM wParam = (WPARAM)((uint32_t)(uint16_t)w.id | ((uint32_t)BN_CLICKED << 16));
    SendMessageA(w.parent, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(button));
}

// A release over the button that holds the capture is a click: an automatic check box toggles first.
static void buttonReleased(HWND button, LPARAM lParam)
{
    if (GetCapture() != button)
        return;
    ReleaseCapture();
    CompatWindow *w = compatWindow(button);
    if (!w || !pointInClient(button, lParam))
        return;
    if ((w->style & 0x0F) == BS_AUTOCHECKBOX)
        w->checkState = w->checkState == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    notifyClicked(button, *w);
}

static LRESULT CALLBACK buttonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam)
{
    CompatWindow *w = compatWindow(button);
    if (!w)
        return 0;
    bool groupBox = (w->style & 0x0F) == BS_GROUPBOX;
    switch (message) {
    case BM_GETCHECK:
        return w->checkState;
    case BM_SETCHECK:
        w->checkState = (UINT)wParam;
        return 0;
    case BM_CLICK:
        // As Wine does: a press and a release at 0, 0, also on a disabled button (a driver that
        // stands for a person checks IsWindowEnabled itself).
        if (groupBox)
            return 0;
        SendMessageA(button, WM_LBUTTONDOWN, 0, 0);
        SendMessageA(button, WM_LBUTTONUP, 0, 0);
        return 0;
    case WM_LBUTTONDOWN:
        if (!groupBox) {
            SetFocus(button);
            SetCapture(button);
        }
        return 0;
    case WM_LBUTTONUP:
        buttonReleased(button, lParam);
        return 0;
    default:
        return controlDefault(button, message, wParam, lParam);
    }
}

// Edit fields keep their text in the window record; keyboard input and pasting act on it there.
static LRESULT CALLBACK editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    return controlDefault(edit, message, wParam, lParam);
}

static LRESULT CALLBACK staticProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam)
{
    return controlDefault(label, message, wParam, lParam);
}

static int clampToRange(const CompatWindow &w, int position)
{
    int low = w.scrollMin < w.scrollMax ? w.scrollMin : w.scrollMax;
    int high = w.scrollMin < w.scrollMax ? w.scrollMax : w.scrollMin;
    return position < low ? low : (position > high ? high : position);
}

static LRESULT CALLBACK scrollBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam)
{
    CompatWindow *w = compatWindow(bar);
    if (!w)
        return 0;
    int previous = w->scrollPos;
    switch (message) {
    case SBM_SETRANGE: // the position follows into the new range; the old one is returned if it moved
        w->scrollMin = (int)(int32_t)wParam;
        w->scrollMax = (int)(int32_t)lParam;
        w->scrollPos = clampToRange(*w, w->scrollPos);
        return w->scrollPos != previous ? previous : 0;
    case SBM_SETPOS:
        w->scrollPos = clampToRange(*w, (int)(int32_t)wParam);
        return previous;
    case SBM_GETPOS:
        return w->scrollPos;
    case SBM_GETRANGE:
        if (wParam)
            *reinterpret_cast<int32_t *>(wParam) = w->scrollMin;
        if (lParam)
            *reinterpret_cast<int32_t *>(lParam) = w->scrollMax;
        return 0;
    default:
        return controlDefault(bar, message, wParam, lParam);
    }
}

static const struct {
    uint16_t ordinal;   // template class ordinal
    const char *name;   // registered class name
    WNDPROC proc;
} controlClasses[] = {
    {0x0080, "Button", buttonProc},
    {0x0081, "Edit", editProc},
    {0x0082, "Static", staticProc},
    {0x0084, "ScrollBar", scrollBarProc},
};

const char *compatControlClassName(uint16_t ordinal)
{
    for (const auto &c : controlClasses)
        if (c.ordinal == ordinal)
            return c.name;
    return nullptr;
}

static void registerOnce(const char *name, WNDPROC proc)
{
    // A class cursor changed with SetClassLongPtrA stays changed for every later dialog of the process.
    if (compatFindClass(name) >= 0)
        return;
    int index = compatRegisterClass(name, proc);
    compatClassAt(index)->cursor = LoadCursorA(nullptr, IDC_ARROW);
}

void compatRegisterDialogClasses()
{
    for (const auto &c : controlClasses)
        registerOnce(c.name, c.proc);
    registerOnce("#32770", compatDialogWindowProc);
}
