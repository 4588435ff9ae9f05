// Timers of the stand-in on the virtual clock: thread timers (no window, the id chosen here) and
// window timers. A due timer becomes a WM_TIMER message when the queue is looked at, with its callback
// in lParam; taking it re-arms the timer one period later. Owns the timer table and the id counter.
#include <vector>
#include "compat_host.h"
#include "input_queue.h"
#include "window_table.h"

struct CompatTimer {
    HWND window;        // null for a thread timer
    UINT_PTR id;        // the caller's id for window timers, chosen here for thread timers
    uint32_t period;    // milliseconds, 10 .. 0x7FFFFFFF as Win32 clamps it
    uint32_t due;       // virtual-clock time of the next expiry, milliseconds
    TIMERPROC proc;     // callback, or null: the window procedure gets WM_TIMER
};

static std::vector<CompatTimer> timers;
static UINT_PTR nextThreadTimerId = 1;

void compatResetTimers()
{
    timers.clear();
    nextThreadTimerId = 1;
}

int compatLiveTimers() { return (int)timers.size(); }

static CompatTimer *findTimer(HWND window, UINT_PTR id)
{
    for (CompatTimer &t : timers)
        if (t.window == window && t.id == id)
            return &t;
    return nullptr;
}

// Signed distance on the wrapping 32-bit clock: <= 0 when due.
static int32_t untilDue(const CompatTimer &t) { return (int32_t)(t.due - compatClockNow()); }

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    if (compatCallFails(COMPAT_SET_TIMER) || (window && !compatWindow(window)))
        return 0;
    uint32_t period = elapse < 10 ? 10 : (elapse > 0x7FFFFFFFu ? 0x7FFFFFFFu : elapse);
    // A thread timer is replaced only when its id names one that lives; otherwise it gets a new id.
    CompatTimer *t = findTimer(window, id);
    if (!t || (!window && id == 0)) {
        timers.push_back(CompatTimer());
        t = &timers.back();
        t->window = window;
        t->id = window ? id : nextThreadTimerId++;
    }
    t->period = period;
    t->due = compatClockNow() + period;
    t->proc = proc;
    return window && id == 0 ? 1 : t->id;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id)
{
    for (size_t i = 0; i < timers.size(); i++) {
        if (timers[i].window == window && timers[i].id == id) {
            timers.erase(timers.begin() + (std::ptrdiff_t)i);
            return TRUE;
        }
    }
    return FALSE;
}

static MSG timerMessage(const CompatTimer &t)
{
    MSG msg = MSG();
    msg.hwnd = t.window;
    msg.message = WM_TIMER;
    msg.wParam = t.id;
    msg.lParam = reinterpret_cast<LPARAM>(t.proc);
    msg.time = compatClockNow();
    return msg;
}

// The most overdue matching timer goes first, ties in the order the timers were set.
static CompatTimer *earliest(HWND window, UINT first, UINT last)
{
    CompatTimer *best = nullptr;
    for (CompatTimer &t : timers) {
        if (!compatMessageMatches(timerMessage(t), window, first, last))
            continue;
        if (!best || untilDue(t) < untilDue(*best))
            best = &t;
    }
    return best;
}

bool compatTakeTimerMessage(MSG *msg, bool remove, HWND window, UINT first, UINT last)
{
    CompatTimer *t = earliest(window, first, last);
    if (!t || untilDue(*t) > 0)
        return false;
    *msg = timerMessage(*t);
    if (remove)
        t->due = compatClockNow() + t->period;
    return true;
}

bool compatNextTimerDelay(uint32_t *delay, HWND window, UINT first, UINT last)
{
    CompatTimer *t = earliest(window, first, last);
    if (!t)
        return false;
    int32_t until = untilDue(*t);
    *delay = until > 0 ? (uint32_t)until : 0;
    return true;
}

TIMERPROC compatLiveTimerProc(HWND window, UINT_PTR id, TIMERPROC proc)
{
    CompatTimer *t = findTimer(window, id);
    return (t && t->proc == proc) ? proc : nullptr;
}
