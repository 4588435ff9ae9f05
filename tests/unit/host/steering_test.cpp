// Steering a recognised host built from the stand-in: what reaches the clipboard, the posted command,
// the keystrokes, and the two numbers that end up in the host's range dialog.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "support/fake_host.h"
#include "host/navigation.h"
#include "plugin/click_params.h"
#include "plugin/module_reset.h"
#include "plugin/module_state.h"
#include "host/range_host.h"

class SteeringTest : public PluginTest {
protected:
    void TearDown() override
    {
        compatClearClipboard();
        PluginTest::TearDown();
    }
    // Builds the host and lets XfmSetup recognise it from the view's parent.
    void setUpHost(const char *frameClass, uint32_t rangeCommand)
    {
        createRangeHost(frameClass, rangeCommand);
        ASSERT_EQ(XfmSetup(rangeHost().view, nullptr, &fakeHost().wave), 1);
    }
};

static std::string clip(const std::string &text) { return "clipboard " + text; }
static std::string post(int command) { return "post " + std::to_string(command); }
static std::string key(int vk, int scan, bool up)
{
    return "key " + std::to_string(vk) + " " + std::to_string(scan) + (up ? " up" : " down");
}

// The input log of a whole steering run to position with the range start and end.
static std::vector<std::string> steeringLog(const std::string &position, int command, const std::string &start,
                                            const std::string &end)
{
    std::vector<std::string> paste = {key(17, 29, false), key(86, 47, false), key(86, 47, true), key(17, 29, true)};
    std::vector<std::string> log = {clip(position), post(command), clip(start)};
    log.insert(log.end(), paste.begin(), paste.end());
    log.push_back(key(9, 15, false));
    log.push_back(key(9, 15, true));
    log.push_back(clip(end));
    log.insert(log.end(), paste.begin(), paste.end());
    return log;
}

TEST_F(SteeringTest, RecognisedHostsGetTheirCommandAndTheRangeInBothFields)
{
    struct Row {
        const char *frameClass;
        int32_t kind;
        uint32_t command;
    } rows[] = {{"COOL96", 1, 3147}, {"COOL2000SS", 2, 2055}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.frameClass);
        resetForRun();
        setUpHost(row.frameClass, row.command);
        ASSERT_EQ(hostKind, row.kind);
        compatSetClipboardText("copied earlier by another program");

        steerHost(1000);

        const RangeHost &h = rangeHost();
        ASSERT_EQ(h.dialogsOpened, 1);
        EXPECT_EQ(h.commands, std::vector<WPARAM>{row.command});
        EXPECT_EQ(h.commandParams, std::vector<LPARAM>{0});
        EXPECT_EQ(h.startText, "905") << "start field: position - ptsAround (95)";
        EXPECT_EQ(h.endText, "1095") << "end field: its old text replaced by position + ptsAround";
        EXPECT_EQ(h.openedAt, 100u) << "the command is acted on after the 100 ms pause";
        EXPECT_EQ(compatClockNow(), 300u) << "the keystrokes come from the 300 ms timer";
        EXPECT_EQ(inputLogText(), steeringLog("1000", (int)row.command, "905", "1095"));
        EXPECT_EQ(navPosition, 1000);
        EXPECT_NE(navTimer, 0u);
        EXPECT_EQ(compatClipboardText(), "1095");
        for (const CompatKeyEvent &e : compatKeyEvents()) {
            EXPECT_TRUE(e.flags == 0 || e.flags == KEYEVENTF_KEYUP) << "flags " << e.flags;
            EXPECT_EQ(e.extra, 0u);
        }
        compatClearClipboard();
    }
}

TEST_F(SteeringTest, UnsupportedHostOrNoWindowGetsTheClipboardOnly)
{
    struct Row {
        const char *name;
        bool keepWindow;
        int32_t kind;
    } rows[] = {{"unrecognised frame", true, 0}, {"no host window", false, 2}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        resetForRun();
        setUpHost("SomeOtherEditor", 2055);
        if (!row.keepWindow)
            hostWindow = nullptr;
        hostKind = row.kind;

        steerHost(4711);

        EXPECT_EQ(inputLogText(), std::vector<std::string>{clip("4711")});
        EXPECT_TRUE(rangeHost().commands.empty());
        EXPECT_EQ(navTimer, 0u);
        EXPECT_EQ(compatClockNow(), 0u) << "no pause, no pumping";
        EXPECT_EQ(navPosition, 4711);
        compatClearClipboard();
    }
}

TEST_F(SteeringTest, StartBelowZeroIsTypedAsANegativeNumber)
{
    setUpHost("COOL2000SS", 2055);
    clickParams.ptsAround = 75;
    steerHost(50);
    EXPECT_EQ(rangeHost().startText, "-25");
    EXPECT_EQ(rangeHost().endText, "125");
}

TEST_F(SteeringTest, PtsAroundIsReadWhenTheTimerFires)
{
    setUpHost("COOL96", 3147);
    rangeHost().ptsAroundOnOpen = 40; // changed after steering began, before the timer is due
    steerHost(1000);
    EXPECT_EQ(rangeHost().startText, "960");
    EXPECT_EQ(rangeHost().endText, "1040");
}

TEST_F(SteeringTest, AFailedCopyLeavesTheOldTextForThePaste)
{
    setUpHost("COOL2000SS", 2055);
    compatFailGlobalAllocAfter(1); // the position is copied, the start is not
    steerHost(1000);
    EXPECT_EQ(rangeHost().startText, "1000") << "the paste takes what the clipboard still holds";
    EXPECT_EQ(rangeHost().endText, "1095");
}

TEST_F(SteeringTest, PumpDispatchesWhatWaitsAndLeavesQuitAndFutureTimers)
{
    createRangeHost("COOL96", 3147);
    HWND view = rangeHost().view;
    UINT_PTR timer = SetTimer(nullptr, 0, 500, nullptr);
    PostMessageA(view, WM_COMMAND, 1, 0);
    PostMessageA(view, WM_COMMAND, 2, 0);
    PostQuitMessage(0);
    PostMessageA(view, WM_COMMAND, 3, 0);

    pumpMessages();

    EXPECT_EQ(rangeHost().commands, (std::vector<WPARAM>{1, 2, 3})) << "posted messages come before the quit";
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, (UINT)WM_QUIT) << "WM_QUIT stays for the loop that owns it";
    EXPECT_EQ(compatClockNow(), 0u) << "pumping never waits for a timer";

    ASSERT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    pumpMessages();
    EXPECT_EQ(compatClockNow(), 0u);
    KillTimer(nullptr, timer);
}
