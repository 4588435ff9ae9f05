// The stand-in's window table and the window calls that need nothing but it: classes, parents, texts,
// window longs (subclassing), message sending, enabled state, focus and client size. A destroyed
// window's record goes with it (and its canvas and device-context records with the GDI's), so that a
// host showing thousands of dialogs holds only the windows that live.
#include <strings.h>
#include <cstring>
#include <map>
#include "compat_host.h"
#include "ui_internal.h"

static std::vector<CompatWindowClass> classes;
// Keyed by serial number in creation order; a serial is never given out twice, so a stale handle
// never finds a newer window.
static std::map<size_t, CompatWindow> windows;
static size_t nextSerial = 0;
static HWND focusWindow = nullptr;
static int destroyedSubclassed = 0; // windows destroyed with a procedure not their own

void compatResetWindows()
{
    classes.clear();
    windows.clear();
    nextSerial = 0;
    focusWindow = nullptr;
    destroyedSubclassed = 0;
}

int compatFindClass(const char *name)
{
    for (size_t i = 0; i < classes.size(); i++)
        if (strcasecmp(classes[i].name.c_str(), name) == 0)
            return (int)i;
    return -1;
}

int compatRegisterClass(const char *name, WNDPROC proc)
{
    int index = compatFindClass(name);
    if (index < 0) {
        classes.push_back(CompatWindowClass());
        index = (int)classes.size() - 1;
        classes[(size_t)index].name = name;
    }
    classes[(size_t)index].proc = proc;
    return index;
}

// Handles are small odd numbers so that a zeroed or stale pointer never looks like one.
static HWND handleOf(size_t serial) { return reinterpret_cast<HWND>((uintptr_t)(serial * 2 + 0x1001)); }

std::vector<HWND> compatLiveWindowHandles()
{
    std::vector<HWND> handles;
    handles.reserve(windows.size());
    for (const auto &entry : windows)
        handles.push_back(handleOf(entry.first));
    return handles;
}

int compatLiveWindows() { return (int)windows.size(); }

bool compatIsHostWindow(HWND window)
{
    CompatWindow *w = compatWindow(window);
    if (!w)
        return false;
    for (; w; w = compatWindow(w->parent))
        if (w->isDialog)
            return false;
    return true;
}

int compatLiveHostWindows()
{
    int n = 0;
    for (const auto &entry : windows)
        n += compatIsHostWindow(handleOf(entry.first)) ? 1 : 0;
    return n;
}

CompatWindow *compatWindow(HWND window)
{
    uintptr_t value = reinterpret_cast<uintptr_t>(window);
    if (value < 0x1001 || (value - 0x1001) % 2)
        return nullptr;
    auto found = windows.find((value - 0x1001) / 2);
    return found == windows.end() ? nullptr : &found->second;
}

static bool subclassed(const CompatWindow &w) { return w.proc != w.createdProc; }

int compatUnrestoredSubclasses()
{
    int n = destroyedSubclassed;
    for (const auto &entry : windows)
        n += subclassed(entry.second) ? 1 : 0;
    return n;
}

CompatWindowClass *compatClassOf(HWND window)
{
    CompatWindow *w = compatWindow(window);
    if (!w || w->classIndex < 0)
        return nullptr;
    return &classes[(size_t)w->classIndex];
}

CompatWindowClass *compatClassAt(int index)
{
    if (index < 0 || (size_t)index >= classes.size())
        return nullptr;
    return &classes[(size_t)index];
}

HWND compatCreateWindow(const char *className, HWND parent, WNDPROC proc, int width, int height)
{
    int classIndex = compatFindClass(className);
    if (classIndex < 0)
        classIndex = compatRegisterClass(className, proc ? proc : DefWindowProcA);
    size_t serial = nextSerial++;
    CompatWindow &w = windows[serial];
    w.live = true;
    w.classIndex = classIndex;
    w.parent = parent;
    w.proc = proc ? proc : classes[(size_t)classIndex].proc;
    w.createdProc = w.proc;
    w.width = width;
    w.height = height;
    w.style = parent ? (WS_CHILD | WS_VISIBLE) : WS_VISIBLE;
    HWND handle = handleOf(serial);
    if (CompatWindow *p = compatWindow(parent))
        p->children.push_back(handle);
    return handle;
}

HWND WINAPI GetParent(HWND window)
{
    CompatWindow *w = compatWindow(window);
    if (!w)
        return nullptr;
    // As in Win32: a child's parent, or the owner of a top-level window.
    return (w->style & WS_CHILD) ? w->parent : w->owner;
}

int WINAPI GetClassNameA(HWND window, LPSTR name, int size)
{
    if (compatCallFails(COMPAT_GET_CLASS_NAME))
        return 0;
    CompatWindowClass *c = compatClassOf(window);
    if (!c || size <= 0)
        return 0;
    int length = (int)c->name.size();
    if (length > size - 1)
        length = size - 1;
    memcpy(name, c->name.data(), (size_t)length);
    name[length] = '\0';
    return length;
}

