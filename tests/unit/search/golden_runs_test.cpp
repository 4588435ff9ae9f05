// Golden digests of whole runs: automatic runs and runs whose reviews are answered through the review
// seam, over generated music, noise, silence and dense clicks. A digest covers the audio every write
// delivered, every host event, every message box and every review (position, text, allowGoBack, pass),
// so any change in what a run does or says shows up here. The values were taken from the plain
// scanning implementation before any speed-up.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "bench/bench_material.h"
#include "compat_host.h"
#include "search_fixture.h"
#include "ui/dialog_ids.h"

namespace {

struct Digest {
    uint64_t hash = 14695981039346656037ull;
    void add(const void *data, size_t bytes)
    {
        const unsigned char *p = static_cast<const unsigned char *>(data);
        for (size_t i = 0; i < bytes; i++) {
            hash ^= p[i];
            hash *= 1099511628211ull;
        }
    }
    void add(const std::string &s) { add(s.data(), s.size() + 1); }
    void add(int64_t v) { add(&v, sizeof v); }
};

enum Answers { AUTO, FIND_NEXT, REPAIR, MIXED };

struct GoldenCase {
    const char *name;
    std::vector<int16_t> (*material)();
    Answers answers;
    const char *settings;    // lines below [Coeffs], "" for the defaults
    uint32_t sampleRate;     // of the host record
    uint64_t expected;       // digest of the run
};

std::vector<int16_t> musicWithClicks()
{
    std::vector<int16_t> m = musicLike(4u * BENCH_RATE, 1);
    addClicks(m, BENCH_RATE / 4, BENCH_RATE / 2, 9000);
    return m;
}
std::vector<int16_t> noise() { return whiteNoise(2u * BENCH_RATE, 1500, 2); }
std::vector<int16_t> noiseWithClicks()
{
    std::vector<int16_t> m = whiteNoise(2u * BENCH_RATE, 400, 7);
    addClicks(m, 3000, 7919, 12000);
    return m;
}
std::vector<int16_t> leadInThenMusic()
{
    std::vector<int16_t> m = whiteNoise(BENCH_RATE, 300, 3);
    std::vector<int16_t> music = musicWithClicks();
    m.insert(m.end(), music.begin(), music.begin() + 2 * BENCH_RATE);
    return m;
}
std::vector<int16_t> silenceWithClicks()
{
    std::vector<int16_t> m(2u * BENCH_RATE, 0);
    addClicks(m, 5000, 11025, 8000);
    m[70000] = 3; // a lone small step in silence: a best guess whose walks run a long way
    return m;
}
std::vector<int16_t> denseClicks()
{
    std::vector<int16_t> m = musicLike(BENCH_RATE, 5);
    addClicks(m, 100, 25, 12000);
    return m;
}
std::vector<int16_t> quietMusic()
{
    std::vector<int16_t> m = musicLike(3u * BENCH_RATE, 9);
    for (int16_t &s : m)
        s = (int16_t)(s / 64);
    addClicks(m, 20000, 30011, 900);
    return m;
}

// Runs one case and folds everything the host saw into a digest.
uint64_t runCase(const GoldenCase &c)
{
    std::vector<int16_t> recording = c.material();
    setUpFakeHost(recording, 0, (uint32_t)recording.size() - 1);
    fakeHost().wave.sampleRate = c.sampleRate;
    ReviewScript &script = reviewScript();
    script.codes.clear();
    switch (c.answers) {
    case AUTO:
        script.codes = {ID_AUTO_REPAIR};
        script.fallback = ID_STOP_HERE; // only the best guess is still reviewed
        break;
    case FIND_NEXT:
        script.fallback = ID_FIND_NEXT;
        break;
    case REPAIR: // bounded, so that a multipass run that keeps finding its own repairs ends
        script.codes.assign(300, ID_REPAIR);
        script.fallback = ID_CLOSE;
        break;
    case MIXED:
        script.codes = {ID_REPAIR, ID_FIND_NEXT, ID_SKIP, ID_GO_BACK, ID_REPAIR, ID_SKIP, ID_FIND_NEXT, ID_GO_BACK,
                        ID_REPAIR, ID_REPAIR, ID_SKIP, ID_FIND_NEXT};
        script.codes.insert(script.codes.end(), 100, ID_REPAIR);
        script.fallback = ID_CLOSE;
        break;
    }
    int32_t result = XfmDo(&fakeHost().wave);
    Digest d;
    d.add(result);
    for (const std::vector<int16_t> &w : fakeHost().writes)
        d.add(w.data(), w.size() * sizeof(int16_t));
    for (const std::string &e : fakeHost().events)
        d.add(e);
    for (const FakeMessageBox &box : fakeHost().boxes) {
        d.add(box.text);
        d.add((int64_t)box.flags);
    }
    for (const ReviewCall &call : script.calls) {
        d.add(call.candidate);
        d.add(call.message);
        d.add((int64_t)call.allowGoBack);
        d.add(call.passNumber);
    }
    if (getenv("GOLDEN_TRACE"))
        printf("%s: %zu reviews, %zu boxes (%s), %zu writes\n", c.name, script.calls.size(), fakeHost().boxes.size(),
               fakeHost().boxes.empty() ? "" : fakeHost().boxes[0].text.c_str(), fakeHost().writes.size());
    return d.hash;
}

const GoldenCase goldenCases[] = {
    {"music, automatic", musicWithClicks, AUTO, "", 44100, 0x6bf917260fddcea5ull},
    {"music, find next", musicWithClicks, FIND_NEXT, "", 44100, 0x7a63381c54260358ull},
    {"music, repair each", musicWithClicks, REPAIR, "", 44100, 0x2f6aca38db5a3b73ull},
    {"music, multipass, severity 3", musicWithClicks, REPAIR, "StartOver=1\nBaseFreqVerS=3", 44100, 0x1bea75ad2b94148ull},
    {"noise, automatic", noise, AUTO, "", 44100, 0xc7642402329d3be8ull},
    {"noise, find next, 96 kHz", noise, FIND_NEXT, "", 96000, 0x9060945801d88da7ull},
    {"noise with clicks, mixed answers, multipass", noiseWithClicks, MIXED, "StartOver=1", 44100, 0x2fb4d254d2b2c384ull},
    {"noise with clicks, no host rate", noiseWithClicks, REPAIR, "", 0, 0x805ec3c676515230ull},
    {"noise lead-in, repair each", leadInThenMusic, REPAIR, "", 44100, 0xbd3b31d33e33d176ull},
    {"silence with clicks, repair each", silenceWithClicks, REPAIR, "StartOver=1", 8000, 0x5e6f6c29e366f742ull},
    {"silence with clicks, find next, not filtered", silenceWithClicks, FIND_NEXT, "UseBaseFreqVer=0", 44100, 0x4da5eff2c422ff72ull},
    {"dense clicks, automatic", denseClicks, AUTO, "StartOver=1", 44100, 0x34f80d1bbb64611full},
    {"dense clicks, mixed answers", denseClicks, MIXED, "", 44100, 0xd59c9c64b7e48b7aull},
    {"quiet music, severity 2, find next", quietMusic, FIND_NEXT, "BaseFreqVerS=2\nC1=3\nD1=100", 44100, 0x55d6f5fd6e9a9b5aull},
};

class GoldenRunsTest : public SearchTest, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(GoldenRunsTest, WholeRunGivesTheRecordedResult)
{
    const GoldenCase &c = GetParam();
    if (*c.settings)
        writeIni(settingsText({c.settings}));
    uint64_t got = runCase(c);
    EXPECT_EQ(got, c.expected) << c.name << ": got 0x" << std::hex << got << "ull";
}

INSTANTIATE_TEST_SUITE_P(Runs, GoldenRunsTest, ::testing::ValuesIn(goldenCases));

} // namespace
