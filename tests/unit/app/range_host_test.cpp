// The host program as a recognised editor: the plug-in's steering seen through the host's own range
// dialog and transcript, for each kind of frame; a whole run that steers to a range starting below
// zero; ptsAround changed while the dialog is open; the idle timeout; the host's own calls kept out
// of the transcript; and the range event's numbers.
#include <gtest/gtest.h>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>
#include "app/range_host.h"
#include "app/transcript.h"
#include "host/navigation.h"
#include "plugin/click_params.h"
#include "support/fake_host.h"

class RangeHostTest : public PluginTest {
protected:
    HWND frame = nullptr;
    HWND child = nullptr;
    std::string logPath;

    void SetUp() override
    {
        PluginTest::SetUp();
        logPath = profileDir + "/steer.jsonl";
        std::string error;
        ASSERT_TRUE(transcriptOpen(logPath, &error)) << error;
        rangeHostSetOpenHook(nullptr, nullptr);
    }
    void TearDown() override
    {
        transcriptClose();
        rangeHostSetOpenHook(nullptr, nullptr);
        compatClearClipboard();
        PluginTest::TearDown();
    }
    // The host's windows as the host program makes them, with the recognised editor attached and
    // XfmSetup told about the child.
    void setUpHost(const char *frameClass, const std::vector<int16_t> &recording = std::vector<int16_t>(200, 0))
    {
        setUpFakeHost(recording, 0, (uint32_t)recording.size() - 1);
        frame = compatCreateWindow(frameClass, nullptr, nullptr, 800, 600);
        child = compatCreateWindow("VantropeHostView", frame, nullptr, 780, 560);
        rangeHostAttach(frameClass, frame, child, RANGE_TIMEOUT_DEFAULT_MS);
        // The host program watches its two windows for as long as they live.
        allowedLive.subclassed = 2;
        ASSERT_EQ(XfmSetup(child, nullptr, &fakeHost().wave), 1);
    }
    // The transcript's steering events (clipboard, post, key, range, clipboard-after), in order.
    std::vector<std::string> steeringEvents()
    {
        transcriptClose();
        std::vector<std::string> events;
        std::ifstream file(logPath);
        std::string line;
        static const char *const kinds[] = {"clipboard", "post", "key", "range", "clipboard-after"};
        while (std::getline(file, line))
            for (const char *kind : kinds)
                if (line.find(std::string("{\"event\":\"") + kind + "\"") == 0)
                    events.push_back(line);
        return events;
    }
};

static std::string clip(const std::string &text) { return "{\"event\":\"clipboard\",\"text\":\"" + text + "\"}"; }
static std::string after(const std::string &text)
{
    return "{\"event\":\"clipboard-after\",\"text\":\"" + text + "\"}";
}
static std::string range(const std::string &start, const std::string &end)
{
    return "{\"event\":\"range\",\"start\":" + start + ",\"end\":" + end + "}";
}

// The steering a recognised host sees: the position, the command, the start pasted, Tab, the end
// pasted, the range the dialog ends with, and the end value left on the clipboard.
static std::vector<std::string> steered(int32_t position, uint32_t command, int32_t start, int32_t end)
{
    std::vector<std::string> paste = {keyEventJson(17, 29, false), keyEventJson(86, 47, false),
                                      keyEventJson(86, 47, true), keyEventJson(17, 29, true)};
    std::vector<std::string> log = {clip(std::to_string(position)), postEventJson(command), clip(std::to_string(start))};
    log.insert(log.end(), paste.begin(), paste.end());
    log.push_back(keyEventJson(9, 15, false));
    log.push_back(keyEventJson(9, 15, true));
    log.push_back(clip(std::to_string(end)));
    log.insert(log.end(), paste.begin(), paste.end());
    log.push_back(range(std::to_string(start), std::to_string(end)));
    log.push_back(after(std::to_string(end)));
    return log;
}

static std::string joined(const std::vector<std::string> &lines)
{
    std::string out;
    for (const std::string &line : lines)
        out += line + "\n";
    return out;
}

TEST_F(RangeHostTest, EachKindOfFrameGetsItsSteering)
{
    struct Row {
        const char *frameClass;
        uint32_t command; // 0: no editor the plug-in knows
    } rows[] = {{"COOL2000SS", 2055}, {"COOL96", 3147}, {"VantropeHostFrame", 0}, {"cool96", 0}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.frameClass);
        TearDown();
        SetUp();
        setUpHost(row.frameClass);
        uint32_t began = compatClockNow();
        steerHost(1000);
        rangeHostRunEnded();
        std::vector<std::string> expected =
            row.command ? steered(1000, row.command, 905, 1095) : std::vector<std::string>{clip("1000"), after("1000")};
        EXPECT_EQ(joined(steeringEvents()), joined(expected));
        EXPECT_EQ(rangeHostDialogsOpened(), row.command ? 1 : 0);
        EXPECT_EQ(compatQueuedMessages(), 0);
        // The dialog closed as soon as the end arrived, long before its idle time ran out.
        EXPECT_LT(compatClockNow() - began, (uint32_t)RANGE_TIMEOUT_DEFAULT_MS);
        EXPECT_EQ(compatIdleQuits(), 0);
    }
}

