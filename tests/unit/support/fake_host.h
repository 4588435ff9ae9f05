// A fake host for unit tests: an in-memory recording behind XfmWave's callbacks, a recorder of every
// call and message box, scripted answers, and a fixture that resets the plug-in and the stand-in
// and gives each test its own profile directory.
#pragma once
#include <gtest/gtest.h>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>
#include "compat_host.h"
#include "plugin/xfm.h"

struct FakeMessageBox {
    HWND owner;
    std::string text;
    std::string title;
    UINT flags;
    int answer;
};

struct FakeHost {
    std::vector<int16_t> recording;   // the host's whole recording, one 16-bit sample per frame
    XfmWave wave;                     // the selection handed to the plug-in
    int32_t cancelFlag;
    int32_t cancelAtProgressCall;     // set cancelFlag at this progress call (1-based), 0 = never
    int32_t cancelInFinish;           // set cancelFlag when finish is called
    bool failRead;                    // readSamples reports failure
    std::vector<std::string> events;  // "read O B", "write O B", "progress I N", "status T", "finish"
    std::vector<std::vector<int16_t>> writes; // the selection as each write delivered it
    std::vector<FakeMessageBox> boxes;
    std::deque<int> answers;          // answers for boxes (question boxes first come first served)
    int defaultAnswer;                // when answers is empty: IDOK for plain boxes, this for questions
};

// The one fake host (callbacks carry no context).
FakeHost &fakeHost();

// Resets the fake host to a recording and a selection of it (inclusive, host numbering).
void setUpFakeHost(const std::vector<int16_t> &recording, uint32_t selStart, uint32_t selEnd);

// The selection as the last write left it (or as read, when nothing was written).
std::vector<int16_t> selectionAfterRun();

// Count of events that start with prefix.
int countEvents(const std::string &prefix);

// One of the stand-in's input events as a line: "clipboard TEXT", "post N" or "key VK SCAN up|down".
std::string inputEventText(const CompatInputEvent &event);
// The stand-in's input log since the last reset, one inputEventText line per event.
std::vector<std::string> inputLogText();

// Fixture: resets the stand-in and all plug-in state, installs the fake host's message-box responder,
// and points the profile directory at a fresh temporary directory. On tear-down, and before a table's
// next run wipes the stand-in, checks that nothing is left live: no global block (but the one the
// clipboard owns), pen, device context, drawing record, timer, mouse capture or subclassed window,
// and no window or canvas but the host's own.
class PluginTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The stand-in, the plug-in and the fake host back to their start for the next run of a table,
    // in the same profile directory.
    void resetForRun();
    // What a test leaves live on purpose, counted as the check counts it (windows and canvases beyond
    // the host's): zero unless the test says otherwise.
    CompatLiveCounts allowedLive = {};
    // The check itself, for a table that wants it under its own trace; when ends each message.
    void expectNothingLive(const char *when) const;
    std::string profileDir;
    std::string iniPath() const { return profileDir + "/Vantrope.ini"; }
    std::string readIni() const;
    void writeIni(const std::string &text) const;
};
