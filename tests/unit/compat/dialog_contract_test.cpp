// Contract tests of the stand-in's dialogs and controls: what the plug-in relies on from Win32, message
// by message. The item-number table lives in the contract test shared with Wine.
#include <functional>
#include <string>
#include <vector>
#include "support/fake_host.h"

static std::function<void(HWND)> driverBody;
static std::vector<std::string> seen;       // messages the test dialog procedure received
static bool initReturnsTrue = true;
static bool endInInit = false;
static bool ignoreCancel = false;

static INT_PTR CALLBACK testDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        seen.push_back("init " + std::to_string(GetWindowLongA(reinterpret_cast<HWND>(wParam), GWL_ID)) + " " +
                       std::to_string(lParam));
        if (endInInit)
            EndDialog(dialog, 77);
        return initReturnsTrue;
    case WM_COMMAND:
        seen.push_back("command " + std::to_string(LOWORD(wParam)) + " " + std::to_string(HIWORD(wParam)) +
                       (reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, LOWORD(wParam)) ? " item" : " other"));
        if (!(ignoreCancel && LOWORD(wParam) == IDCANCEL) && LOWORD(wParam) != 1028 && LOWORD(wParam) != 1037)
            EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

class DialogContract : public PluginTest {
protected:
    void SetUp() override
    {
        PluginTest::SetUp();
        seen.clear();
        initReturnsTrue = true;
        endInInit = false;
        ignoreCancel = false;
        driverBody = nullptr;
        compatSetDialogDriver([](HWND dialog, void *) { if (driverBody) driverBody(dialog); }, nullptr);
    }
    void TearDown() override
    {
        EXPECT_EQ(GetCapture(), nullptr);
        PluginTest::TearDown();
    }
    INT_PTR run(std::function<void(HWND)> body, HWND owner = nullptr)
    {
        driverBody = body;
        return DialogBoxParamA(reinterpret_cast<HINSTANCE>((uintptr_t)0x400000), MAKEINTRESOURCEA(105), owner,
                               testDialogProc, 1234);
    }
};

// The reading rules of GetDlgItemInt and SetDlgItemInt are pinned row by row in the contract test that
// runs against the stand-in and against Wine alike (wine.contract_native); here, only what a dialog
// built from the template adds: its items answer, a null flag is allowed, texts are cut to the buffer.
TEST_F(DialogContract, ItemNumbersInADialog)
{
    run([](HWND dialog) {
        char text[32];
        SetDlgItemInt(dialog, 111, (UINT)-5, TRUE);
        GetDlgItemTextA(dialog, 111, text, sizeof text);
        EXPECT_STREQ(text, "-5");
        SetDlgItemInt(dialog, 111, (UINT)-5, FALSE);
        EXPECT_EQ(GetDlgItemInt(dialog, 111, nullptr, FALSE), 4294967291u) << "a null flag is allowed";
        GetDlgItemTextA(dialog, 111, text, 4);
        EXPECT_STREQ(text, "429") << "cut to the buffer";
        EndDialog(dialog, 5);
    });
}

