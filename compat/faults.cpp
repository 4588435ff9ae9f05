// The stand-in's fault table: one countdown per fallible call, so that a test can make the Nth call
// of any of them fail (or a row of calls in a run), and count how many calls a run made. The calls
// themselves ask compatCallFails first and, when it says so, give their platform's failure value.
#include "compat_host.h"
#include "window_table.h"

struct FaultEntry {
    uint32_t calls;      // calls since the last reset
    uint32_t failFrom;   // the first call number that fails, 0 when none is armed
    uint32_t failCount;  // how many calls from failFrom on fail
};

static FaultEntry faults[COMPAT_FALLIBLE_COUNT];

static const char *const fallibleNames[COMPAT_FALLIBLE_COUNT] = {
    "GlobalAlloc", "GlobalLock", "OpenClipboard", "SetClipboardData", "DialogBoxParamA", "GetDC",
    "CreatePen", "SetTimer", "GetClassNameA", "GetPrivateProfileStringA", "WritePrivateProfileStringA",
    "readSamples",
};

static bool known(CompatFallible call) { return call >= 0 && call < COMPAT_FALLIBLE_COUNT; }

void compatResetFaults()
{
    for (FaultEntry &f : faults)
        f = FaultEntry();
}

void compatDisarmFaults()
{
    for (FaultEntry &f : faults)
        f.failFrom = f.failCount = 0;
}

void compatFailCall(CompatFallible call, uint32_t nth, uint32_t count)
{
    if (!known(call))
        return;
    FaultEntry &f = faults[call];
    f.failFrom = nth ? f.calls + nth : 0;
    f.failCount = nth ? count : 0;
}

uint32_t compatCallCount(CompatFallible call) { return known(call) ? faults[call].calls : 0; }

const char *compatFallibleName(CompatFallible call) { return known(call) ? fallibleNames[call] : "?"; }

bool compatCallFails(CompatFallible call)
{
    if (!known(call))
        return false;
    FaultEntry &f = faults[call];
    f.calls++;
    // Unsigned differences: a row that runs past 2^32 calls still ends where it should.
    return f.failCount != 0 && f.calls >= f.failFrom && f.calls - f.failFrom < f.failCount;
}

// The older one-call switches, kept for the tests that use them: each arms the table.
void compatFailGlobalAllocAfter(int successes)
{
    compatFailCall(COMPAT_GLOBAL_ALLOC, (uint32_t)(successes < 0 ? 0 : successes) + 1u, 1);
}
void compatFailNextGlobalAlloc() { compatFailGlobalAllocAfter(0); }
void compatFailNextGlobalAllocs(int failures)
{
    compatFailCall(COMPAT_GLOBAL_ALLOC, failures > 0 ? 1u : 0u, failures > 0 ? (uint32_t)failures : 0u);
}
void compatFailNextGlobalLock() { compatFailCall(COMPAT_GLOBAL_LOCK, 1, 1); }
void compatFailNextOpenClipboard() { compatFailCall(COMPAT_OPEN_CLIPBOARD, 1, 1); }
void compatFailNextSetClipboardData() { compatFailCall(COMPAT_SET_CLIPBOARD_DATA, 1, 1); }
void compatFailNextDialogBox() { compatFailCall(COMPAT_DIALOG_BOX, 1, 1); }
void compatFailNextGetDC() { compatFailCall(COMPAT_GET_DC, 1, 1); }
void compatFailNextCreatePen() { compatFailCall(COMPAT_CREATE_PEN, 1, 1); }

CompatLiveCounts compatLiveCounts()
{
    CompatLiveCounts c;
    c.globalBlocks = compatLiveGlobalBlocks();
    c.pens = compatLivePens();
    c.deviceContexts = compatLiveDeviceContexts();
    c.timers = compatLiveTimers();
    c.capture = GetCapture() ? 1 : 0;
    c.subclassed = compatUnrestoredSubclasses();
    c.windows = compatLiveWindows();
    c.canvases = compatLiveCanvases();
    c.records = compatGdiRecords();
    c.hostWindows = compatLiveHostWindows();
    c.hostCanvases = compatLiveHostCanvases();
    return c;
}
