// Dialog item calls of the stand-in that go beyond texts: numbers in edit fields with Win32's parsing
// (as Wine's user32 reads them), check boxes and item messages.
#include "compat_host.h"
#include "ui_internal.h"

// The number at the start of text as the platform's C library reads it: blanks, an optional sign,
// decimal digits, and whatever follows ignored. False without a digit or outside the 32-bit range.
static bool parseLeadingNumber(const char *text, bool isSigned, uint32_t *value)
{
    const char *p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        p++;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    if (*p < '0' || *p > '9')
        return false;
    int64_t magnitude = 0;
    for (; *p >= '0' && *p <= '9'; p++) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > 0x100000000LL)
            magnitude = 0x100000000LL; // far enough out of range for either reading
    }
    if (isSigned) {
        int64_t signedValue = negative ? -magnitude : magnitude;
        if (signedValue > INT32_MAX || signedValue < INT32_MIN)
            return false;
        *value = (uint32_t)(int32_t)signedValue;
        return true;
    }
    if (magnitude > (int64_t)UINT32_MAX)
        return false;
    *value = negative ? (uint32_t)(0u - (uint32_t)magnitude) : (uint32_t)magnitude;
    return true;
}

UINT WINAPI GetDlgItemInt(HWND dialog, int id, BOOL *translated, BOOL isSigned)
{
    if (translated)
        *translated = FALSE;
    char text[30]; // longer texts are cut to their first 29 characters, as the platform reads them
    if (GetDlgItemTextA(dialog, id, text, (int)sizeof text) == 0)
        return 0;
    uint32_t value = 0;
    if (!parseLeadingNumber(text, isSigned != FALSE, &value))
        return 0;
    if (translated)
        *translated = TRUE;
    return value;
}

BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check)
{
    HWND item = GetDlgItem(dialog, id);
    if (!item)
        return FALSE;
    SendMessageA(item, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? (UINT)SendMessageA(item, BM_GETCHECK, 0, 0) : 0;
}

LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? SendMessageA(item, message, wParam, lParam) : 0;
}
