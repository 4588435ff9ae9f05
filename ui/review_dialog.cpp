// The review dialog "Possible click": its procedure, the initialising steps, commands, the three
// scroll bars, the read-back at the end and the view procedure's installation on item 1028.
// Owns the module state activeRequest, viewOldProc and viewSubclassed.
#include "dialog_ids.h"
#include "plugin/messages.h"
#include "plugin/module_state.h"
#include "review_forms.h"
#include "review_rules.h"
#include "review_view.h"

ReviewRequest *activeRequest = nullptr;
WNDPROC viewOldProc = nullptr;
int32_t viewSubclassed = 0;

int32_t runReviewDialog(ReviewRequest &request)
{
    INT_PTR result = DialogBoxParamA(hostInstance, MAKEINTRESOURCEA(IDD_REVIEW), hostWindow, reviewDialogProc,
                                     (LPARAM)&request);
    // The request lives in the caller's frame, which ends with this review: nothing may reach it later.
    activeRequest = nullptr;
    return (int32_t)result;
}

void resetReviewState()
{
    activeRequest = nullptr;
    viewOldProc = nullptr;
    viewSubclassed = 0;
    resetViewState();
}

static void setBar(HWND dialog, int id, int32_t low, int32_t high, int32_t position)
{
    // The range goes in without a redraw; the position with one, which paints the bar once.
    SendDlgItemMessageA(dialog, id, SBM_SETRANGE, (WPARAM)low, (LPARAM)high);
    SendDlgItemMessageA(dialog, id, SBM_SETPOS, (WPARAM)position, (LPARAM)TRUE);
}

static void checkIf(HWND dialog, int id, uint32_t on)
{
    if (on)
        CheckDlgButton(dialog, id, BST_CHECKED);
}

static void initialiseReview(HWND dialog, ReviewRequest *request)
{
    activeRequest = request;
    ClickParams &params = *request->params;
    // The message usually lives in textBuffer, which the caption is formatted into: set it first.
    if (request->message)
        SetDlgItemTextA(dialog, IDC_MESSAGE, request->message);
    if (request->passNumber > 1) {
        wsprintfA(textBuffer, DIALOG_CAPTION_PASS, request->passNumber);
        SetWindowTextA(dialog, textBuffer);
    }
    SetDlgItemInt(dialog, IDC_C1, (UINT)params.c1, TRUE);
    SetDlgItemInt(dialog, IDC_D1, (UINT)params.d1, TRUE);
    SetDlgItemInt(dialog, IDC_C2, (UINT)params.c2, TRUE);
    setBar(dialog, IDC_BLEND_BAR, BLEND_MIN, BLEND_MAX, params.lineBezier);
    checkIf(dialog, IDC_USE_BASE_FREQ, params.useBaseFreqVer);
    SetDlgItemInt(dialog, IDC_SEVERITY, (UINT)params.baseFreqVerS, TRUE);
    setBar(dialog, IDC_WIDTH_BAR, WIDTH_MIN, WIDTH_MAX, params.ptsAround);
    checkIf(dialog, IDC_MULTIPASS, params.multipass);
    checkIf(dialog, IDC_AUTOZOOM, params.autoZoom);
    checkIf(dialog, IDC_RANGE_DIALOG, params.rangeDialog);
    if (request->allowGoBack == 0)
        EnableWindow(GetDlgItem(dialog, ID_GO_BACK), FALSE);
    if (params.spanStart == 0 || params.spanEnd == 0) {
        EnableWindow(GetDlgItem(dialog, ID_REPAIR), FALSE);
        EnableWindow(GetDlgItem(dialog, ID_AUTO_REPAIR), FALSE);
    }
    setBar(dialog, IDC_ZOOM_BAR, ZOOM_MIN, ZOOM_MAX, zoomBarPosition(params.zoom));
    applyAutoZoom(dialog, *request);
    if (!subclassView(dialog))
        readBackAndEnd(dialog, ID_CLOSE);
}

static void handleCommand(HWND dialog, int32_t id)
{
    switch (id) {
    case ID_STOP_HERE:
    case ID_CLOSE:
    case ID_FIND_NEXT:
    case ID_GO_BACK:
    case ID_REPAIR:
    case ID_AUTO_REPAIR:
    case ID_SKIP:
        readBackAndEnd(dialog, id);
        break;
    default:
        break;
    }
}