TEST_F(DialogContract, ScrollBarMessages)
{
    run([](HWND dialog) {
        HWND bar = GetDlgItem(dialog, 1035);
        EXPECT_EQ(SendMessageA(bar, SBM_SETPOS, 50, TRUE), 0) << "previous position";
        EXPECT_EQ(SendMessageA(bar, SBM_SETRANGE, 30, 160), 0) << "position inside the new range: 0";
        EXPECT_EQ(SendMessageA(bar, SBM_GETPOS, 0, 0), 50);
        EXPECT_EQ(SendMessageA(bar, SBM_SETPOS, 200, TRUE), 50);
        EXPECT_EQ(SendMessageA(bar, SBM_GETPOS, 0, 0), 160) << "clamped to the range";
        EXPECT_EQ(SendMessageA(bar, SBM_SETRANGE, 0, 12), 160) << "moved by the range: the old position";
        EXPECT_EQ(SendMessageA(bar, SBM_GETPOS, 0, 0), 12);
        int32_t low = -1, high = -1;
        SendMessageA(bar, SBM_GETRANGE, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
        EXPECT_EQ(low, 0);
        EXPECT_EQ(high, 12);
        SendMessageA(bar, SBM_SETPOS, (WPARAM)-3, TRUE);
        EXPECT_EQ(SendMessageA(bar, SBM_GETPOS, 0, 0), 0);
        EndDialog(dialog, 5);
    });
}

TEST_F(DialogContract, ButtonsClickAndCapture)
{
    INT_PTR result = run([](HWND dialog) {
        HWND box = GetDlgItem(dialog, 1037);
        EXPECT_EQ(IsDlgButtonChecked(dialog, 1037), (UINT)BST_UNCHECKED);
        SendMessageA(box, BM_CLICK, 0, 0);
        EXPECT_EQ(IsDlgButtonChecked(dialog, 1037), (UINT)BST_CHECKED) << "an automatic check box toggles";
        CheckDlgButton(dialog, 1037, BST_UNCHECKED);
        EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
        // The view's own procedure: capture on the press, click on the release inside.
        HWND view = GetDlgItem(dialog, 1028);
        SendMessageA(view, WM_LBUTTONDOWN, 0, 0x00050005);
        EXPECT_EQ(GetCapture(), view);
        SendMessageA(view, WM_LBUTTONUP, 0, 0x00050005);
        EXPECT_EQ(GetCapture(), nullptr);
        // Released outside: the capture goes, no click.
        SendMessageA(view, WM_LBUTTONDOWN, 0, 0x00050005);
        SendMessageA(view, WM_LBUTTONUP, 0, 0x0005FFF0);
        EXPECT_EQ(GetCapture(), nullptr);
        // A press takes the focus; BM_CLICK presses a disabled button too, as under Wine.
        EXPECT_EQ(GetFocus(), view);
        EnableWindow(GetDlgItem(dialog, 6), FALSE);
        SendMessageA(GetDlgItem(dialog, 6), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(result, 6);
    std::vector<std::string> expected = {"init 1 1234", "command 1037 0 item", "command 1028 0 item",
                                         "command 6 0 item"};
    EXPECT_EQ(seen, expected);
}

TEST_F(DialogContract, DriverAndEndingRules)
{
    HWND owner = compatCreateWindow("Frame", nullptr, nullptr, 100, 100);
    // No driver: ended as Escape would, through the procedure.
    EXPECT_EQ(run(nullptr, owner), IDCANCEL);
    EXPECT_EQ(seen.back(), "command 2 0 item");
    EXPECT_TRUE(IsWindowEnabled(owner)) << "the owner is enabled again";
    // A procedure that ignores the cancel still gets ended with 2.
    ignoreCancel = true;
    EXPECT_EQ(run([](HWND) {}), IDCANCEL);
    ignoreCancel = false;
    // Ended while initialising: the driver never runs.
    endInInit = true;
    bool driven = false;
    EXPECT_EQ(run([&](HWND) { driven = true; }), 77);
    EXPECT_FALSE(driven);
    endInInit = false;
    // The focus goes to the first tab stop only when WM_INITDIALOG returns TRUE.
    SetFocus(owner);
    initReturnsTrue = false;
    run([&](HWND dialog) {
        EXPECT_EQ(GetFocus(), owner);
        EndDialog(dialog, 1);
    });
    initReturnsTrue = true;
    run([&](HWND dialog) {
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 1));
        SendMessageA(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(seen.back(), "command 2 0 item") << "the close box is IDCANCEL";
    EXPECT_EQ(compatDialogCount(), 5);
    EXPECT_EQ(DialogBoxParamA(reinterpret_cast<HINSTANCE>((uintptr_t)1), MAKEINTRESOURCEA(106), owner,
                              testDialogProc, 0),
              -1)
        << "no such template";
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(105), owner, testDialogProc, 0), -1);
    compatFailNextDialogBox();
    EXPECT_EQ(run([](HWND) { ADD_FAILURE(); }), -1);
    EXPECT_EQ(compatDialogCount(), 5);
}

TEST_F(DialogContract, ClassCursorSharedByEveryPushButton)
{
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW), sizing = LoadCursorA(nullptr, IDC_SIZEWE);
    EXPECT_NE(arrow, nullptr);
    EXPECT_NE(arrow, sizing);
    EXPECT_EQ(compatCursorId(sizing), 32644);
    EXPECT_EQ(LoadCursorA(reinterpret_cast<HINSTANCE>((uintptr_t)0x400000), IDC_ARROW), nullptr)
        << "a module has no cursors of its own here";
    EXPECT_EQ(SetCursor(sizing), nullptr);
    EXPECT_EQ(SetCursor(arrow), sizing);
    run([&](HWND dialog) {
        EXPECT_EQ(compatClassCursor("Button"), arrow);
        EXPECT_EQ(SetClassLongPtrA(GetDlgItem(dialog, 1028), GCLP_HCURSOR, (LONG_PTR)sizing), (ULONG_PTR)arrow);
        EXPECT_EQ(compatClassCursor("button"), sizing) << "one class for every push button";
        EndDialog(dialog, 1);
    });
    run([&](HWND dialog) {
        EXPECT_EQ(compatClassCursor("Button"), sizing) << "and it stays changed for the next dialog";
        EXPECT_EQ(compatClassCursor("Edit"), arrow);
        EndDialog(dialog, 1);
    });
}

static int paintsSeen = 0;
static LRESULT CALLBACK countingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT)
        paintsSeen++;
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(DialogContract, InvalidationAndPaintPump)
{
    paintsSeen = 0;
    HWND window = compatCreateWindow("Painted", nullptr, countingProc, 100, 50);
    EXPECT_EQ(compatPumpPaints(), 0) << "nothing invalid";
    RECT a = {10, 10, 20, 20}, b = {-5, 30, 5, 40}, outside = {200, 0, 300, 10};
    EXPECT_TRUE(InvalidateRect(window, &a, FALSE));
    EXPECT_TRUE(InvalidateRect(window, &b, TRUE));
    EXPECT_TRUE(InvalidateRect(window, &outside, FALSE));
    ASSERT_EQ(compatInvalidations().size(), 3u);
    EXPECT_FALSE(compatInvalidations()[0].whole);
    EXPECT_EQ(compatInvalidations()[1].rect.left, -5) << "recorded as given";
    EXPECT_TRUE(compatInvalidations()[1].erase);
    EXPECT_EQ(compatPumpPaints(), 1) << "one paint for all the pending area";
    EXPECT_EQ(paintsSeen, 1);
    EXPECT_EQ(compatPumpPaints(), 0);
    EXPECT_TRUE(InvalidateRect(window, &outside, FALSE));
    EXPECT_EQ(compatPumpPaints(), 0) << "a rectangle outside the client area invalidates nothing";
    EXPECT_TRUE(InvalidateRect(window, nullptr, FALSE));
    EXPECT_TRUE(compatInvalidations().back().whole);
    EXPECT_EQ(compatInvalidations().back().rect.right, 100);
    EXPECT_EQ(compatPumpPaints(), 1);
    EXPECT_FALSE(InvalidateRect(reinterpret_cast<HWND>((uintptr_t)0x7777), nullptr, FALSE));
    compatClearInvalidations();
    EXPECT_TRUE(compatInvalidations().empty());
}

TEST_F(DialogContract, CaptureFollowsTheWindow)
{
    HWND a = compatCreateWindow("Captured", nullptr, nullptr, 10, 10);
    HWND b = compatCreateWindow("Captured", nullptr, nullptr, 10, 10);
    EXPECT_EQ(SetCapture(a), nullptr);
    EXPECT_EQ(SetCapture(b), a);
    EXPECT_EQ(GetCapture(), b);
    DestroyWindow(b);
    EXPECT_EQ(GetCapture(), nullptr) << "a destroyed window holds no capture";
    SetCapture(a);
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(GetCapture(), nullptr);
}
