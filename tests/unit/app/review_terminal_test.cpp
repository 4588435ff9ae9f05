// The review as a person at the terminal sees and answers it: the facts read from the candidate
// message, times and words, typed answers in both forms, the view in braille with the span and the
// candidate marked, and whole sessions through the stand-in's dialog: help, a repair, the end of
// input closing the review and ending the file, and stop ending the file.
#include <gtest/gtest.h>
#include <fstream>
#include <iostream>
#include <sstream>
#include "app/host_session.h"
#include "app/review_driver.h"
#include "app/review_terminal.h"
#include "app/transcript.h"
#include "compat_host.h"
#include "plugin/xfm.h"
#include "support/fake_host.h"

TEST(TerminalReview, FactsTimesAndWords)
{
    CandidateFacts facts;
    ASSERT_TRUE(readCandidateMessage("Possible click found at sample 2211  (2948/536)\nBase Frequency Verification: OK", &facts));
    EXPECT_FALSE(facts.bestGuess);
    EXPECT_EQ(facts.position, 2211u);
    EXPECT_EQ(facts.jump, 2948);
    EXPECT_EQ(facts.level, 536);
    EXPECT_EQ(facts.verification, "OK");
    ASSERT_TRUE(readCandidateMessage("Best guess of the click found at sample 9\nBase Frequency Verification: Reject", &facts));
    EXPECT_TRUE(facts.bestGuess);
    EXPECT_EQ(facts.jump, -1) << "a best guess names no jump";
    EXPECT_EQ(facts.verification, "Reject");
    EXPECT_FALSE(readCandidateMessage("Can't repair this.", &facts));

    struct Clock {
        uint64_t frame;
        int32_t rate;
        const char *text;
    };
    const Clock clocks[] = {{0, 44100, "0:00:00.000"},          {2210, 44100, "0:00:00.050"},
                            {44100u * 3661u + 22u, 44100, "1:01:01.000"}, {44100u * 3661u + 23u, 44100, "1:01:01.001"},
                            {96000u * 36000u, 96000, "10:00:00.000"}, {4294967295u, 8000, "149:07:50.912"}};
    for (const Clock &c : clocks)
        EXPECT_EQ(formatClock(c.frame, c.rate), c.text) << c.frame << " at " << c.rate;

    EXPECT_NE(describeJump(2948, 536).find("5.5 times the running level of 536"), std::string::npos);
    EXPECT_NE(describeJump(2948, 536).find("9.0% of full scale"), std::string::npos);
    EXPECT_NE(describeJump(2948, 536).find("a modest one"), std::string::npos);
    EXPECT_NE(describeJump(8000, 500).find("a clear click"), std::string::npos);
    EXPECT_NE(describeJump(13928, 96).find("a strong click"), std::string::npos);
}

TEST(TerminalReview, TypedAnswersInBothForms)
{
    struct Row {
        const char *typed;
        int32_t dialog;   // in the review dialog's form
        int32_t question; // in the question box's form
    };
    const Row rows[] = {
        {"r", 6, 6},       {" Repair ", 6, 6}, {"n", 3, 1},      {"next", 3, 0},  {"s", 1036, 1}, {"skip", 1036, 0},
        {"b", 4, 0},       {"a", 7, 7},        {"c", 2, 7},      {"close", 2, 0}, {"q", 1, 1},    {"stop", 1, 1},
        {"1036", 1036, 0}, {"?", -1, -1},      {"HELP", -1, -1}, {"", 0, 0},      {"x", 0, 0},    {"r,n", 0, 0},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(typedReviewAnswer(row.typed, true), row.dialog) << "dialog: \"" << row.typed << "\"";
        EXPECT_EQ(typedReviewAnswer(row.typed, false), row.question) << "question: \"" << row.typed << "\"";
    }
    EXPECT_NE(terminalPrompt(true, false, true).find("[repair: not here]"), std::string::npos);
    EXPECT_NE(terminalPrompt(true, true, false).find("[back: not here]"), std::string::npos);
}

TEST(TerminalReview, ViewInBrailleWithTheSpanAndCandidateMarked)
{
    // An 8 x 8 view drawn as 2 characters by 1 row: each dot is a 2 x 2 block of pixels.
    const int32_t w = 8, h = 8;
    std::vector<uint32_t> pixels((size_t)(w * h), 0);
    auto put = [&](int32_t x, int32_t y, uint32_t colour) { pixels[(size_t)(y * w + x)] = colour; };
    put(0, 0, 0x00FFFFFFu);  // top-left dot of the first character
    put(3, 7, 0x00FFFFFFu);  // bottom-right dot of the first character
    put(5, 4, 0x00FFFFFFu);  // on the centre line: left out
    put(6, 5, 0x0040C0FFu);  // the repaired curve counts as drawn
    put(4, 0, 0x00004080u);  // the start marker in the second character
    put(7, 0, 0x002080FFu);  // the end marker
    put(0, 3, 0x00404040u);  // the candidate bar's left edge; its middle lies two columns on
    std::vector<std::string> lines = viewAsText(pixels, w, h, 2, 1, true);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "\xe2\xa2\x81\xe2\xa0\xa0") << "U+2881 (dots 1 and 8) and U+2820 (dot 6)";
    EXPECT_EQ(lines[1], "^]") << "the candidate's column wins over the span's start";
    std::vector<std::string> ascii = viewAsText(pixels, w, h, 4, 2, false);
    ASSERT_EQ(ascii.size(), 3u);
    EXPECT_EQ(ascii[0], "*   ");
    EXPECT_EQ(ascii[1], " * *");
    EXPECT_EQ(ascii[2], " ^[]");
    EXPECT_TRUE(viewAsText(pixels, w, h + 1, 2, 1, true).empty()) << "pixels that do not fit the size";
}

