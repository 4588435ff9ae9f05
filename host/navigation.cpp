// Host steering: the position goes to the clipboard, and a recognised host gets its range command
// posted, then a start and an end position typed into its range dialog by a one-shot thread timer.
// Owns navPosition and navTimer.
#include "navigation.h"
#include "keystrokes.h"
#include "plugin/click_params.h"
#include "plugin/module_state.h"
#include "plugin/xfm_types.h"

int32_t navPosition = 0;
UINT_PTR navTimer = 0;

enum {
    RANGE_DELAY_MS = 300,   // the host's range dialog is open and focused by then
    POST_SETTLE_MS = 100,
    TAB_SCAN = 15
};

void resetNavigationState()
{
    navPosition = 0;
    navTimer = 0;
}

uint32_t hostRangeCommand(int32_t kind)
{
    switch (kind) {
    case HOST_COOL96:
        return RANGE_COMMAND_COOL96;
    case HOST_COOL2000SS:
        return RANGE_COMMAND_COOL2000SS;
    default:
        return 0;
    }
}

// Sums and differences on 32 bits wrap as the host's 32-bit numbering does, instead of overflowing.
static int32_t positionPlus(int32_t position, int32_t around) { return (int32_t)((uint32_t)position + (uint32_t)around); }
static int32_t positionMinus(int32_t position, int32_t around) { return (int32_t)((uint32_t)position - (uint32_t)around); }

// Runs inside whatever message loop is running when the timer is due, normally the host's range
// dialog. The pump between the two pastes lets the first paste read the clipboard before the second
// copy replaces it; the Tab and the second paste are then taken by the dialog's own loop.
static void CALLBACK navTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time)
{
    (void)window;
    (void)message;
    (void)id;
    (void)time;
    KillTimer(nullptr, navTimer);
    int32_t around = clickParams.ptsAround;
    pasteValue(positionMinus(navPosition, around));
    pumpMessages();
    tapKey(VK_TAB, TAB_SCAN);
    pasteValue(positionPlus(navPosition, around));
}

void steerHost(int32_t position)
{
    navPosition = position;
    copyNumber(navPosition);
    uint32_t command = hostRangeCommand(hostKind);
    if (!hostWindow || command == 0)
        return;
    navTimer = SetTimer(nullptr, 0, RANGE_DELAY_MS, navTimerProc);
    PostMessageA(hostWindow, WM_COMMAND, (WPARAM)command, 0);
    Sleep(POST_SETTLE_MS);
    pumpMessages();
}
