// Host steering: the position goes to the clipboard, and a recognised host gets its range command
// posted, then a start and an end position typed into its range dialog by a one-shot thread timer.
// Here too its pieces: the clipboard copy of a number, the synthetic keystrokes (each event with its
// scan code and, for a key-up, only the key-up flag) and the message pump. Owns navPosition and navTimer.
#include "navigation.h"
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

// ---- The clipboard copy of one number, as plain text in a block the clipboard takes over.

void copyNumber(int32_t value)
{
    if (!OpenClipboard(nullptr))
        return;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, 64);
    if (!block) {
        CloseClipboard();
        return;
    }
    char *text = (char *)GlobalLock(block);
    if (!text) {
        GlobalFree(block);
        CloseClipboard();
        return;
    }
    wsprintfA(text, "%ld", value);
    GlobalUnlock(block);
    // Emptying is what makes the number the text that is pasted: CF_TEXT set over an older copy
    // leaves that copy's Unicode text in place, and edit controls paste the Unicode text, so the
    // host's fields would get what was copied before (another program's text, or the range start).
    // It comes only now, so that a copy that failed before this point leaves the old contents.
    EmptyClipboard();
    // The clipboard owns the block only once it took it; a refused block is still ours to free.
    if (!SetClipboardData(CF_TEXT, block))
        GlobalFree(block);
    CloseClipboard();
}

// ---- Synthetic keystrokes.

enum {
    CONTROL_SCAN = 29, // scan code of the left Ctrl key
    V_KEY = 0x56,
    V_SCAN = 47
};

static void keyEvent(uint8_t virtualKey, uint8_t scanCode, bool up)
{
    keybd_event((BYTE)virtualKey, (BYTE)scanCode, up ? KEYEVENTF_KEYUP : 0, 0);
}

void pasteValue(int32_t value)
{
    copyNumber(value);
    keyEvent(VK_CONTROL, CONTROL_SCAN, false);
    keyEvent(V_KEY, V_SCAN, false);
    keyEvent(V_KEY, V_SCAN, true);
    keyEvent(VK_CONTROL, CONTROL_SCAN, true);
}

void tapKey(uint8_t virtualKey, uint8_t scanCode)
{
    keyEvent(virtualKey, scanCode, false);
    keyEvent(virtualKey, scanCode, true);
}

// ---- The pump: drains the thread's queue so that the host acts on the posted command, and a paste is
// taken by its window before the clipboard changes again.

void pumpMessages()
{
    MSG msg;
    // WM_QUIT is only looked at, never taken: it stays for the loop that owns it.
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0)
            return;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

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
    // Without the timer nothing would type the range: the host's dialog would open and wait empty.
    // The position stays on the clipboard, as for a host the plug-in does not know.
    if (!navTimer)
        return;
    PostMessageA(hostWindow, WM_COMMAND, (WPARAM)command, 0);
    Sleep(POST_SETTLE_MS);
    pumpMessages();
}