class TerminalSession : public PluginTest {
protected:
    HostAudio audio = {};
    std::string log;
    std::streambuf *keyboard = nullptr;

    void SetUp() override
    {
        PluginTest::SetUp();
        audio.channels = 1;
        audio.sampleRate = 44100;
        audio.bitsPerSample = 16;
        audio.frames = 4000;
        // A slow triangle with two steep clicks, at frames 1000 and 3000.
        for (uint32_t f = 0; f < audio.frames; f++) {
            int32_t v = (int32_t)(f % 200) < 100 ? (int32_t)(f % 200) * 10 : (200 - (int32_t)(f % 200)) * 10;
            if (f == 1000 || f == 3000)
                v += 9000;
            audio.bytes.push_back((uint8_t)(v & 0xFF));
            audio.bytes.push_back((uint8_t)((v >> 8) & 0xFF));
        }
        log = profileDir + "/review.jsonl";
        keyboard = std::cin.rdbuf();
    }
    void TearDown() override
    {
        std::cin.rdbuf(keyboard);
        std::cin.clear();
        transcriptClose();
        compatClearClipboard();
        PluginTest::TearDown();
    }
    // One run with a person typing typed; returns what the terminal showed.
    std::string run(const std::string &typed)
    {
        std::string error;
        EXPECT_TRUE(transcriptOpen(log, &error)) << error;
        std::istringstream input(typed);
        std::cin.rdbuf(input.rdbuf());
        std::cin.clear();
        sessionStartFile();
        reviewDriverConfigure({}, BoxScript{REVIEW_ASK, {}, 0, false});
        PluginTable table = {QueryXfm, XfmInit, XfmSetup, XfmDo, XfmDestroy, nullptr};
        HINSTANCE instance = reviewDriverInstall(table);
        HWND frame = compatCreateWindow("VantropeHostFrame", nullptr, nullptr, 800, 600);
        HWND child = compatCreateWindow("VantropeHostView", frame, nullptr, 780, 560);
        XfmWave wave;
        sessionPrepare(&audio, {1, 0, audio.frames - 1}, &wave, false);
        reviewDriverSelection(0, audio.frames);
        EXPECT_EQ(XfmSetup(child, instance, &wave), 1);
        testing::internal::CaptureStderr();
        EXPECT_EQ(XfmDo(&wave), 1);
        std::string shown = testing::internal::GetCapturedStderr();
        transcriptClose();
        return shown;
    }
    std::string answers() const
    {
        std::ifstream in(log);
        std::string list;
        for (std::string line; std::getline(in, line);)
            if (line.find("\"event\":\"review\"") != std::string::npos) {
                size_t at = line.find("\"answer\":") + 9;
                list += (list.empty() ? "" : ",") + line.substr(at, line.find('}', at) - at);
            }
        return list;
    }
};

TEST_F(TerminalSession, HelpARepairAndTheEndOfInputClosingTheFile)
{
    std::string shown = run("?\nbogus\nr\n");
    EXPECT_EQ(answers(), "6,2") << "repair, then close at the end of input";
    EXPECT_TRUE(sessionFileEnded());
    EXPECT_NE(shown.find("Candidate 1 in pass 1: mono, at 0:00:00.023 (sample 1001, 25% of the way through)"),
              std::string::npos)
        << shown;
    EXPECT_NE(shown.find("Candidate 2 in pass 1: mono, at 0:00:00.068 (sample 3001"), std::string::npos) << shown;
    EXPECT_NE(shown.find("times the running level"), std::string::npos);
    EXPECT_NE(shown.find("([ ] the span to repair, ^ the candidate)"), std::string::npos);
    EXPECT_NE(shown.find("stop    q   end the review of the whole file here"), std::string::npos) << "the help";
    EXPECT_NE(shown.find("\"bogus\" is no answer (? for help)"), std::string::npos) << "a word that is no answer";
    EXPECT_NE(shown.find("end of input: the review is closed"), std::string::npos) << shown;
}

TEST_F(TerminalSession, StopEndsTheWholeFileAndActionsShowTheReviewAgain)
{
    std::string shown = run("set:c1=6\nq\n");
    EXPECT_EQ(answers(), "1");
    EXPECT_TRUE(sessionFileEnded()) << "later channels are not presented";
    EXPECT_NE(shown.find("settings: C1 6,"), std::string::npos) << "shown again with the edited field: " << shown;
    EXPECT_NE(shown.find("the review of the file ends here"), std::string::npos);
    sessionStartFile();
    EXPECT_FALSE(sessionFileEnded());
}
