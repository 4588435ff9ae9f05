// Synthetic keyboard input of the stand-in. keybd_event queues a key event, as the system's input
// queue does; the event becomes a key message for whatever window has the focus when a message loop
// takes it (type-ahead follows the focus, as in Win32). Also what an edit control does with Ctrl+V,
// and the dialog manager's Tab navigation (IsDialogMessageA). Owns the pending key events, the
// synchronous key state and which edit fields have all of their text selected.
#include <strings.h>
#include <deque>
#include <set>
#include "compat_host.h"
#include "input_queue.h"
#include "window_table.h"

static std::deque<CompatKeyEvent> pending;
static std::vector<CompatKeyEvent> sent;
static bool keyDown[256];
static std::set<HWND> wholeTextSelected; // edit fields entered by Tab: a paste replaces their text

void compatResetKeyboard()
{
    pending.clear();
    sent.clear();
    for (bool &down : keyDown)
        down = false;
    wholeTextSelected.clear();
}

const std::vector<CompatKeyEvent> &compatKeyEvents() { return sent; }
bool compatKeyIsDown(BYTE vk) { return keyDown[vk]; }

void WINAPI keybd_event(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra)
{
    CompatKeyEvent event = {vk, scan, flags, extra};
    sent.push_back(event);
    pending.push_back(event);
    bool up = (flags & KEYEVENTF_KEYUP) != 0;
    compatRecordInput({COMPAT_INPUT_KEY, std::string(), 0, vk, scan, up});
}

static MSG keyMessage(const CompatKeyEvent &event, HWND target)
{
    bool up = (event.flags & KEYEVENTF_KEYUP) != 0;
    uint32_t bits = 1u | ((uint32_t)event.scan << 16);
    if (event.flags & 0x0001) // KEYEVENTF_EXTENDEDKEY
        bits |= 1u << 24;
    if (up || keyDown[event.vk])
        bits |= 1u << 30;
    if (up)
        bits |= 1u << 31;
    MSG msg = MSG();
    msg.hwnd = target;
    msg.message = up ? WM_KEYUP : WM_KEYDOWN;
    msg.wParam = event.vk;
    msg.lParam = (LPARAM)(int32_t)bits;
    msg.time = GetTickCount();
    return msg;
}

bool compatTakeKeyMessage(MSG *msg, bool remove, HWND window, UINT first, UINT last)
{
    // With no window focused a key event reaches nobody and is dropped, looked at or taken.
    while (!pending.empty() && !GetFocus())
        pending.pop_front();
    if (pending.empty())
        return false;
    MSG candidate = keyMessage(pending.front(), GetFocus());
    if (!compatMessageMatches(candidate, window, first, last))
        return false;
    *msg = candidate;
    if (remove) {
        keyDown[pending.front().vk] = candidate.message == WM_KEYDOWN;
        pending.pop_front();
    }
    return true;
}

static bool isEdit(HWND window)
{
    CompatWindowClass *c = compatClassOf(window);
    return c && strcasecmp(c->name.c_str(), "Edit") == 0;
}

// A single-line edit control's paste: the clipboard text up to its first line break replaces the
// selected text, which is the whole text after Tab entered the field and nothing (caret at the end)
// otherwise. The new text goes in through WM_SETTEXT, so the control's own procedure keeps it.
static void pasteIntoEdit(HWND edit)
{
    if (!OpenClipboard(edit))
        return;
    std::string text;
    bool available = compatClipboardPasteText(&text);
    CloseClipboard();
    if (!available)
        return;
    size_t lineEnd = text.find_first_of("\r\n");
    if (lineEnd != std::string::npos)
        text.resize(lineEnd);
    CompatWindow *w = compatWindow(edit);
    std::string result = wholeTextSelected.count(edit) ? text : w->text + text;
    wholeTextSelected.erase(edit);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(result.c_str()));
}

bool compatKeyboardDispatch(const MSG &msg)
{
    if (msg.message != WM_CHAR || msg.wParam != 0x16 || !isEdit(msg.hwnd))
        return false;
    pasteIntoEdit(msg.hwnd);
    return true;
}

static bool isTabStop(HWND window)
{
    CompatWindow *w = compatWindow(window);
    return w && w->enabled && (w->style & WS_TABSTOP) && (w->style & WS_VISIBLE);
}

// Moves the focus to the next (or, with Shift down, the previous) tab stop among the dialog's
// children, wrapping around; an edit field entered this way has all of its text selected.
static void moveTabFocus(HWND dialog)
{
    CompatWindow *d = compatWindow(dialog);
    std::vector<HWND> children = d->children;
    int count = (int)children.size();
    int current = -1;
    for (int i = 0; i < count; i++)
        if (children[(size_t)i] == GetFocus())
            current = i;
    int step = keyDown[0x10] ? count - 1 : 1; // VK_SHIFT
    int start = current < 0 ? (step == 1 ? count - 1 : 0) : current;
    for (int n = 1; n <= count; n++) {
        HWND next = children[(size_t)((start + step * n) % count)];
        if (!isTabStop(next))
            continue;
        SetFocus(next);
        if (isEdit(next))
            wholeTextSelected.insert(next);
        return;
    }
}

// Tab between the dialog's tab stops; every other message of the dialog or its children is
// translated and dispatched. Messages for other windows are left to the caller (FALSE).
BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG msg)
{
    if (!msg || !compatWindow(dialog) || !msg->hwnd || !compatMessageMatches(*msg, dialog, 0, 0))
        return FALSE;
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_TAB) {
        moveTabFocus(dialog);
        return TRUE;
    }
    TranslateMessage(msg);
    DispatchMessageA(msg);
    return TRUE;
}
