// Fault injection over whole runs. Every fallible call the plug-in makes, and the host's read, is made
// to fail at each of its calls in turn (once, and from that call on), in scripted runs of both review
// forms: question boxes answered with every answer, a dialog session that presses every button, drags
// a marker, scrolls and edits, and runs that steer a recognised host. Each faulted run must end
// cleanly: the result and the messages the failure calls for and no other, nothing left live, no
// sample changed away from the clicks, and a settings file that is whole.
#include <gtest/gtest.h>
#include <cstdio>
#include <deque>
#include <map>
#include <sstream>
#include <string>
#include <vector>
#include "host/range_host.h"
#include "plugin/click_params.h"
#include "plugin/messages.h"
#include "plugin/module_state.h"
#include "support/fake_host.h"
#include "ui/dialog_ids.h"

namespace {

// Dialog actions besides the buttons: each acts on the open dialog, then the next action follows.
enum : int32_t { DRAG_END_MARKER = -1, SCROLL_BLEND = -2, EDIT_C1 = -3 };
enum Form { QUESTION_BOX, QUESTION_BOX_HOST, DIALOG };

struct Scenario {
    const char *name;
    Form form;
    const char *frameClass;               // the host's frame (forms with a host window)
    uint32_t rangeCommand;                // what the frame's view takes as its range command, 0 = none
    const char *settings;                 // settings the file holds before the run, beside the defaults
    std::vector<int> answers;             // question boxes, in order (then "Stop")
    std::vector<int32_t> actions;         // dialog actions, in order (then the fallback button)
    int32_t fallback;
    const char *savedLine;                // a line the saved file holds when the run goes as scripted
};

const Scenario scenarios[] = {
    {"question box: Yes, then Cancel (automatic) in multipass", QUESTION_BOX, nullptr, 0,
     "StartOver=1", {IDYES, IDCANCEL}, {}, ID_STOP_HERE, nullptr},
    {"question box: Yes, then No, steering to the clipboard", QUESTION_BOX, nullptr, 0, "", {IDYES, IDNO}, {},
     ID_STOP_HERE, nullptr},
    {"question box steering a recognised host", QUESTION_BOX_HOST, "COOL96", 3147, "", {IDYES, IDNO}, {}, ID_STOP_HERE,
     nullptr},
    {"dialog: every button, a drag, a scroll and an edit, in multipass", DIALOG, "COOL2000SS", 2055,
     "StartOver=1 AutoZoom=1", {},
     {ID_FIND_NEXT, DRAG_END_MARKER, ID_SKIP, ID_GO_BACK, SCROLL_BLEND, ID_REPAIR, EDIT_C1, ID_FIND_NEXT,
      ID_AUTO_REPAIR},
     ID_CLOSE, nullptr},
    {"dialog: Repair, then Stop Here steering a recognised host", DIALOG, "COOL96", 3147,
     "RangeDialog=1", {}, {ID_REPAIR, DRAG_END_MARKER, ID_STOP_HERE}, ID_STOP_HERE, nullptr},
    {"dialog: C1 at the top of the range, a candidate repaired", DIALOG, "VantropeTestFrame", 0,
     "C1=2147483647 C2=5", {}, {ID_REPAIR}, ID_CLOSE, "C2=2147483647"},
};

// Clicks far apart on a quiet triangle wave: every repair lies within REACH of one of them.
const uint32_t CLICKS[] = {1500, 3500, 5500, 7500, 9500};
enum : uint32_t { RECORDING = 11025, REACH = 330, LONGEST_CHANGE = 321 };

std::vector<int16_t> recordingWithClicks()
{
    std::vector<int16_t> r(RECORDING);
    for (size_t i = 0; i < r.size(); i++) {
        int32_t phase = (int32_t)(i % 64);
        r[i] = (int16_t)(((phase < 32 ? phase : 64 - phase) * 2 - 32) * 20);
    }
    for (uint32_t at : CLICKS)
        r[at] = (int16_t)(r[at] + 12000);
    return r;
}

// A whole settings file: every key, the scenario's values over the defaults. A file that holds every
// key already is rewritten only where a value changes, which keeps the sweep quick.
std::string settingsFile(const std::string &settings)
{
    static const char *const keys[][2] = {
        {"C1", "4"}, {"D1", "600"}, {"C2", "9"}, {"Zoom", "1"}, {"LineBezier", "0"}, {"PtsAround", "75"},
        {"StartOver", "0"}, {"AutoZoom", "0"}, {"RangeDialog", "0"}, {"UseBaseFreqVer", "1"}, {"BaseFreqVerS", "1"},
    };
    std::string text = "[Coeffs]\r\n";
    for (const auto &k : keys) {
        std::string key = std::string(k[0]) + "=";
        std::string value = k[1];
        size_t at = (" " + settings).find(" " + key);
        if (at != std::string::npos) {
            size_t end = settings.find(' ', at);
            size_t from = at + key.size();
            value = settings.substr(from, end == std::string::npos ? std::string::npos : end - from);
        }
        text += key + value + "\r\n";
    }
    return text;
}

std::deque<int32_t> dialogActions;
int32_t dialogFallback = ID_STOP_HERE;

void act(HWND dialog, int32_t action)
{
    switch (action) {
    case DRAG_END_MARKER: {
        // Where the last paint drew the end marker; without a paint the press lands off the markers.
        HWND view = GetDlgItem(dialog, IDC_WAVE_VIEW);
        int x = clickParams.endMarkerX;
        SendMessageA(view, WM_LBUTTONDOWN, 0, (LPARAM)(uint32_t)(10u << 16 | (uint16_t)x));
        SendMessageA(view, WM_MOUSEMOVE, 0, (LPARAM)(uint32_t)(10u << 16 | (uint16_t)(x + 6)));
        SendMessageA(view, WM_LBUTTONUP, 0, (LPARAM)(uint32_t)(10u << 16 | (uint16_t)(x + 6)));
        compatPumpPaints();
        break;
    }
    case SCROLL_BLEND:
        SendMessageA(dialog, WM_HSCROLL, SB_LINERIGHT, (LPARAM)GetDlgItem(dialog, IDC_BLEND_BAR));
        compatPumpPaints();
        break;
    case EDIT_C1:
        SetDlgItemTextA(dialog, IDC_C1, "5");
        break;
    default:
        break;
    }
}

void driveDialog(HWND dialog, void *)
{
    for (;;) {
        int32_t action = dialogFallback;
        if (!dialogActions.empty()) {
            action = dialogActions.front();
            dialogActions.pop_front();
        }
        if (action < 0) {
            act(dialog, action);
            continue;
        }
        // A person cannot press a disabled button: "Find Next" instead.
        HWND button = GetDlgItem(dialog, action);
        if (!IsWindowEnabled(button))
            button = GetDlgItem(dialog, ID_FIND_NEXT);
        SendMessageA(button, BM_CLICK, 0, 0);
        return;
    }
}

// How a failure may change the run.
enum Effect {
    SAME,        // nothing the user gets changes: result, messages, audio and settings as without it
    UNREAD,      // "Can't read data.", result 0, nothing written or saved
    NO_MEMORY,   // "No memory.", result 0, nothing written or saved
    COURSE,      // the run takes another course (a review not shown, defaults read, nothing painted)
    UNSAVED,     // as SAME, but a setting may keep the value the file held before
};

Effect effectOf(CompatFallible call, uint32_t nth, bool persistent)
{
    switch (call) {
    case COMPAT_READ_SAMPLES:
        return UNREAD;
    case COMPAT_GLOBAL_ALLOC:
        // The run's first allocation is its block with the tables, which falls back to the samples
        // alone; only when that fails too is there no memory. Later ones are the clipboard's.
        return persistent && nth == 1 ? NO_MEMORY : SAME;
    case COMPAT_DIALOG_BOX:
    case COMPAT_PROFILE_READ:
    case COMPAT_GET_DC: // no paint: the markers are where the user cannot see them, the drag misses
        return COURSE;
    case COMPAT_PROFILE_WRITE:
        return UNSAVED;
    default:
        return SAME;
    }
}

struct Outcome {
    int32_t result = 0;
    std::vector<std::string> boxes;       // owner, flags and text of every message box
    std::vector<int16_t> audio;           // the host's recording after the run
    std::string ini;                      // the settings file after the run
    uint32_t calls[COMPAT_FALLIBLE_COUNT] = {};
};

std::map<std::string, std::string> iniEntries(const std::string &text, bool *wellFormed)
{
    std::map<std::string, std::string> entries;
    std::istringstream in(text);
    std::string line;
    *wellFormed = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line == "[Coeffs]")
            continue;
        size_t eq = line.find('=');
        if (eq == std::string::npos || entries.count(line.substr(0, eq)))
            *wellFormed = false;
        else
            entries[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return entries;
}

bool pluginText(const std::string &text)
{
    return text.rfind("Possible click found at sample ", 0) == 0 || text.rfind("Best guess of the click", 0) == 0 ||
           text == MSG_NOTHING_FOUND || text == MSG_CANT_REPAIR;
}

class FaultSweep : public PluginTest {
protected:
    std::vector<int16_t> input = recordingWithClicks();

