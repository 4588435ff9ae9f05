// Synthetic keystrokes of host steering. Every event is given with its scan code and, for a key-up,
// only the key-up flag; no extra information is attached.
#include "keystrokes.h"
#include "navigation.h"

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
