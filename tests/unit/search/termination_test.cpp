// Every run ends: automatic multipass runs (multipass on, automatic repair switched on at the first
// review) over material whose repairs keep meeting candidates. The host's cancel flag is set after a
// generous number of progress calls, so a run that would go on forever ends and fails the test.
#include <gtest/gtest.h>
#include <functional>
#include "search_fixture.h"

namespace {

const uint32_t SELECTION = 4000;
const int32_t PROGRESS_BOUND = 40000; // about 1300 passes over the selection

struct Material {
    const char *name;
    std::function<int16_t(uint32_t)> sample;
};

int16_t noise(uint32_t i)
{
    uint32_t state = i * 2654435761u + 12345u;
    state ^= state >> 15;
    state *= 2246822519u;
    state ^= state >> 13;
    return (int16_t)(state >> 16);
}

const Material materials[] = {
    {"step", [](uint32_t i) { return (int16_t)(i < 2000 ? 0 : 20000); }},
    {"ramp between silences",
     [](uint32_t i) { return (int16_t)(i < 1500 || i >= 1600 ? 0 : (int32_t)(i - 1500) * 300); }},
    {"square wave", [](uint32_t i) { return (int16_t)((i / 50) % 2 ? 10000 : -10000); }},
    {"full-scale noise", noise},
    {"full-scale square wave", [](uint32_t i) { return (int16_t)((i / 7) % 2 ? 32767 : -32768); }},
    // The click at the last sample the repair may touch is its own anchor: the repair gives it back
    // unchanged, pass after pass.
    {"a click the repair leaves as it is",
     [](uint32_t i) { return (int16_t)(i == 21 || i == SELECTION - 2 ? 30000 : 0); }},
};

class TerminationTest : public SearchTest {
protected:
    void automaticMultipassOver(const Material &material, const char *verification)
    {
        writeIni(settingsText({"StartOver=1", verification}));
        std::vector<int16_t> recording(SELECTION);
        for (uint32_t i = 0; i < SELECTION; i++)
            recording[i] = material.sample(i);
        setUpFakeHost(recording, 0, SELECTION - 1);
        fakeHost().cancelAtProgressCall = PROGRESS_BOUND;
        useQuestionBox();
        fakeHost().answers = {IDCANCEL}; // "Auto"; every later question is answered No ("Stop")
        EXPECT_EQ(run(), 1);
        EXPECT_EQ(fakeHost().cancelFlag, 0) << material.name << ", " << verification << ": still going after "
                                            << countEvents("status") << " passes";
    }
};

TEST_F(TerminationTest, AutomaticMultipassRunsEnd)
{
    for (const Material &material : materials)
        for (const char *verification : {"UseBaseFreqVer=0", "UseBaseFreqVer=1"}) {
            automaticMultipassOver(material, verification);
            compatClearClipboard();
        }
}

TEST_F(TerminationTest, AnAutomaticPassThatLeavesEverySampleAsItWasIsTheLast)
{
    automaticMultipassOver(materials[5], "UseBaseFreqVer=0");
    const std::vector<std::vector<int16_t>> &writes = fakeHost().writes;
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(writes[writes.size() - 1], writes[writes.size() - 2]) << "the last pass changed nothing";
    EXPECT_EQ((int)writes.size(), countEvents("status")) << "each pass repaired, so each wrote back";
    EXPECT_EQ(writes.back()[SELECTION - 2], 30000);
    EXPECT_EQ(fakeHost().boxes.size(), 1u) << "one review; the rest went automatically";
}

} // namespace