// A click at host position 50 with PtsAround 75 from the settings file: the range starts at -25,
// pasted as a negative number and taken by the host's field as it is.
TEST_F(RangeHostTest, WholeRunSteersToARangeStartingBelowZero)
{
    writeIni("[Coeffs]\r\nPtsAround=75\r\n");
    std::vector<int16_t> recording(4410);
    for (size_t i = 0; i < recording.size(); i++) {
        int32_t phase = (int32_t)(i % 64);
        recording[i] = (int16_t)(((phase < 32 ? phase : 64 - phase) * 2 - 32) * 20);
    }
    recording[49] = (int16_t)(recording[49] + 12000);
    setUpHost("COOL2000SS", recording);
    fakeHost().answers = {IDNO}; // the question's "Stop"
    ASSERT_EQ(XfmDo(&fakeHost().wave), 1);
    rangeHostRunEnded();
    EXPECT_EQ(joined(steeringEvents()), joined(steered(50, 2055, -25, 125)));
    ASSERT_EQ(fakeHost().boxes.size(), 1u);
    EXPECT_NE(fakeHost().boxes[0].text.find("sample 50 "), std::string::npos) << fakeHost().boxes[0].text;
}

static void setPtsAround(HWND dialog, void *context)
{
    (void)dialog;
    clickParams.ptsAround = *static_cast<int32_t *>(context);
}

// ptsAround is read when the timer fires, not when steering began.
TEST_F(RangeHostTest, PtsAroundChangedWhileTheDialogOpensGivesTheNewRange)
{
    setUpHost("COOL96");
    int32_t around = 10;
    rangeHostSetOpenHook(setPtsAround, &around);
    steerHost(1000);
    rangeHostRunEnded();
    EXPECT_EQ(joined(steeringEvents()), joined(steered(1000, 3147, 990, 1010)));
}

static void noteOpening(HWND dialog, void *context)
{
    (void)dialog;
    *static_cast<uint32_t *>(context) = compatClockNow();
}

// With no plug-in typing, the dialog the host's own command opened closes at its idle time with
// what the fields hold (nothing), and nothing is left on the clipboard to read back.
TEST_F(RangeHostTest, DialogWithoutInputClosesAtItsIdleTime)
{
    setUpHost("COOL2000SS");
    uint32_t opened = 0;
    rangeHostSetOpenHook(noteOpening, &opened);
    SendMessageA(child, WM_COMMAND, 2055, 0);
    rangeHostRunEnded();
    EXPECT_EQ(compatClockNow() - opened, (uint32_t)RANGE_TIMEOUT_DEFAULT_MS);
    EXPECT_EQ(joined(steeringEvents()), joined({range("\"\"", "\"\"")}));
    EXPECT_EQ(compatIdleQuits(), 0);
}

// Other commands reach the frame's own procedure and open nothing; the host's own input calls are
// not the plug-in's and stay out of the transcript.
TEST_F(RangeHostTest, HostsOwnCallsAndOtherCommandsAreNoEvents)
{
    setUpHost("COOL2000SS");
    SendMessageA(child, WM_COMMAND, 2056, 0);
    EXPECT_EQ(rangeHostDialogsOpened(), 0);
    hostOwnInputBegin();
    PostMessageA(child, WM_COMMAND, 77, 0);
    keybd_event(VK_TAB, 15, 0, 0);
    copyNumber(5);
    hostOwnInputEnd();
    rangeHostRunEnded();
    PostMessageA(child, WM_COMMAND, 78, 0);
    EXPECT_EQ(joined(steeringEvents()), joined({postEventJson(78)}));
}

// The stand-in reports the text raw and the host escapes it, so both builds write the same line.
TEST_F(RangeHostTest, ClipboardTextsAreEscapedByTheHostsOneWriter)
{
    setUpHost("COOL2000SS");
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 8);
    memcpy(GlobalLock(block), "a\b\xe9", 4);
    GlobalUnlock(block);
    ASSERT_TRUE(OpenClipboard(child));
    EmptyClipboard();
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    EXPECT_EQ(joined(steeringEvents()), joined({clip("a\\b\\u00e9")}));
}

TEST(RangeValueJson, IntegersBecomeNumbersEverythingElseAString)
{
    struct Row {
        const char *text;
        const char *json;
    } rows[] = {{"-25", "-25"},          {"007", "7"},
                {"+5", "5"},            {"-2147483648", "-2147483648"},
                {"000000000001", "1"},  {"2147483648", "\"2147483648\""},
                {"12345678901", "\"12345678901\""}, {"", "\"\""},
                {"-", "\"-\""},        {" 12", "\" 12\""},
                {"1\"2", "\"1\\\"2\""}};
    for (const Row &row : rows)
        EXPECT_EQ(rangeValueJson(row.text), row.json) << "field text \"" << row.text << "\"";
}