// The setting a bar controls, or null for a window that is none of the three bars.
static int32_t *barSetting(HWND dialog, UINT message, HWND bar, int32_t *which)
{
    if (!bar || !activeRequest)
        return nullptr;
    ClickParams &params = *activeRequest->params;
    if (message == WM_VSCROLL && bar == GetDlgItem(dialog, IDC_ZOOM_BAR)) {
        *which = SCROLL_ZOOM;
        return &params.zoom;
    }
    if (message == WM_HSCROLL && bar == GetDlgItem(dialog, IDC_BLEND_BAR)) {
        *which = SCROLL_BLEND;
        return &params.lineBezier;
    }
    if (message == WM_HSCROLL && bar == GetDlgItem(dialog, IDC_WIDTH_BAR)) {
        *which = SCROLL_WIDTH;
        return &params.ptsAround;
    }
    return nullptr;
}

static void handleScroll(HWND dialog, UINT message, WPARAM wParam, HWND bar)
{
    int32_t which = 0;
    int32_t *setting = barSetting(dialog, message, bar, &which);
    int32_t value = 0;
    if (!setting || !scrollStep(which, *setting, LOWORD(wParam), HIWORD(wParam), &value))
        return;
    if (value == *setting)
        return;
    SendMessageA(bar, SBM_SETPOS, (WPARAM)(which == SCROLL_ZOOM ? zoomBarPosition(value) : value), (LPARAM)TRUE);
    *setting = value;
    InvalidateRect(GetDlgItem(dialog, IDC_WAVE_VIEW), nullptr, TRUE);
}

INT_PTR CALLBACK reviewDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        initialiseReview(dialog, reinterpret_cast<ReviewRequest *>(lParam));
        return TRUE; // the platform then focuses the first tab stop, "Stop Here"
    case WM_COMMAND:
        handleCommand(dialog, LOWORD(wParam));
        return TRUE;
    case WM_HSCROLL:
    case WM_VSCROLL:
        handleScroll(dialog, message, wParam, reinterpret_cast<HWND>(lParam));
        return TRUE;
    default:
        return FALSE;
    }
}

static int32_t fieldNumber(HWND dialog, int id)
{
    BOOL translated = FALSE;
    // Text that is not a number reads as 0 and is then clamped like any other value.
    int32_t value = (int32_t)GetDlgItemInt(dialog, id, &translated, TRUE);
    return translated ? value : 0;
}

static uint32_t checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0; }

void readBackAndEnd(HWND dialog, int32_t code)
{
    ReviewFields fields;
    fields.c1 = fieldNumber(dialog, IDC_C1);
    fields.d1 = fieldNumber(dialog, IDC_D1);
    fields.c2 = fieldNumber(dialog, IDC_C2);
    fields.useBaseFreq = checked(dialog, IDC_USE_BASE_FREQ);
    fields.severity = fieldNumber(dialog, IDC_SEVERITY);
    fields.multipass = checked(dialog, IDC_MULTIPASS);
    fields.autoZoom = checked(dialog, IDC_AUTOZOOM);
    fields.rangeDialog = checked(dialog, IDC_RANGE_DIALOG);
    if (activeRequest)
        storeReviewFields(fields, *activeRequest->params);
    restoreView(dialog);
    EndDialog(dialog, code);
}

void applyAutoZoom(HWND dialog, ReviewRequest &request)
{
    ClickParams &params = *request.params;
    if (!params.autoZoom)
        return;
    params.zoom = autoZoomFor(request.samples, request.sampleCount, request.candidate, params.ptsAround,
                              params.spanStart, params.spanEnd);
    SendDlgItemMessageA(dialog, IDC_ZOOM_BAR, SBM_SETPOS, (WPARAM)zoomBarPosition(params.zoom), (LPARAM)TRUE);
}

int32_t subclassView(HWND dialog)
{
    HWND view = GetDlgItem(dialog, IDC_WAVE_VIEW);
    if (!view)
        return 0;
    WNDPROC old = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(view, GWLP_WNDPROC));
    if (!old)
        return 0;
    viewOldProc = old;
    viewSubclassed = 1;
    SetWindowLongPtrA(view, GWLP_WNDPROC, (LONG_PTR)waveViewProc);
    return 1;
}

void restoreView(HWND dialog)
{
    if (!viewSubclassed)
        return;
    HWND view = GetDlgItem(dialog, IDC_WAVE_VIEW);
    // The class cursor belongs to every push button of the process: leave it as the arrow.
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetClassLongPtrA(view, GCLP_HCURSOR, (LONG_PTR)arrow);
    SetCursor(arrow);
    SetWindowLongPtrA(view, GWLP_WNDPROC, (LONG_PTR)viewOldProc);
    viewOldProc = nullptr;
    viewSubclassed = 0;
}
