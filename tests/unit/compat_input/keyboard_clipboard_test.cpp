// The stand-in's keyboard and clipboard: key events taken by the window focused when a loop takes
// them, Ctrl+V into edit fields, Tab between a dialog's tab stops, the clipboard's open rules and
// block ownership, and the recorder the host's transcript is built from.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "support/fake_host.h"

static std::vector<MSG> received;

static LRESULT CALLBACK keepingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR) {
        MSG msg = MSG();
        msg.hwnd = window;
        msg.message = message;
        msg.wParam = wParam;
        msg.lParam = lParam;
        received.push_back(msg);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class InputTest : public PluginTest {
protected:
    void SetUp() override
    {
        PluginTest::SetUp();
        received.clear();
        dialog = compatCreateWindow("Range", nullptr, DefWindowProcA, 100, 100);
        first = field(WS_TABSTOP, "12");
        label = compatCreateWindow("Static", dialog, keepingProc, 10, 10);
        disabled = field(WS_TABSTOP, "");
        EnableWindow(disabled, FALSE);
        second = field(WS_TABSTOP, "old");
        SetFocus(first);
    }
    void TearDown() override
    {
        compatClearClipboard();
        PluginTest::TearDown();
    }
    HWND field(DWORD style, const char *text)
    {
        HWND edit = compatCreateWindow("Edit", dialog, nullptr, 40, 10);
        SetWindowLongA(edit, GWL_STYLE, (LONG_PTR)(WS_CHILD | WS_VISIBLE | style));
        SetWindowTextA(edit, text);
        return edit;
    }
    // A dialog's modal loop, until nothing more can arrive.
    void runDialogLoop()
    {
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0)
            if (!IsDialogMessageA(dialog, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
    }
    static void pasteKeys()
    {
        keybd_event(VK_CONTROL, 29, 0, 0);
        keybd_event('V', 47, 0, 0);
        keybd_event('V', 47, KEYEVENTF_KEYUP, 0);
        keybd_event(VK_CONTROL, 29, KEYEVENTF_KEYUP, 0);
    }
    static void copy(const char *text, bool empty = true)
    {
        ASSERT_TRUE(OpenClipboard(nullptr));
        if (empty)
            EmptyClipboard();
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, 64);
        strcpy((char *)GlobalLock(block), text);
        ASSERT_EQ(SetClipboardData(CF_TEXT, block), block);
        CloseClipboard();
    }
    static std::string text(HWND window)
    {
        char buffer[64];
        GetWindowTextA(window, buffer, sizeof buffer);
        return buffer;
    }
    HWND dialog, first, label, disabled, second;
};

TEST_F(InputTest, KeyEventsGoToTheWindowFocusedWhenTheyAreTaken)
{
    HWND target = compatCreateWindow("Target", nullptr, keepingProc, 10, 10);
    keybd_event('A', 30, 0, 0);
    keybd_event('A', 30, KEYEVENTF_KEYUP, 0);
    SetFocus(target); // typed ahead before the focus moved: still reaches the new focus
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0].message, (UINT)WM_KEYDOWN);
    EXPECT_EQ((uint32_t)received[0].lParam, 1u | (30u << 16));
    EXPECT_EQ(received[1].message, (UINT)WM_CHAR);
    EXPECT_EQ(received[1].wParam, (WPARAM)'a');
    EXPECT_EQ(received[2].message, (UINT)WM_KEYUP);
    EXPECT_EQ((uint32_t)received[2].lParam, 1u | (30u << 16) | (1u << 30) | (1u << 31));
}

TEST_F(InputTest, CtrlVAppendsTheFirstLineOfTheClipboardToTheFocusedEdit)
{
    copy("34\r\nrest");
    pasteKeys();
    runDialogLoop();
    EXPECT_EQ(text(first), "1234");
    EXPECT_EQ(text(second), "old");
    EXPECT_EQ(compatClipboardText(), "34\r\nrest") << "pasting leaves the clipboard as it was";
}

TEST_F(InputTest, TabSkipsWhatIsNoTabStopAndAPasteReplacesTheEnteredField)
{
    copy("99");
    keybd_event(VK_TAB, 15, 0, 0);
    keybd_event(VK_TAB, 15, KEYEVENTF_KEYUP, 0);
    pasteKeys();
    runDialogLoop();
    EXPECT_EQ(GetFocus(), second) << "the label and the disabled field are passed over";
    EXPECT_EQ(text(second), "99") << "Tab selected the field's whole text";
    keybd_event(VK_TAB, 15, 0, 0);
    runDialogLoop();
    EXPECT_EQ(GetFocus(), first) << "Tab wraps around";
    keybd_event(0x10, 42, 0, 0); // Shift+Tab goes back
    keybd_event(VK_TAB, 15, 0, 0);
    runDialogLoop();
    EXPECT_EQ(GetFocus(), second);
}

