// The plug-in's whole runs (XfmDo through the fake host, reviews answered by the review seam) against
// the plain model of reference_model.h on generated signals with varied settings and answer sequences:
// reviews, writes, progress calls, message boxes, final audio and result must agree exactly.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>
#include "plugin/module_reset.h"
#include "reference_model.h"
#include "support/test_random.h"
#include "ui/review.h"
#include "support/fake_host.h"

using refmodel::Review;

namespace {


enum Kind { NOISE, MUSIC, BURSTS, STEPS, SILENCE_CLICKS, FULL_SCALE, END_CLICKS, PLATEAUS, KIND_COUNT };
enum Strategy { AUTO, NEXT, REPAIR, MIXED, STRATEGY_COUNT };
const char *kindNames[] = {"noise", "music", "bursts", "steps", "silence+clicks", "full-scale", "end-clicks", "plateaus"};
const char *strategyNames[] = {"auto", "next", "repair", "mixed"};

int16_t clip16(int64_t v) { return (int16_t)(v > 32767 ? 32767 : v < -32768 ? -32768 : v); }

void addClicks(std::vector<int16_t> &x, TestRandom &rng, int32_t count, int32_t height)
{
    for (int32_t c = 0; c < count && x.size() > 4; ++c) {
        uint32_t at = rng.next() % (uint32_t)x.size();
        int32_t h = rng.between(height / 3, height) * ((rng.next() & 1) ? 1 : -1);
        int32_t width = rng.between(1, 4);
        for (int32_t k = 0; k < width && at + k < x.size(); ++k) x[at + k] = clip16((int64_t)x[at + k] + h / (k + 1));
    }
}

std::vector<int16_t> music(uint32_t n, TestRandom &rng, int32_t level)
{
    double f[3], a[3];
    for (int32_t i = 0; i < 3; ++i) { f[i] = rng.between(5, 400) / 10000.0; a[i] = rng.between(level / 4, level); }
    std::vector<int16_t> x(n);
    for (uint32_t k = 0; k < n; ++k) {
        double v = 0;
        for (int32_t i = 0; i < 3; ++i) v += a[i] * std::sin(6.283185307179586 * f[i] * k);
        x[k] = clip16((int64_t)v + rng.between(-3, 3));
    }
    return x;
}

std::vector<int16_t> generate(Kind kind, uint32_t n, TestRandom &rng)
{
    std::vector<int16_t> x(n, 0);
    static const int32_t levels[] = {3, 50, 500, 5000, 20000};
    switch (kind) {
    case NOISE: {
        int32_t l = levels[rng.next() % 5];
        for (auto &v : x) v = (int16_t)rng.between(-l, l);
        if (rng.next() & 1) addClicks(x, rng, rng.between(1, 8), 20000);
        break;
    }
    case MUSIC: x = music(n, rng, rng.between(200, 9000)); addClicks(x, rng, rng.between(1, 30), 12000); break;
    case BURSTS:
        for (uint32_t k = 0; k < n; ++k) x[k] = (int16_t)rng.between(-2, 2);
        for (int32_t b = rng.between(1, 12); b > 0; --b) {
            uint32_t at = rng.next() % n, len = (uint32_t)rng.between(5, 400);
            int32_t l = rng.between(100, 15000);
            for (uint32_t k = at; k < at + len && k < n; ++k) x[k] = (int16_t)rng.between(-l, l);
        }
        break;
    case STEPS: {
        int32_t level = 0;
        for (uint32_t k = 0; k < n; ++k) {
            if (rng.next() % 700 == 0) level = rng.between(-20000, 20000);
            x[k] = clip16(level + rng.between(-20, 20));
        }
        break;
    }
    case SILENCE_CLICKS: addClicks(x, rng, rng.between(1, 40), 30000); break;
    case FULL_SCALE:
        x = music(n, rng, 40000);
        addClicks(x, rng, rng.between(1, 20), 32767);
        break;
    case END_CLICKS:
        x = music(n, rng, rng.between(100, 3000));
        for (int32_t c = 0; c < 4; ++c) {
            uint32_t off = (uint32_t)rng.between(0, 9);
            uint32_t at = (c & 1) ? n - 1 - off : off;
            x[at] = clip16((int64_t)x[at] + ((c & 2) ? 15000 : -15000));
        }
        break;
    case PLATEAUS: {
        int32_t level = 0;
        for (uint32_t k = 0; k < n; ++k) {
            if (rng.next() % 300 == 0) level = (rng.next() & 1) ? rng.between(-9000, 9000) : 0;
            x[k] = (int16_t)level;
        }
        addClicks(x, rng, rng.between(0, 15), 20000);
        break;
    }
    default: break;
    }
    return x;
}

struct Case {
    uint32_t seed;
    Kind kind;
    uint32_t n;
    Strategy strategy;
    int32_t stopAfter;        // mixed: the review at this index answers "Stop Here"
    refmodel::Settings s;
};

// The answer for the review at index, the same function for both sides.
int32_t answerFor(const Case &c, int32_t index, const Review &)
{
    static const int32_t mixed[] = {3, 6, 1036, 4, 3, 6, 4, 1036, 3, 7, 3, 4};
    if (index >= 80) return 2; // a cap, or "Find &Next" in multipass would never end
    switch (c.strategy) {
    case AUTO: return 7;
    case NEXT: return 3;
    case REPAIR: return 6;
    default:
        if (index == c.stopAfter) return 1;
        return mixed[((uint32_t)index + c.seed) % 12];
    }
}

const Case *activeCase = nullptr;

// What the compared runs went through, so that a quiet pass is not mistaken for coverage.
struct Coverage {
    int32_t cases, reviews, bestGuesses, goBacksAllowed, laterPasses, writes, cancelled;
};
Coverage coverage;
std::vector<Review> productReviews;

int32_t scriptedReview(XfmWave *, int16_t *, uint32_t, int32_t candidate, char *message, ClickParams *,
                       uint32_t allowGoBack, int32_t passNumber)
{
    Review r{candidate, message, allowGoBack, passNumber};
    int32_t index = (int32_t)productReviews.size();
    productReviews.push_back(r);
    return answerFor(*activeCase, index, r);
}

std::string describe(const Case &c)
{
    std::ostringstream o;
    o << "seed " << c.seed << " " << kindNames[c.kind] << " n=" << c.n << " answers=" << strategyNames[c.strategy];
    if (c.strategy == MIXED) o << " stopAfter=" << c.stopAfter;
    o << " C1=" << c.s.c1 << " D1=" << c.s.d1 << " C2=" << c.s.c2 << " LineBezier=" << c.s.lineBezier
      << " StartOver=" << c.s.multipass << " UseBaseFreqVer=" << c.s.useBaseFreqVer
      << " BaseFreqVerS=" << c.s.baseFreqVerS << " sampleRate=" << c.s.sampleRate << " selStart=" << c.s.selStart
      << " cancelAt=" << c.s.cancelAtProgress;
    return o.str();
}

Case makeCase(uint32_t index, Kind kind, uint32_t n)
{
    Case c{};
    c.seed = 0x9E3779B9u * (index + 1);
    TestRandom rng{c.seed};
    c.kind = kind;
    c.n = n;
    c.strategy = (Strategy)(index % STRATEGY_COUNT);
    c.stopAfter = rng.between(0, 25);
    static const int32_t c1s[] = {2, 4, 6}, d1s[] = {100, 600, 2000}, c2s[] = {5, 9, 15}, sev[] = {-1, 0, 1, 2, 3, 7},
                         rates[] = {8000, 44100, 96000, 0}, blends[] = {0, 6, 12};
    c.s.c1 = c1s[rng.next() % 3];
    c.s.d1 = d1s[rng.next() % 3];
    c.s.c2 = c2s[rng.next() % 3];
    c.s.lineBezier = blends[rng.next() % 3];
    c.s.multipass = (index / 4) % 2;
    c.s.useBaseFreqVer = rng.next() % 3 != 0;
    c.s.baseFreqVerS = sev[rng.next() % 6];
    c.s.sampleRate = rates[rng.next() % 4];
    c.s.selStart = (rng.next() & 1) ? 5000 : 0;
    c.s.cancelAtProgress = (rng.next() % 10 == 0) ? rng.between(1, 40) : 0;
    return c;
}

std::string settingsFile(const refmodel::Settings &s)
{
    std::ostringstream o;
    o << "[Coeffs]\nC1=" << s.c1 << "\nD1=" << s.d1 << "\nC2=" << s.c2 << "\nLineBezier=" << s.lineBezier
      << "\nStartOver=" << s.multipass << "\nUseBaseFreqVer=" << s.useBaseFreqVer
      << "\nBaseFreqVerS=" << s.baseFreqVerS << "\n";
    return o.str();
}

std::string firstAudioDifference(const std::vector<int16_t> &got, const std::vector<int16_t> &want)
{
    if (got.size() != want.size())
        return "length " + std::to_string(got.size()) + " vs model " + std::to_string(want.size());
    for (size_t k = 0; k < got.size(); ++k)
        if (got[k] != want[k])
            return "sample " + std::to_string(k) + ": " + std::to_string(got[k]) + " vs model " + std::to_string(want[k]);
    return "";
}

std::string shown(const std::string &t)
{
    std::string q;
    for (char ch : t) q += ch == '\n' ? std::string("\\n") : std::string(1, ch);
    return "\"" + q + "\"";
}

// The first way the product's run differs from the model's, "" when none.
std::string firstDifference(int32_t result, const refmodel::Outcome &m)
{
    const FakeHost &h = fakeHost();
    size_t nr = std::max(productReviews.size(), m.reviews.size());
    for (size_t i = 0; i < nr; ++i) {
        if (i >= productReviews.size()) return "review " + std::to_string(i) + ": product shows none, model at " + std::to_string(m.reviews[i].candidate) + " " + shown(m.reviews[i].message);
        if (i >= m.reviews.size()) return "review " + std::to_string(i) + ": model shows none, product at " + std::to_string(productReviews[i].candidate) + " " + shown(productReviews[i].message);
        const Review &a = productReviews[i], &b = m.reviews[i];
        if (a.candidate != b.candidate || a.message != b.message || a.allowGoBack != b.allowGoBack || a.passNumber != b.passNumber) {
            std::ostringstream o;
            o << "review " << i << ": product p=" << a.candidate << " goBack=" << a.allowGoBack << " pass=" << a.passNumber << " "
              << shown(a.message) << " | model p=" << b.candidate << " goBack=" << b.allowGoBack << " pass=" << b.passNumber << " " << shown(b.message);
            return o.str();
        }
    }
    std::vector<std::string> events;
    for (const std::string &e : h.events)
        if (e.rfind("progress", 0) == 0 || e.rfind("write", 0) == 0 || e.rfind("finish", 0) == 0) events.push_back(e);
    for (size_t i = 0; i < std::max(events.size(), m.events.size()); ++i) {
        std::string a = i < events.size() ? events[i] : "(none)", b = i < m.events.size() ? m.events[i] : "(none)";
        if (a != b) return "event " + std::to_string(i) + ": product " + a + " | model " + b;
    }
    for (size_t i = 0; i < h.writes.size() && i < m.writes.size(); ++i) {
        std::string d = firstAudioDifference(h.writes[i], m.writes[i]);
        if (!d.empty()) return "write " + std::to_string(i) + ": " + d;
    }
    std::vector<std::string> boxes;
    for (const FakeMessageBox &b : h.boxes) boxes.push_back(b.text);
    if (boxes != m.boxes) {
        std::string a, b;
        for (auto &t : boxes) a += shown(t) + " ";
        for (auto &t : m.boxes) b += shown(t) + " ";
        return "message boxes: product " + a + "| model " + b;
    }
    std::string d = firstAudioDifference(selectionAfterRun(), m.audio);
    if (!d.empty()) return "final audio: " + d;
    if (result != m.result) return "result " + std::to_string(result) + " vs model " + std::to_string(m.result);
    return "";
}

class DifferentialTest : public PluginTest {
protected:
    void TearDown() override
    {
        reviewOverride = nullptr;
        activeCase = nullptr;
        compatClearClipboard(); // the steering's block belongs to the clipboard, not to the run
        PluginTest::TearDown();
    }
    // Runs one case on both sides; the skip lists start empty on both unless keepSkips.
    std::string runCase(const Case &c, const std::vector<int16_t> &signal, bool keepSkips = false)
    {
        if (!keepSkips) {
            resetModuleState();
            refmodel::refModelReset();
        }
        writeIni(settingsFile(c.s));
        std::vector<int16_t> recording(c.s.selStart, 0);
        TestRandom fill{c.seed ^ 0x5555u};
        for (auto &v : recording) v = (int16_t)fill.between(-30000, 30000);
        recording.insert(recording.end(), signal.begin(), signal.end());
        recording.push_back(12345);
        setUpFakeHost(recording, c.s.selStart, c.s.selStart + (uint32_t)signal.size() - 1);
        fakeHost().wave.sampleRate = c.s.sampleRate;
        fakeHost().cancelAtProgressCall = c.s.cancelAtProgress;
        activeCase = &c;
        productReviews.clear();
        reviewOverride = scriptedReview;
        refmodel::Outcome m = refmodel::refRun(signal, c.s, [&c](int32_t i, const Review &r) { return answerFor(c, i, r); });
        if (m.endless) { // the plug-in would not return either; counted by the caller
            reviewOverride = nullptr;
            return "endless";
        }
        int32_t result = XfmDo(&fakeHost().wave);
        reviewOverride = nullptr;
        coverage.cases++;
        for (const Review &r : m.reviews) {
            coverage.reviews++;
            coverage.bestGuesses += r.message.rfind("Best guess", 0) == 0;
            coverage.goBacksAllowed += r.allowGoBack != 0;
            coverage.laterPasses += r.passNumber > 1;
        }
        coverage.writes += (int32_t)m.writes.size();
        coverage.cancelled += c.s.cancelAtProgress != 0;
        std::string d = firstDifference(result, m);
        return d.empty() ? d : describe(c) + "\n  first difference: " + d;
    }
    void runMany(uint32_t first, uint32_t count, std::function<uint32_t(TestRandom &)> length, int32_t kindOverride = -1)
    {
        int32_t failures = 0;
        coverage = Coverage();
        for (uint32_t i = first; i < first + count; ++i) {
            TestRandom rng{0xA5A5A5A5u ^ (i * 2654435761u)};
            Kind kind = kindOverride >= 0 ? (Kind)kindOverride : (Kind)(i % KIND_COUNT);
            Case c = makeCase(i, kind, length(rng));
            std::vector<int16_t> signal = generate(kind, c.n, rng);
            std::string d = runCase(c, signal);
            if (d == "endless") {
                // Automatic passes end after a row of 32 without a review, so no run may go on forever.
                ADD_FAILURE() << "passes without end, not run on the plug-in: " << describe(c);
                continue;
            }
            if (!d.empty() && ++failures <= 3) ADD_FAILURE() << d;
        }
        EXPECT_EQ(failures, 0) << "cases that differ from the model";
        std::printf("  %d runs compared: %d reviews (%d best guesses, %d with Go Back allowed, %d in later passes), "
                    "%d writes, %d with a cancel request\n", coverage.cases, coverage.reviews, coverage.bestGuesses,
                    coverage.goBacksAllowed, coverage.laterPasses, coverage.writes, coverage.cancelled);
    }
};

TEST_F(DifferentialTest, ModerateSignalsOfEveryKind)
{
    runMany(0, 160, [](TestRandom &r) { return (uint32_t)r.between(2000, 30000); });
}

TEST_F(DifferentialTest, LongerSignals)
{
    runMany(1000, 8, [](TestRandom &r) { return (uint32_t)r.between(60000, 100000); });
}

TEST_F(DifferentialTest, ShortBuffers)
{
    runMany(2000, 120, [](TestRandom &r) { return (uint32_t)r.between(42, 200); });
}

TEST_F(DifferentialTest, ClicksNearBothEnds)
{
    runMany(3000, 40, [](TestRandom &r) { return (uint32_t)r.between(42, 3000); }, END_CLICKS);
}

TEST_F(DifferentialTest, TwoLongRuns)
{
    runMany(4000, 1, [](TestRandom &) { return 400000u; }, MUSIC); // automatic repair
    runMany(4002, 1, [](TestRandom &) { return 400000u; }, MUSIC); // "&Repair" at every review
}

// The skip list outlives a run: a second run over the same audio passes over what the first skipped.
TEST_F(DifferentialTest, SkipsCarryIntoTheNextRun)
{
    int32_t failures = 0;
    for (uint32_t i = 0; i < 12; ++i) {
        TestRandom rng{0x1234567u + i};
        Case c = makeCase(5000 + i, (i & 1) ? SILENCE_CLICKS : MUSIC, (uint32_t)rng.between(3000, 20000));
        c.strategy = MIXED;
        c.stopAfter = 40;
        c.s.cancelAtProgress = 0;
        std::vector<int16_t> signal = generate(c.kind, c.n, rng);
        std::string d = runCase(c, signal);
        if (d.empty()) d = runCase(c, signal, true);
        if (d == "endless") continue;
        if (!d.empty() && ++failures <= 3) ADD_FAILURE() << d;
    }
    EXPECT_EQ(failures, 0);
}

} // namespace
