// The fake recognised host behind the steering tests, built only from stand-in calls.
#include "range_host.h"
#include "plugin/click_params.h"

static RangeHost host;

RangeHost &rangeHost() { return host; }

static HWND makeChild(HWND parent, const char *className, const char *text, DWORD extraStyle)
{
    HWND child = compatCreateWindow(className, parent, nullptr, 60, 20);
    SetWindowLongA(child, GWL_STYLE, (LONG_PTR)(WS_CHILD | WS_VISIBLE | extraStyle));
    SetWindowTextA(child, text);
    return child;
}

static std::string textOf(HWND window)
{
    char text[256];
    GetWindowTextA(window, text, sizeof text);
    return text;
}

static void runRangeDialog()
{
    host.dialogsOpened++;
    host.openedAt = compatClockNow();
    HWND range = compatCreateWindow("HostRangeDialog", nullptr, DefWindowProcA, 240, 120);
    HWND start = makeChild(range, "Edit", "", WS_TABSTOP);
    makeChild(range, "Static", "to", 0);
    HWND end = makeChild(range, "Edit", "99", WS_TABSTOP);
    SetFocus(start);
    if (host.ptsAroundOnOpen)
        clickParams.ptsAround = host.ptsAroundOnOpen;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(range, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    host.startText = textOf(start);
    host.endText = textOf(end);
    host.focusAtClose = GetFocus() == start ? start : (GetFocus() == end ? end : nullptr);
    DestroyWindow(range);
}

static LRESULT CALLBACK viewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_COMMAND)
        return DefWindowProcA(window, message, wParam, lParam);
    host.commands.push_back(wParam);
    host.commandParams.push_back(lParam);
    if (LOWORD(wParam) == host.rangeCommand)
        runRangeDialog();
    return 0;
}

void createRangeHost(const char *frameClass, uint32_t rangeCommand)
{
    host = RangeHost();
    host.rangeCommand = rangeCommand;
    host.frame = compatCreateWindow(frameClass, nullptr, DefWindowProcA, 800, 600);
    host.view = compatCreateWindow("HostWaveView", host.frame, viewProc, 780, 560);
}