// Two pastes need the pump between them: the edit reads the clipboard when it takes the keystroke.
TEST_F(InputTest, PastesReadTheClipboardWhenTakenNotWhenTyped)
{
    struct Row {
        bool pumpBetween;
        const char *firstText;
    } rows[] = {{true, "12-25"}, {false, "12125"}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.pumpBetween ? "with pump" : "without pump");
        SetWindowTextA(first, "12");
        SetWindowTextA(second, "old");
        SetFocus(first);
        copy("-25");
        pasteKeys();
        if (row.pumpBetween) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        keybd_event(VK_TAB, 15, 0, 0);
        keybd_event(VK_TAB, 15, KEYEVENTF_KEYUP, 0);
        copy("125");
        pasteKeys();
        runDialogLoop();
        EXPECT_EQ(text(first), row.firstText);
        EXPECT_EQ(text(second), "125");
    }
}

// Setting CF_TEXT again without emptying keeps the Unicode text the first paste rendered.
TEST_F(InputTest, ACopyWithoutEmptyClipboardPastesTheOlderText)
{
    struct Row {
        bool empty;
        const char *pasted;
    } rows[] = {{true, "125"}, {false, "-25"}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.empty ? "emptied" : "not emptied");
        SetWindowTextA(first, "");
        SetFocus(first);
        copy("-25");
        pasteKeys();
        runDialogLoop();
        SetWindowTextA(first, "");
        copy("125", row.empty);
        pasteKeys();
        runDialogLoop();
        EXPECT_EQ(text(first), row.pasted);
        EXPECT_EQ(compatClipboardText(), "125") << "CF_TEXT itself was replaced";
    }
}

TEST_F(InputTest, ClipboardOpensOncePerWindowAndOwnsTheBlockItWasGiven)
{
    HWND other = compatCreateWindow("Other", nullptr, nullptr, 1, 1);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 8);
    EXPECT_EQ(SetClipboardData(CF_TEXT, block), nullptr) << "not open";
    EXPECT_FALSE(CloseClipboard());
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_TRUE(OpenClipboard(nullptr)) << "the window holding it open may open it again";
    EXPECT_FALSE(OpenClipboard(other));
    EXPECT_EQ(SetClipboardData(2, block), nullptr) << "only text is kept";
    EXPECT_EQ(SetClipboardData(CF_TEXT, block), block) << "no EmptyClipboard is needed";
    EXPECT_EQ(GetClipboardData(CF_TEXT), block);
    HGLOBAL replacement = GlobalAlloc(GMEM_MOVEABLE, 8);
    strcpy((char *)GlobalLock(replacement), "x");
    SetClipboardData(CF_TEXT, replacement);
    EXPECT_EQ(compatLiveGlobalBlocks(), 1) << "the replaced block was freed";
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr) << "closed";
    EXPECT_EQ(compatClipboardText(), "x");
    ASSERT_TRUE(OpenClipboard(other));
    EXPECT_TRUE(EmptyClipboard());
    CloseClipboard();
    EXPECT_FALSE(compatClipboardHasText());
}

static std::vector<std::string> observed;
static void observe(const CompatInputEvent &event, void *context)
{
    observed.push_back(inputEventText(event) + (context == &observed ? "" : " ?"));
}

TEST_F(InputTest, TheObserverSeesClipboardTextsPostedCommandsAndKeysInOrder)
{
    observed.clear();
    compatSetInputObserver(observe, &observed);
    copy("a\"b\\c");
    PostMessageA(dialog, WM_COMMAND, 2055, 0);
    PostMessageA(dialog, WM_USER, 1, 0);
    keybd_event(VK_CONTROL, 29, KEYEVENTF_KEYUP, 0);
    std::vector<std::string> expected = {
        "clipboard a\"b\\c",
        "post 2055",
        "key 17 29 up",
    };
    EXPECT_EQ(observed, expected);
    EXPECT_EQ(compatInputLog().size(), 3u);
    compatSetClipboardText("not recorded");
    EXPECT_EQ(observed.size(), 3u);
}