BOOL WINAPI IsWindow(HWND window) { return compatWindow(window) ? TRUE : FALSE; }

BOOL WINAPI DestroyWindow(HWND window)
{
    CompatWindow *w = compatWindow(window);
    if (!w)
        return FALSE;
    std::vector<HWND> children = w->children;
    for (HWND child : children)
        DestroyWindow(child);
    SendMessageA(window, WM_DESTROY, 0, 0);
    w = compatWindow(window);
    if (!w)
        return TRUE; // destroyed again while it handled WM_DESTROY
    if (subclassed(*w))
        destroyedSubclassed++;
    if (CompatWindow *p = compatWindow(w->parent)) {
        std::vector<HWND> &siblings = p->children;
        for (size_t i = 0; i < siblings.size(); i++)
            if (siblings[i] == window) {
                siblings.erase(siblings.begin() + (std::ptrdiff_t)i);
                break;
            }
    }
    if (focusWindow == window)
        focusWindow = nullptr;
    compatForgetWindowGdi(window);
    uintptr_t value = reinterpret_cast<uintptr_t>(window);
    windows.erase((value - 0x1001) / 2);
    return TRUE;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND window, int index)
{
    CompatWindow *w = compatWindow(window);
    if (!w)
        return 0;
    switch (index) {
    case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_ID:
        return w->id;
    case GWL_STYLE:
        return (LONG_PTR)(LONG)w->style;
    default:
        return 0;
    }
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND window, int index, LONG_PTR value)
{
    CompatWindow *w = compatWindow(window);
    if (!w)
        return 0;
    LONG_PTR previous = GetWindowLongPtrA(window, index);
    switch (index) {
    case GWLP_WNDPROC:
        w->proc = reinterpret_cast<WNDPROC>(value);
        break;
    case GWL_ID:
        w->id = (int)value;
        break;
    case GWL_STYLE:
        w->style = (DWORD)value;
        break;
    default:
        return 0;
    }
    return previous;
}

// The 32-bit calls cannot carry a procedure: like 64-bit Windows, they refuse GWLP_WNDPROC.
LONG WINAPI GetWindowLongA(HWND window, int index)
{
    return index == GWLP_WNDPROC ? 0 : (LONG)GetWindowLongPtrA(window, index);
}

LONG WINAPI SetWindowLongA(HWND window, int index, LONG value)
{
    return index == GWLP_WNDPROC ? 0 : (LONG)SetWindowLongPtrA(window, index, value);
}

ULONG_PTR WINAPI SetClassLongPtrA(HWND window, int index, LONG_PTR value)
{
    CompatWindowClass *c = compatClassOf(window);
    if (!c || index != GCLP_HCURSOR)
        return 0;
    ULONG_PTR previous = reinterpret_cast<ULONG_PTR>(c->cursor);
    c->cursor = reinterpret_cast<HCURSOR>(value);
    return previous;
}

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return proc ? proc(window, message, wParam, lParam) : 0;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    CompatWindow *w = compatWindow(window);
    switch (message) {
    case WM_SETTEXT:
        if (w)
            w->text = lParam ? reinterpret_cast<const char *>(lParam) : "";
        return TRUE;
    case WM_GETTEXTLENGTH:
        return w ? (LRESULT)w->text.size() : 0;
    case WM_GETTEXT:
        return GetWindowTextA(window, reinterpret_cast<LPSTR>(lParam), (int)wParam);
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_PAINT:
        if (w)
            w->invalid = false;
        return 0;
    default:
        return 0;
    }
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CompatWindow *w = compatWindow(window);
    if (!w || !w->proc)
        return 0;
    return w->proc(window, message, wParam, lParam);
}

BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text)
{
    if (!compatWindow(window))
        return FALSE;
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    return TRUE;
}

int WINAPI GetWindowTextA(HWND window, LPSTR text, int size)
{
    CompatWindow *w = compatWindow(window);
    if (!w || size <= 0)
        return 0;
    int length = (int)w->text.size();
    if (length > size - 1)
        length = size - 1;
    memcpy(text, w->text.data(), (size_t)length);
    text[length] = '\0';
    return length;
}

BOOL WINAPI EnableWindow(HWND window, BOOL enable)
{
    CompatWindow *w = compatWindow(window);
    if (!w)
        return FALSE;
    BOOL wasDisabled = w->enabled ? FALSE : TRUE;
    w->enabled = enable != FALSE;
    return wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND window)
{
    CompatWindow *w = compatWindow(window);
    return (w && w->enabled) ? TRUE : FALSE;
}

HWND WINAPI SetFocus(HWND window)
{
    HWND previous = focusWindow;
    if (window && !compatWindow(window))
        return nullptr;
    focusWindow = window;
    return previous;
}

HWND WINAPI GetFocus(void) { return focusWindow; }

BOOL WINAPI GetClientRect(HWND window, LPRECT rect)
{
    CompatWindow *w = compatWindow(window);
    if (!w || !rect)
        return FALSE;
    rect->left = 0;
    rect->top = 0;
    rect->right = w->width;
    rect->bottom = w->height;
    return TRUE;
}
