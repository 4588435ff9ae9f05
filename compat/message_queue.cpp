// The stand-in's one thread message queue: posted messages in order, then key events, then a quit
// request, then due timers — the order in which Win32 hands them out. Owns the posted queue, the quit
// request and the count of loops ended because nothing could arrive any more.
#include <deque>
#include "compat_host.h"
#include "input_queue.h"
#include "window_table.h"

static std::deque<MSG> posted;
static bool quitRequested = false;
static int quitCode = 0;
static int idleQuits = 0;

void compatResetQueue()
{
    posted.clear();
    quitRequested = false;
    quitCode = 0;
    idleQuits = 0;
}

int compatQueuedMessages() { return (int)posted.size(); }
int compatIdleQuits() { return idleQuits; }

// The window itself or one of its descendants, following child-to-parent links only.
static bool isSelfOrDescendant(HWND window, HWND ancestor)
{
    for (int depth = 0; window && depth < 64; depth++) {
        if (window == ancestor)
            return true;
        CompatWindow *w = compatWindow(window);
        if (!w || !(w->style & WS_CHILD))
            return false;
        window = w->parent;
    }
    return false;
}

bool compatMessageMatches(const MSG &msg, HWND window, UINT first, UINT last)
{
    if (window && !isSelfOrDescendant(msg.hwnd, window))
        return false;
    if (first == 0 && last == 0)
        return true;
    return msg.message >= first && msg.message <= last;
}

void compatQueueMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg = MSG();
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    posted.push_back(msg);
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Recorded as the call is made, whatever its outcome, as an observer of the real call would see it.
    if (message == WM_COMMAND)
        compatRecordInput({COMPAT_INPUT_POST, std::string(), (uint32_t)LOWORD(wParam), 0, 0, false});
    if (window && !compatWindow(window))
        return FALSE;
    compatQueueMessage(window, message, wParam, lParam);
    return TRUE;
}

void WINAPI PostQuitMessage(int code)
{
    quitRequested = true;
    quitCode = code;
}

static bool takePosted(MSG *msg, bool remove, HWND window, UINT first, UINT last)
{
    for (size_t i = 0; i < posted.size(); i++) {
        if (!compatMessageMatches(posted[i], window, first, last))
            continue;
        *msg = posted[i];
        if (remove)
            posted.erase(posted.begin() + (std::ptrdiff_t)i);
        return true;
    }
    return false;
}

static bool takeQuit(MSG *msg, bool remove)
{
    if (!quitRequested)
        return false;
    *msg = MSG();
    msg->message = WM_QUIT;
    msg->wParam = (WPARAM)quitCode;
    msg->time = GetTickCount();
    if (remove)
        quitRequested = false;
    return true;
}

// One look at everything that is waiting now; the clock does not move.
static bool takeWaiting(MSG *msg, bool remove, HWND window, UINT first, UINT last)
{
    return takePosted(msg, remove, window, first, last) || compatTakeKeyMessage(msg, remove, window, first, last) ||
           takeQuit(msg, remove) || compatTakeTimerMessage(msg, remove, window, first, last);
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT first, UINT last, UINT remove)
{
    if (!msg)
        return FALSE;
    return takeWaiting(msg, (remove & PM_REMOVE) != 0, window, first, last) ? TRUE : FALSE;
}

// Waiting means letting the virtual clock run to the next due timer. When nothing is waiting and no
// timer lives, nothing can ever arrive on this one thread: the loop gets WM_QUIT rather than hang.
BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT first, UINT last)
{
    if (!msg)
        return -1;
    for (int attempt = 0; attempt < 2; attempt++) {
        if (takeWaiting(msg, true, window, first, last))
            return msg->message == WM_QUIT ? FALSE : TRUE;
        uint32_t delay = 0;
        if (!compatNextTimerDelay(&delay, window, first, last))
            break;
        compatClockAdvance(delay);
    }
    idleQuits++;
    *msg = MSG();
    msg->message = WM_QUIT;
    msg->time = GetTickCount();
    return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG *msg)
{
    if (!msg || msg->message != WM_KEYDOWN)
        return FALSE;
    // Characters the modelled keys produce; Ctrl with a letter gives its control code (Ctrl+V 0x16).
    WPARAM vk = msg->wParam;
    WPARAM ch = 0;
    if (vk >= 'A' && vk <= 'Z')
        ch = compatKeyIsDown(VK_CONTROL) ? vk - 'A' + 1 : vk - 'A' + 'a';
    else if (vk >= '0' && vk <= '9')
        ch = vk;
    else if (vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE)
        ch = vk;
    if (!ch)
        return FALSE;
    compatQueueMessage(msg->hwnd, WM_CHAR, ch, msg->lParam);
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG *msg)
{
    if (!msg)
        return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        // Only the callback of a live timer is called, never an arbitrary value from lParam.
        TIMERPROC proc = compatLiveTimerProc(msg->hwnd, msg->wParam, reinterpret_cast<TIMERPROC>(msg->lParam));
        if (proc)
            proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    if (!msg->hwnd || compatKeyboardDispatch(*msg))
        return 0;
    return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}
