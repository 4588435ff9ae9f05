// The message pump of host steering: drains the thread's queue so that the host acts on the posted
// command, and a paste is taken by its window before the clipboard changes again.
#include "navigation.h"

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
