// Host steering (placeholder: the clipboard only).
#include "navigation.h"
#include <cstdio>
#include "plugin/platform.h"

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
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

void steerHost(int32_t position) { copyNumber(position); }
void pumpMessages() {}
void resetNavigationState() {}
