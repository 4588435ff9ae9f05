// A scripted review session through the stand-in's dialog: fields edited, boxes clicked, bars moved,
// a marker dragged and each button pressed, checked by the review events, the settings the run saved
// and the audio it wrote back.
#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include "app/host_session.h"
#include "app/review_driver.h"
#include "app/transcript.h"
#include "compat_host.h"
#include "plugin/module_reset.h"
#include "plugin/xfm.h"
#include "support/fake_host.h"

class ReviewSession : public PluginTest {
protected:
    HostAudio audio = {};
    std::string log;

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
        std::string error;
        log = profileDir + "/review.jsonl";
        ASSERT_TRUE(transcriptOpen(log, &error)) << error;
    }
    void TearDown() override
    {
        transcriptClose();
        compatClearClipboard(); // Stop Here leaves the position on the clipboard
        PluginTest::TearDown();
    }
    int16_t sampleAt(uint32_t frame) const
    {
        return (int16_t)(audio.bytes[frame * 2] | (audio.bytes[frame * 2 + 1] << 8));
    }
    // One run over the whole file with the script; the fallback answers stop.
    void run(const char *script)
    {
        std::vector<ReviewActions> reviews;
        std::string error;
        ASSERT_EQ(parseReviewScript(script, &reviews, &error), 1) << error;
        reviewDriverConfigure(reviews, BoxScript{REVIEW_SCRIPT, {}, 0, false});
        PluginTable table = {QueryXfm, XfmInit, XfmSetup, XfmDo, XfmDestroy, nullptr};
        HINSTANCE instance = reviewDriverInstall(table);
        HWND frame = compatCreateWindow("VantropeHostFrame", nullptr, nullptr, 800, 600);
        HWND child = compatCreateWindow("VantropeHostView", frame, nullptr, 780, 560);
        XfmWave wave;
        sessionPrepare(&audio, {1, 0, audio.frames - 1}, &wave, false);
        reviewDriverSelection(0, audio.frames);
        ASSERT_EQ(XfmSetup(child, instance, &wave), 1);
        EXPECT_EQ(XfmDo(&wave), 1);
        transcriptClose();
    }
    std::vector<std::string> reviewEvents() const
    {
        std::ifstream in(log);
        std::vector<std::string> events;
        for (std::string line; std::getline(in, line);)
            if (line.find("\"event\":\"review\"") != std::string::npos)
                events.push_back(line);
        return events;
    }
};

TEST_F(ReviewSession, EditsBarsAndDragReachTheSettingsAndTheRepair)
{
    std::vector<uint8_t> before = audio.bytes;
    run("set:c1=5;set:d1=-7;set:c2=3;set:severity=x;check:multipass;check:use;zoom:page-up;blend:thumb=12;"
        "width:page-left;drag:start>#996;drag:end>#1006;press:repair\n"
        "press:stop\n");
    std::vector<std::string> events = reviewEvents();
    ASSERT_GE(events.size(), 2u);
    EXPECT_NE(events[0].find("\"fields\":{\"c1\":\"4\",\"d1\":\"600\",\"c2\":\"9\",\"severity\":\"1\",\"use\":true,"
                             "\"multipass\":false,\"autozoom\":false,\"rangeDialog\":false,\"zoom\":12,\"blend\":0,"
                             "\"width\":75},\"answer\":6}"),
              std::string::npos)
        << "what the first dialog showed: " << events[0];
    // The second dialog opens with what the first one stored: c1 5, d1 clamped to 1, c2 above c1,
    // severity 1 from letters, Use off, Multipass on, zoom 5 (bar 8), blend 12, width 55.
    EXPECT_NE(events[1].find("\"fields\":{\"c1\":\"5\",\"d1\":\"1\",\"c2\":\"6\",\"severity\":\"1\",\"use\":false,"
                             "\"multipass\":true,\"autozoom\":false,\"rangeDialog\":false,\"zoom\":8,\"blend\":12,"
                             "\"width\":55}"),
              std::string::npos)
        << "what the second dialog showed: " << events[1];
    std::string ini = readIni();
    EXPECT_NE(ini.find("C1=5"), std::string::npos) << ini;
    EXPECT_NE(ini.find("LineBezier=12"), std::string::npos) << ini;
    // Frames 995 and 1005 (positions 996 and 1006) are the dragged anchors; blend 12 is the straight
    // line between them, and nothing outside them changed.
    for (uint32_t f = 0; f < audio.frames; f++) {
        int16_t old = (int16_t)(before[f * 2] | (before[f * 2 + 1] << 8));
        if (f > 995 && f < 1005)
            continue;
        ASSERT_EQ(sampleAt(f), old) << "frame " << f << " lies outside the dragged span";
    }
    int16_t a = sampleAt(995), b = sampleAt(1005);
    for (uint32_t f = 996; f < 1005; f++) {
        int32_t line = a + ((b - a) * (int32_t)(f - 995) + 5) / 10;
        EXPECT_EQ(sampleAt(f), line) << "frame " << f << " on the line from " << a << " to " << b;
    }
}

TEST_F(ReviewSession, EachButtonEndsTheReviewWithItsId)
{
    struct Row {
        const char *script;
        const char *answers; // the answers of the review events, in order
    };
    const Row rows[] = {
        {"press:next\npress:back\npress:close", "3,4,2"},
        {"press:skip\npress:stop", "1036,1"},
        {"press:auto", "7"},
        {"press:back", "1"}, // Go Back is disabled at the first candidate: Stop Here instead
        {"", "1"},           // no script: the fallback's stop
    };
    const std::vector<uint8_t> clicks = audio.bytes;
    for (const Row &row : rows) {
        audio.bytes = clicks;
        compatClearClipboard();
        compatReset();
        resetModuleState();
        std::string error;
        ASSERT_TRUE(transcriptOpen(log, &error)) << error;
        run(row.script);
        std::string answers;
        for (const std::string &event : reviewEvents()) {
            size_t at = event.find("\"answer\":");
            answers += (answers.empty() ? "" : ",") + event.substr(at + 9, event.find('}', at) - at - 9);
        }
        EXPECT_EQ(answers, row.answers) << row.script;
    }
}
