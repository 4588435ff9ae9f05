// Whole runs of XfmDo over generated material, as an editor would start them, each reporting samples
// per second; and the verification alone at a candidate. Reviews are answered through the review seam:
// "automatic" answers the first candidate with AutoRepair (and a best guess with Stop Here), as the host
// program's --auto does; "find next" answers every review with Find Next, so the best-guess bookkeeping
// runs with the verification for the whole pass; the inputs that make the verification work hardest
// (namedMaterial's noise and click kinds) run as the automatic case. Only XfmDo itself is timed. Every
// benchmark reports the median and the spread of five repetitions, under the machine's model and load.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include "analysis/base_freq.h"
#include "analysis/click_span.h"
#include "bench_material.h"
#include "machine_info.h"
#include "compat_host.h"
#include "plugin/click_params.h"
#include "plugin/module_reset.h"
#include "memory_host.h"
#include "plugin/xfm.h"
#include "ui/review.h"
#include "ui/dialog_ids.h"

namespace {

bool answerFindNext = false;

int32_t scriptedReview(XfmWave *, int16_t *, uint32_t, int32_t, char *message, ClickParams *, uint32_t, int32_t)
{
    if (strncmp(message, "Best guess", 10) == 0)
        return ID_STOP_HERE;
    return answerFindNext ? ID_FIND_NEXT : ID_AUTO_REPAIR;
}

int answerBoxes(HWND, const char *, const char *, UINT, void *) { return IDOK; }

std::string benchProfileDir()
{
    static std::string dir;
    if (dir.empty()) {
        char pattern[] = "/tmp/vantrope-bench-XXXXXX";
        dir = mkdtemp(pattern);
    }
    return dir;
}

void prepareRun(const std::vector<int16_t> &material, XfmWave &wave)
{
    compatReset();
    resetModuleState();
    compatSetProfileDirectory(benchProfileDir());
    compatSetMessageBoxResponder(answerBoxes, nullptr);
    reviewOverride = scriptedReview;
    wave = memoryWave(material, BENCH_RATE);
}

void runBenchmark(benchmark::State &state, const std::vector<int16_t> &material, bool findNext)
{
    answerFindNext = findNext;
    XfmWave wave;
    for (auto _ : state) {
        state.PauseTiming();
        prepareRun(material, wave);
        state.ResumeTiming();
        benchmark::DoNotOptimize(XfmDo(&wave));
    }
    reviewOverride = nullptr;
    state.SetItemsProcessed((int64_t)state.iterations() * (int64_t)material.size());
}

const uint32_t eightySeconds = 80u * BENCH_RATE;

const std::vector<int16_t> &musicWithClicks()
{
    static std::vector<int16_t> material;
    if (material.empty()) {
        material = musicLike(eightySeconds, 1);
        addClicks(material, BENCH_RATE / 4, BENCH_RATE / 2, 9000);
    }
    return material;
}

void BM_MusicWithClicksAutomatic(benchmark::State &state) { runBenchmark(state, musicWithClicks(), false); }

void BM_MusicWithClicksFindNext(benchmark::State &state) { runBenchmark(state, musicWithClicks(), true); }

void BM_WhiteNoise(benchmark::State &state)
{
    static std::vector<int16_t> material = whiteNoise(eightySeconds, 1500, 2);
    runBenchmark(state, material, false);
}

void BM_NoiseLeadInThenMusic(benchmark::State &state)
{
    static std::vector<int16_t> material;
    if (material.empty()) {
        material = whiteNoise(10u * BENCH_RATE, 300, 3);
        std::vector<int16_t> music = musicLike(eightySeconds - 10u * BENCH_RATE, 4);
        material.insert(material.end(), music.begin(), music.end());
    }
    runBenchmark(state, material, false);
}

void BM_DigitalSilence(benchmark::State &state)
{
    static std::vector<int16_t> material(eightySeconds, 0);
    runBenchmark(state, material, false);
}

// Clicks in digital silence: the walkers meet no turn between two clicks.
void BM_SilenceWithClicksFindNext(benchmark::State &state)
{
    static std::vector<int16_t> material;
    if (material.empty()) {
        material.assign(eightySeconds, 0);
        addClicks(material, BENCH_RATE / 4, BENCH_RATE / 2, 9000);
    }
    runBenchmark(state, material, true);
}

void BM_DenseClicksAutomatic(benchmark::State &state)
{
    static std::vector<int16_t> material;
    if (material.empty()) {
        material = musicLike(eightySeconds, 5);
        addClicks(material, 100, 25, 12000);
    }
    runBenchmark(state, material, false);
}

// The slow inputs, 80 s each, answered as --auto answers.
void BM_SlowInput(benchmark::State &state, const char *kind)
{
    static std::vector<int16_t> material;
    static std::string made;
    if (made != kind) {
        material = namedMaterial(kind, eightySeconds);
        made = kind;
    }
    runBenchmark(state, material, false);
}

void BM_VerificationAtACandidate(benchmark::State &state)
{
    static std::vector<int16_t> material;
    if (material.empty()) {
        material = musicLike(10u * BENCH_RATE, 6);
        addClicks(material, 5u * BENCH_RATE, 10u * BENCH_RATE, 9000);
    }
    resetModuleState();
    XfmWave wave = {};
    wave.sampleRate = BENCH_RATE;
    clickParams.wave = &wave;
    uint32_t candidate = 5u * BENCH_RATE;
    int32_t accepted = 0;
    for (auto _ : state) {
        locateClickSpan(material.data(), (uint32_t)material.size(), candidate, clickParams);
        accepted += verifyBaseFrequency(SampleBuffer{material.data(), (uint32_t)material.size(), nullptr}, candidate,
                                        clickParams);
    }
    benchmark::DoNotOptimize(accepted);
    state.SetItemsProcessed((int64_t)state.iterations());
}

// The machine beside the library's own context (cores, frequency, load), registered before main runs.
const bool machineNoted = (benchmark::AddCustomContext("cpu model", processorModel()), true);

} // namespace

#define RUN_CASE(...) BENCHMARK(__VA_ARGS__)->Repetitions(5)->ReportAggregatesOnly(true)
#define SLOW_CASE(kind) BENCHMARK_CAPTURE(BM_SlowInput, kind, #kind)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond)

RUN_CASE(BM_MusicWithClicksAutomatic)->Unit(benchmark::kMillisecond);
RUN_CASE(BM_MusicWithClicksFindNext)->Unit(benchmark::kMillisecond);
RUN_CASE(BM_WhiteNoise)->Unit(benchmark::kMillisecond);
RUN_CASE(BM_NoiseLeadInThenMusic)->Unit(benchmark::kMillisecond);
RUN_CASE(BM_DigitalSilence)->Unit(benchmark::kMillisecond);
RUN_CASE(BM_SilenceWithClicksFindNext)->Unit(benchmark::kMillisecond);
RUN_CASE(BM_DenseClicksAutomatic)->Unit(benchmark::kMillisecond);
SLOW_CASE(noise100);
SLOW_CASE(noise8000);
SLOW_CASE(noisefull);
SLOW_CASE(noiseclicks);
SLOW_CASE(denseclicks);
SLOW_CASE(square);
SLOW_CASE(alternating);
SLOW_CASE(gauss);
RUN_CASE(BM_VerificationAtACandidate)->Unit(benchmark::kMicrosecond);
