// The clipboard routine of host steering: one number as plain text in a block the clipboard takes over.
#include "navigation.h"

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
    // The clipboard owns the block only once it took it; a refused block is still ours to free.
    if (!SetClipboardData(CF_TEXT, block))
        GlobalFree(block);
    CloseClipboard();
}