    // Sets up the scenario's host and settings, arms the fault (call COMPAT_FALLIBLE_COUNT: none),
    // runs XfmDo and collects what the user is left with; checks (under the caller's trace) that nothing
    // stays live.
    Outcome run(const Scenario &s, CompatFallible call, uint32_t nth, uint32_t count)
    {
        resetForRun();
        writeIni(settingsFile(s.settings));
        setUpFakeHost(input, 0, (uint32_t)input.size() - 1);
        fakeHost().answers.assign(s.answers.begin(), s.answers.end());
        fakeHost().defaultAnswer = IDNO;
        dialogActions.assign(s.actions.begin(), s.actions.end());
        dialogFallback = s.fallback;
        HWND window = nullptr;
        if (s.form != QUESTION_BOX) {
            createRangeHost(s.frameClass, s.rangeCommand);
            window = rangeHost().view;
        }
        HINSTANCE instance = s.form == DIALOG ? reinterpret_cast<HINSTANCE>((uintptr_t)0x400000) : nullptr;
        compatSetDialogDriver(driveDialog, nullptr);
        if (call != COMPAT_FALLIBLE_COUNT)
            compatFailCall(call, nth, count);
        uint32_t callsBefore[COMPAT_FALLIBLE_COUNT];
        for (int c = 0; c < COMPAT_FALLIBLE_COUNT; c++)
            callsBefore[c] = compatCallCount((CompatFallible)c);

        // The host sets the plug-in up (it recognises the host here) and runs it.
        Outcome o;
        EXPECT_EQ(XfmSetup(window, instance, &fakeHost().wave), 1);
        o.result = XfmDo(&fakeHost().wave);
        compatDisarmFaults();
        for (int c = 0; c < COMPAT_FALLIBLE_COUNT; c++)
            o.calls[c] = compatCallCount((CompatFallible)c) - callsBefore[c];
        for (const FakeMessageBox &b : fakeHost().boxes)
            o.boxes.push_back(std::string(b.owner ? "owned " : "") + std::to_string(b.flags) + " " + b.text);
        o.audio = fakeHost().recording;
        o.ini = readIni();

        // The host's range dialog opens only when the plug-in goes on to type the range into it.
        if (s.form != QUESTION_BOX && rangeHost().dialogsOpened > 0) {
            EXPECT_FALSE(compatKeyEvents().empty()) << "the range dialog opened and nothing was typed";
        }
        expectNothingLive("after the run");
        compatClearClipboard();
        return o;
    }

