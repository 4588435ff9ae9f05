// The stand-in's process-local clipboard: plain text only, owned blocks freed when replaced.
#include <string>
#include "compat_host.h"
#include "window_table.h"

static bool clipboardOpen = false;
static HANDLE clipboardText = nullptr;

void compatResetClipboard()
{
    clipboardOpen = false;
    clipboardText = nullptr; // the block went with the kernel reset
}

BOOL WINAPI OpenClipboard(HWND owner)
{
    (void)owner;
    if (clipboardOpen)
        return FALSE;
    clipboardOpen = true;
    return TRUE;
}

BOOL WINAPI CloseClipboard(void)
{
    if (!clipboardOpen)
        return FALSE;
    clipboardOpen = false;
    return TRUE;
}

BOOL WINAPI EmptyClipboard(void)
{
    if (!clipboardOpen)
        return FALSE;
    if (clipboardText)
        GlobalFree(clipboardText);
    clipboardText = nullptr;
    return TRUE;
}

HANDLE WINAPI SetClipboardData(UINT format, HANDLE data)
{
    if (!clipboardOpen || format != CF_TEXT)
        return nullptr;
    if (clipboardText && clipboardText != data)
        GlobalFree(clipboardText);
    clipboardText = data;
    return data;
}

HANDLE WINAPI GetClipboardData(UINT format)
{
    if (!clipboardOpen || format != CF_TEXT)
        return nullptr;
    return clipboardText;
}
