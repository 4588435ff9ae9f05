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