    // Every changed sample lies near a click, in a stretch of changes no longer than a repair.
    void expectChangesOnlyAtClicks(const std::vector<int16_t> &audio)
    {
        ASSERT_EQ(audio.size(), input.size());
        uint32_t runStart = 0, runLength = 0;
        for (uint32_t i = 0; i < audio.size(); i++) {
            if (audio[i] == input[i]) {
                runLength = 0;
                continue;
            }
            if (runLength++ == 0)
                runStart = i;
            bool near = false;
            for (uint32_t at : CLICKS)
                near = near || (i + REACH >= at && i <= at + REACH);
            ASSERT_TRUE(near) << "sample " << i << " changed away from every click";
            ASSERT_LE(runLength, (uint32_t)LONGEST_CHANGE) << "changes from " << runStart;
        }
    }

    void expectOutcome(const Scenario &s, const Outcome &ref, const Outcome &o, Effect effect)
    {
        bool wellFormed = true;
        std::map<std::string, std::string> before = iniEntries(settingsFile(s.settings), &wellFormed);
        std::map<std::string, std::string> saved = iniEntries(o.ini, &wellFormed);
        EXPECT_TRUE(wellFormed) << o.ini;
        switch (effect) {
        case SAME:
        case UNSAVED:
            EXPECT_EQ(o.result, ref.result);
            EXPECT_EQ(o.boxes, ref.boxes);
            EXPECT_TRUE(o.audio == ref.audio) << "the audio differs from the run without the failure";
            if (effect == SAME) {
                EXPECT_EQ(o.ini, ref.ini);
                break;
            }
            // Each key holds what the run saved or what the file held before.
            for (const auto &entry : iniEntries(ref.ini, &wellFormed)) {
                auto found = saved.find(entry.first);
                auto old = before.find(entry.first);
                if (found == saved.end())
                    EXPECT_TRUE(old == before.end()) << entry.first << " lost";
                else
                    EXPECT_TRUE(found->second == entry.second || (old != before.end() && found->second == old->second))
                        << entry.first << "=" << found->second;
            }
            break;
        case UNREAD:
        case NO_MEMORY:
            EXPECT_EQ(o.result, 0);
            EXPECT_EQ(o.boxes, std::vector<std::string>{std::to_string(MB_OK | MB_ICONERROR) + " " +
                                                        (effect == UNREAD ? MSG_CANT_READ : MSG_NO_MEMORY)});
            EXPECT_TRUE(o.audio == input) << "nothing is written";
            EXPECT_EQ(o.ini, settingsFile(s.settings)) << "nothing is saved";
            break;
        case COURSE:
            EXPECT_EQ(o.result, 1);
            for (const std::string &box : o.boxes)
                EXPECT_TRUE(pluginText(box.substr(box.find(' ') + 1))) << box;
            EXPECT_EQ(saved.size(), 11u) << o.ini;
            break;
        }
        expectChangesOnlyAtClicks(o.audio);
    }
};

TEST_F(FaultSweep, EveryFailurePointEndsCleanly)
{
    int failurePoints = 0;
    std::string reached;
    for (const Scenario &s : scenarios) {
        SCOPED_TRACE(s.name);
        Outcome ref = run(s, COMPAT_FALLIBLE_COUNT, 0, 0);
        ASSERT_EQ(ref.result, 1);
        ASSERT_FALSE(ref.audio == input) << "the scripted run repairs something";
        expectChangesOnlyAtClicks(ref.audio);
        if (s.savedLine) {
            EXPECT_NE(ref.ini.find(std::string(s.savedLine) + "\r\n"), std::string::npos) << ref.ini;
        }
        for (int c = 0; c < COMPAT_FALLIBLE_COUNT; c++) {
            CompatFallible call = (CompatFallible)c;
            for (bool persistent : {false, true}) {
                // Every call number the run reaches, also where a failure makes it reach more.
                for (uint32_t nth = 1;; nth++) {
                    SCOPED_TRACE(std::string(compatFallibleName(call)) + " call " + std::to_string(nth) +
                                 (persistent ? " and every later one" : "") + " fails");
                    Outcome o = run(s, call, nth, persistent ? 0xFFFFFFFFu : 1u);
                    if (o.calls[c] < nth)
                        break;
                    failurePoints++;
                    expectOutcome(s, ref, o, effectOf(call, nth, persistent));
                    if (s.savedLine && effectOf(call, nth, persistent) == SAME) {
                        EXPECT_NE(o.ini.find(std::string(s.savedLine) + "\r\n"), std::string::npos) << o.ini;
                    }
                    if (HasFailure())
                        return; // one report is enough to go on
                }
            }
            reached += std::string(" ") + compatFallibleName(call) + "=" + std::to_string(ref.calls[c]);
        }
        reached += ";";
    }
    RecordProperty("failure_points", failurePoints);
    printf("failure points reached: %d (calls per fault-free run:%s)\n", failurePoints, reached.c_str());
    EXPECT_GT(failurePoints, 0);
}

} // namespace
