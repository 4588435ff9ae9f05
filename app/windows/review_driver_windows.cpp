// The Windows half of the review driver: the plug-in's DialogBoxParamA is observed through its import
// table; a thread timer armed there fires inside the dialog's modal loop, finds the open dialog and
// runs the review's actions from the callback, as a person's input would arrive. The view's pixels are
// copied into a DIB section. Owns the real DialogBoxParamA, the timer, the dialog being driven and its request.
#include <cstdio>
#include "app/review_driver.h"
#include "import_hooks.h"

typedef INT_PTR(WINAPI *DialogBoxProc)(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param);

enum { FIRST_LOOK_MS = 10, MAX_LOOKS = 1000 };

static DialogBoxProc realDialogBox = DialogBoxParamA;
static UINT_PTR driverTimer = 0;   // the armed thread timer, 0 = none
static HWND drivenDialog = nullptr; // the open review dialog once found, else null
static int32_t looks = 0;          // timer ticks spent looking for the dialog
static const ReviewRequest *drivenRequest = nullptr; // the open dialog's creation parameter

static BOOL CALLBACK findThreadDialog(HWND window, LPARAM found)
{
    char name[16] = "";
    GetClassNameA(window, name, (int)sizeof name);
    if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND *>(found) = window;
        return FALSE;
    }
    return TRUE;
}

static void disarm()
{
    if (driverTimer)
        KillTimer(nullptr, driverTimer);
    driverTimer = 0;
}

static void CALLBACK driverTick(HWND window, UINT message, UINT_PTR id, DWORD time)
{
    (void)window;
    (void)message;
    (void)id;
    (void)time;
    if (!drivenDialog) {
        HWND found = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), findThreadDialog, reinterpret_cast<LPARAM>(&found));
        if (!found) {
            if (++looks >= MAX_LOOKS) {
                fprintf(stderr, "vantrope: the review dialog did not appear; leaving it to a person\n");
                disarm();
            }
            return;
        }
        drivenDialog = found;
        reviewPlatformSettle(found);
        reviewDialogOpened(found);
    }
    // Disarmed before the actions run: the press at their end finishes the modal loop.
    disarm();
    int32_t pause = reviewDialogContinue(drivenDialog);
    if (pause > 0)
        driverTimer = SetTimer(nullptr, 0, (UINT)pause, driverTick);
}

static INT_PTR WINAPI observedDialogBox(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param)
{
    drivenDialog = nullptr;
    drivenRequest = reinterpret_cast<const ReviewRequest *>(param);
    looks = 0;
    driverTimer = SetTimer(nullptr, 0, FIRST_LOOK_MS, driverTick);
    INT_PTR result = realDialogBox(instance, name, owner, proc, param);
    disarm();
    if (drivenDialog)
        reviewDialogClosed((int32_t)result);
    drivenDialog = nullptr;
    drivenRequest = nullptr;
    return result;
}

HINSTANCE reviewDriverInstall(const PluginTable &table)
{
    HMODULE module = reinterpret_cast<HMODULE>(table.instance);
    void *original = nullptr;
    if (patchImport(module, "user32.dll", "DialogBoxParamA", reinterpret_cast<void *>(observedDialogBox), &original) &&
        original)
        realDialogBox = reinterpret_cast<DialogBoxProc>(original);
    // The pointer rests in the screen's corner, away from the view, so that no real mouse move
    // reaches the view while a script drags across it.
    SetCursorPos(0, 0);
    return table.instance;
}

void reviewPlatformSettle(HWND dialog)
{
    RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool reviewPlatformViewPixels(HWND view, std::vector<uint32_t> *pixels, int32_t *width, int32_t *height)
{
    RECT client = {0, 0, 0, 0};
    if (!view || !GetClientRect(view, &client) || client.right <= 0 || client.bottom <= 0)
        return false;
    int32_t w = client.right, h = client.bottom;
    HDC source = GetDC(view);
    if (!source)
        return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = memory ? CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    bool copied = false;
    if (bitmap && bits) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, w, h, source, 0, 0, SRCCOPY) != 0;
        GdiFlush();
        if (copied) {
            const uint8_t *bgra = static_cast<const uint8_t *>(bits);
            pixels->assign((size_t)w * (size_t)h, 0);
            for (size_t i = 0; i < pixels->size(); i++)
                (*pixels)[i] = (uint32_t)bgra[i * 4 + 2] | (uint32_t)bgra[i * 4 + 1] << 8 | (uint32_t)bgra[i * 4] << 16;
        }
        SelectObject(memory, previous);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    ReleaseDC(view, source);
    *width = w;
    *height = h;
    return copied;
}

const ReviewRequest *reviewPlatformRequest() { return drivenRequest; }
