// The stand-in's modal dialogs: DialogBoxParamA builds dialog 105 from the item table that the
// resource script encodes, runs WM_INITDIALOG and hands the dialog to the host's driver; the dialog
// item calls (texts, numbers, check boxes, item messages) and the dialog manager's keys.
#include <cstdlib>
#include <cstring>
#include "compat_host.h"
#include "ui/dialog_template.h"
#include "ui_internal.h"

static CompatDialogDriver driver = nullptr;
static void *driverContext = nullptr;
static CompatDialogCreatedHook createdHook = nullptr;
static void *createdContext = nullptr;
static int dialogsCreated = 0;

void compatResetDialogs()
{
    driver = nullptr;
    driverContext = nullptr;
    createdHook = nullptr;
    createdContext = nullptr;
    dialogsCreated = 0;
}

void compatSetDialogDriver(CompatDialogDriver d, void *context)
{
    driver = d;
    driverContext = context;
}

void compatSetDialogCreatedHook(CompatDialogCreatedHook hook, void *context)
{
    createdHook = hook;
    createdContext = context;
}

int compatDialogCount() { return dialogsCreated; }

int compatDialogUnitsToPixelsX(int units) { return units * 6 / 4; }
int compatDialogUnitsToPixelsY(int units) { return units * 13 / 8; }

static void sendCancel(HWND dialog)
{
    WPARAM wParam = (WPARAM)((uint32_t)IDCANCEL | ((uint32_t)BN_CLICKED << 16));
    SendMessageA(dialog, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
}

LRESULT CALLBACK compatDialogWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    CompatWindow *d = compatWindow(dialog);
    INT_PTR handled = (d && d->dialogProc) ? d->dialogProc(dialog, message, wParam, lParam) : FALSE;
    if (handled)
        return handled;
    // The close box turns into IDCANCEL. Win32 posts it; sent here, so that no loop is needed to see it.
    if (message == WM_CLOSE) {
        sendCancel(dialog);
        return 0;
    }
    return DefWindowProcA(dialog, message, wParam, lParam);
}

static HWND createItem(HWND dialog, const DialogItemTemplate &item)
{
    const char *className = compatControlClassName(item.classOrdinal);
    HWND control = compatCreateWindow(className ? className : "Static", dialog, nullptr,
                                      compatDialogUnitsToPixelsX(item.cx), compatDialogUnitsToPixelsY(item.cy));
    CompatWindow *w = compatWindow(control);
    w->id = (int)(int32_t)item.id;
    w->text = item.text;
    w->style = item.style;
    w->exStyle = item.exStyle;
    w->x = compatDialogUnitsToPixelsX(item.x);
    w->y = compatDialogUnitsToPixelsY(item.y);
    return control;
}

static HWND createReviewDialog(HWND owner, DLGPROC proc)
{
    compatRegisterDialogClasses();
    const DialogTemplateHeader &header = reviewDialogHeader;
    HWND dialog = compatCreateWindow("#32770", nullptr, nullptr, compatDialogUnitsToPixelsX(header.cx),
                                     compatDialogUnitsToPixelsY(header.cy));
    CompatWindow *d = compatWindow(dialog);
    d->owner = owner;
    d->style = header.style;
    d->exStyle = header.exStyle;
    d->text = header.caption;
    d->isDialog = true;
    d->dialogProc = proc;
    for (int i = 0; i < header.itemCount; i++)
        createItem(dialog, reviewDialogItems[i]);
    dialogsCreated++;
    return dialog;
}

// The first enabled tab stop, which WM_INITDIALOG offers for the focus.
static HWND firstTabStop(HWND dialog)
{
    CompatWindow *d = compatWindow(dialog);
    for (HWND child : d->children) {
        CompatWindow *c = compatWindow(child);
        if (c && (c->style & WS_TABSTOP) && (c->style & WS_VISIBLE) && c->enabled)
            return child;
    }
    return nullptr;
}

static bool dialogOpen(HWND dialog)
{
    CompatWindow *d = compatWindow(dialog);
    return d && !d->dialogEnded;
}

// A newly shown window has all of its client area to paint.
static void showDialog(HWND dialog)
{
    InvalidateRect(dialog, nullptr, TRUE);
    for (HWND child : compatWindow(dialog)->children)
        InvalidateRect(child, nullptr, TRUE);
    compatPumpPaints();
}

static INT_PTR runModal(HWND dialog, LPARAM param)
{
    HWND focus = firstTabStop(dialog);
    CompatWindow *d = compatWindow(dialog);
    if (d->dialogProc(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), param) && focus)
        SetFocus(focus);
    if (dialogOpen(dialog)) {
        showDialog(dialog);
        if (driver && dialogOpen(dialog))
            driver(dialog, driverContext);
    }
    if (dialogOpen(dialog))
        sendCancel(dialog); // as the Escape key would
    d = compatWindow(dialog);
    if (d && !d->dialogEnded)
        EndDialog(dialog, IDCANCEL);
    return compatWindow(dialog)->dialogResult;
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM param)
{
    uintptr_t name = reinterpret_cast<uintptr_t>(templateName);
    if (compatCallFails(COMPAT_DIALOG_BOX))
        return -1;
    // Only template 105 of a module exists; any module instance carries it.
    if (!instance || !proc || name != reviewDialogHeader.resourceId)
        return -1;
    HWND dialog = createReviewDialog(owner, proc);
    if (createdHook)
        createdHook(dialog, createdContext);
    // The owner is disabled while the modal dialog runs, as Win32 does.
    BOOL ownerWasDisabled = owner ? EnableWindow(owner, FALSE) : FALSE;
    INT_PTR result = runModal(dialog, param);
    if (owner && !ownerWasDisabled)
        EnableWindow(owner, TRUE);
    HWND focus = GetFocus();
    if (focus && (focus == dialog || GetParent(focus) == dialog))
        SetFocus(owner);
    DestroyWindow(dialog);
    return result;
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result)
{
    CompatWindow *d = compatWindow(dialog);
    if (!d || !d->isDialog)
        return FALSE;
    d->dialogEnded = true;
    d->dialogResult = result;
    return TRUE;
}

HWND WINAPI GetDlgItem(HWND dialog, int id)
{
    CompatWindow *d = compatWindow(dialog);
    if (!d)
        return nullptr;
    for (HWND child : d->children) {
        CompatWindow *c = compatWindow(child);
        if (c && c->id == id)
            return child;
    }
    return nullptr;
}

BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? SetWindowTextA(item, text) : FALSE;
}

UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR text, int size)
{
    if (text && size > 0)
        text[0] = '\0';
    return (UINT)SendDlgItemMessageA(dialog, id, WM_GETTEXT, (WPARAM)size, reinterpret_cast<LPARAM>(text));
}

BOOL WINAPI SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned)
{
    char text[16];
    wsprintfA(text, isSigned ? "%d" : "%u", value);
    return SetDlgItemTextA(dialog, id, text);
}
