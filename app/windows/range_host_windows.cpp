// The Windows half of the recognised editor: the range dialog as a real top-level window with two
// EDIT controls, brought to the foreground with the start field focused so that synthetic keystrokes
// reach it; the clipboard read back with GetClipboardData; and the observers patched over the
// plug-in's steering imports. Owns the range dialog's window class and the real functions' addresses.
#include <cstring>
#include <string>
#include "app/range_host.h"
#include "range_observers.h"

enum {
    START_FIELD_ID = 101,
    END_FIELD_ID = 102,
    TEXT_LIMIT = 4096 // longest clipboard text read back, bytes
};

static const char rangeClassName[] = "VantropeRangeDialog";

SetClipboardDataProc realSetClipboardData = SetClipboardData;
PostMessageProc realPostMessage = PostMessageA;
KeybdEventProc realKeybdEvent = keybd_event;

static LRESULT CALLBACK rangeDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        // The loop ends the dialog and destroys it; the default would destroy it under the loop.
        rangeDialogCloseRequested();
        return 0;
    case WM_COMMAND:
        // Enter and Escape, which the dialog-message dispatch turns into IDOK and IDCANCEL.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            rangeDialogCloseRequested();
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

static bool ensureRangeClass(HINSTANCE self)
{
    WNDCLASSA existing;
    if (GetClassInfoA(self, rangeClassName, &existing))
        return true;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = rangeDialogProc;
    windowClass.hInstance = self;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = rangeClassName;
    return RegisterClassA(&windowClass) != 0;
}

static HWND makeChild(HWND dialog, const char *className, const char *text, DWORD style, int32_t x, int32_t y,
                      int32_t id)
{
    return CreateWindowExA(className[0] == 'E' ? WS_EX_CLIENTEDGE : 0, className, text, WS_CHILD | WS_VISIBLE | style,
                           x, y, 80, 22, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

HWND rangeDialogCreate(HWND owner, HWND *startField, HWND *endField)
{
    HINSTANCE self = GetModuleHandleA(nullptr);
    if (!ensureRangeClass(self))
        return nullptr;
    HWND dialog = CreateWindowExA(WS_EX_DLGMODALFRAME, rangeClassName, "Range", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                  200, 200, 220, 110, owner, nullptr, self, nullptr);
    if (!dialog)
        return nullptr;
    makeChild(dialog, "STATIC", "Start:", 0, 10, 14, -1);
    *startField = makeChild(dialog, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 60, 12, START_FIELD_ID);
    makeChild(dialog, "STATIC", "End:", 0, 10, 44, -1);
    *endField = makeChild(dialog, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 60, 42, END_FIELD_ID);
    if (!*startField || !*endField) {
        DestroyWindow(dialog);
        return nullptr;
    }
    // Synthetic keystrokes go to the focus of the foreground window: the dialog must be both.
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    SetActiveWindow(dialog);
    SetFocus(*startField);
    UpdateWindow(dialog);
    return dialog;
}

void rangeDialogDestroy(HWND dialog) { DestroyWindow(dialog); }

// The text of a CF_TEXT block, never read past the block's size.
static bool blockText(HANDLE block, std::string *text)
{
    SIZE_T size = block ? GlobalSize(block) : 0;
    const char *bytes = size ? static_cast<const char *>(GlobalLock(block)) : nullptr;
    if (!bytes)
        return false;
    SIZE_T limit = size < (SIZE_T)TEXT_LIMIT ? size : (SIZE_T)TEXT_LIMIT;
    text->assign(bytes, strnlen(bytes, limit));
    GlobalUnlock(block);
    return true;
}

bool rangeHostClipboardText(std::string *text)
{
    if (!OpenClipboard(nullptr))
        return false;
    bool held = blockText(GetClipboardData(CF_TEXT), text);
    CloseClipboard();
    return held;
}

void rangeHostObserveInput() {}

HANDLE WINAPI observedSetClipboardData(UINT format, HANDLE data)
{
    std::string text;
    if (format == CF_TEXT && data) {
        blockText(data, &text);
        rangeHostNoteInput("clipboard", clipboardEventJson(text.c_str()));
    }
    return realSetClipboardData(format, data);
}

BOOL WINAPI observedPostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        rangeHostNoteInput("post", postEventJson(LOWORD(wParam)));
    return realPostMessage(window, message, wParam, lParam);
}

void WINAPI observedKeybdEvent(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra)
{
    rangeHostNoteInput("key", keyEventJson(vk, scan, (flags & KEYEVENTF_KEYUP) != 0));
    realKeybdEvent(vk, scan, flags, extra);
}
