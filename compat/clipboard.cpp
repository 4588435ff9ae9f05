// The stand-in's process-local clipboard: plain text only. It owns the one CF_TEXT block handed to it
// (freed when replaced or emptied), the text as edit controls paste it, the open state with its
// window. Its two fallible calls ask the fault table. Every text set through SetClipboardData is
// recorded.
//
// Edit controls paste the clipboard's Unicode text, which is rendered from CF_TEXT when first asked
// for and then kept: setting CF_TEXT again without EmptyClipboard leaves the older Unicode text in
// place, so the next paste gives the old text. Wine behaves so; the stand-in keeps that trap.
#include <malloc.h>
#include <cstring>
#include "compat_host.h"
#include "input_queue.h"
#include "window_table.h"

static bool clipboardOpen = false;
static HWND openWindow = nullptr;       // the window given to the OpenClipboard that opened it
static HANDLE clipboardText = nullptr;  // the CF_TEXT block the clipboard owns, or null
static bool pasteRendered = false;      // pasteText holds the Unicode text edit controls paste
static std::string pasteText;

void compatResetClipboard()
{
    clipboardOpen = false;
    openWindow = nullptr;
    clipboardText = nullptr; // the block went with the kernel reset, which runs first
    pasteRendered = false;
    pasteText.clear();
}

// The text of a block, bounded by its allocation so an unterminated block is never overrun.
std::string compatBlockText(HANDLE block)
{
    if (!compatGlobalBlockLive(block))
        return std::string();
    const char *text = (const char *)block; // a handle is its block's address here
    size_t length = strnlen(text, malloc_usable_size(block));
    return std::string(text, length);
}

std::string compatClipboardText() { return clipboardText ? compatBlockText(clipboardText) : std::string(); }
bool compatClipboardHasText() { return clipboardText != nullptr; }

static void replaceText(HANDLE block)
{
    if (clipboardText && clipboardText != block)
        GlobalFree(clipboardText);
    clipboardText = block;
}

// Another program's copy: it empties the clipboard and leaves its text in every text format.
void compatSetClipboardText(const std::string &text)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1);
    if (!block)
        return;
    memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    replaceText(block);
    pasteRendered = true;
    pasteText = text;
}

void compatClearClipboard()
{
    replaceText(nullptr);
    pasteRendered = false;
    pasteText.clear();
}

bool compatClipboardPasteText(std::string *text)
{
    if (!pasteRendered && clipboardText) {
        pasteText = compatBlockText(clipboardText);
        pasteRendered = true;
    }
    *text = pasteText;
    return pasteRendered;
}

BOOL WINAPI OpenClipboard(HWND owner)
{
    if (compatCallFails(COMPAT_OPEN_CLIPBOARD))
        return FALSE;
    // As in Win32, the window that holds it open may open it again; any other is refused.
    if (clipboardOpen && owner != openWindow)
        return FALSE;
    clipboardOpen = true;
    openWindow = owner;
    return TRUE;
}

BOOL WINAPI CloseClipboard(void)
{
    if (!clipboardOpen)
        return FALSE;
    clipboardOpen = false;
    openWindow = nullptr;
    return TRUE;
}

BOOL WINAPI EmptyClipboard(void)
{
    if (!clipboardOpen)
        return FALSE;
    compatClearClipboard();
    return TRUE;
}

// Setting data needs only an open clipboard, also without EmptyClipboard (as Win32 and Wine do).
// Only CF_TEXT with a block is kept: delayed rendering and other formats are not modelled.
HANDLE WINAPI SetClipboardData(UINT format, HANDLE data)
{
    if (format == CF_TEXT && data)
        compatRecordInput({COMPAT_INPUT_CLIPBOARD, compatBlockText(data), 0, 0, 0, false});
    if (compatCallFails(COMPAT_SET_CLIPBOARD_DATA))
        return nullptr;
    if (!clipboardOpen || format != CF_TEXT || !compatGlobalBlockLive(data))
        return nullptr;
    replaceText(data);
    return data;
}

HANDLE WINAPI GetClipboardData(UINT format)
{
    if (!clipboardOpen || format != CF_TEXT)
        return nullptr;
    return clipboardText;
}
