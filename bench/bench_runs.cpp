// Whole runs of XfmDo over generated material, as an editor would start them, reporting samples per
// second; and the verification alone at a candidate.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include "analysis/base_freq.h"
#include "analysis/click_span.h"
#include "bench_material.h"
#include "compat_host.h"
#include "plugin/click_params.h"
#include "plugin/module_reset.h"
#include "plugin/xfm.h"

namespace {

std::vector<int16_t> selection;
int32_t cancelFlag = 0;

int32_t XFM_STDCALL readAll(void *buffer, uint32_t offset, uint32_t bytes)
{
    memcpy(buffer, reinterpret_cast<const char *>(selection.data()) + offset, bytes);
    return 0;
}

int32_t XFM_STDCALL writeAll(void *buffer, uint32_t offset, uint32_t bytes)
{
    memcpy(reinterpret_cast<char *>(selection.data()) + offset, buffer, bytes);
    return 0;
}

// Question boxes: the first candidate switches to automatic repair, a best guess stops the run.
int answerAutomatically(HWND, const char *text, const char *, UINT flags, void *)
{
    if ((flags & MB_TYPEMASK) != MB_YESNOCANCEL)
        return IDOK;
    return strncmp(text, "Possible click", 14) == 0 ? IDCANCEL : IDNO;
}

std::string benchProfileDir()
{
    static std::string dir;
    if (dir.empty()) {
        char pattern[] = "/tmp/vantrope-bench-XXXXXX";
        dir = mkdtemp(pattern);
    }
    return dir;
}

void runOnce(const std::vector<int16_t> &material)
{
    compatReset();
    resetModuleState();
    compatSetProfileDirectory(benchProfileDir());
    compatSetMessageBoxResponder(answerAutomatically, nullptr);
    selection = material;
    XfmWave wave = {};
    wave.channels = 1;
    wave.bitsPerSample = 16;
    wave.bytesPerFrame = 2;
    wave.sampleRate = BENCH_RATE;
    wave.selStart = 0;
    wave.selEnd = (uint32_t)material.size() - 1;
    wave.readSamples = readAll;
    wave.writeSamples = writeAll;
    wave.cancelFlag = &cancelFlag;
    XfmDo(&wave);
}

void runBenchmark(benchmark::State &state, const std::vector<int16_t> &material)
{
    for (auto _ : state)
        runOnce(material);
    state.SetItemsProcessed((int64_t)state.iterations() * (int64_t)material.size());
}

const uint32_t eightySeconds = 80u * BENCH_RATE;

void BM_MusicWithClicksAutomatic(benchmark::State &state)
{
    static std::vector<int16_t> material;
    if (material.empty()) {
        material = musicLike(eightySeconds, 1);
        addClicks(material, BENCH_RATE / 4, BENCH_RATE / 2, 9000);
    }
    runBenchmark(state, material);
}

void BM_WhiteNoise(benchmark::State &state)
{
    static std::vector<int16_t> material = whiteNoise(eightySeconds, 1500, 2);
    runBenchmark(state, material);
}

void BM_NoiseLeadInThenMusic(benchmark::State &state)
{
    static std::vector<int16_t> material;
    if (material.empty()) {
        material = whiteNoise(10u * BENCH_RATE, 300, 3);
        std::vector<int16_t> music = musicLike(eightySeconds - 10u * BENCH_RATE, 4);
        material.insert(material.end(), music.begin(), music.end());
    }
    runBenchmark(state, material);
}

void BM_DigitalSilence(benchmark::State &state)
{
    static std::vector<int16_t> material(eightySeconds, 0);
    runBenchmark(state, material);
}

void BM_DenseClicksAutomatic(benchmark::State &state)
{
    static std::vector<int16_t> material;
    if (material.empty()) {
        material = musicLike(10u * BENCH_RATE, 5);
        addClicks(material, 100, 25, 12000);
    }
    runBenchmark(state, material);
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
        accepted += verifyBaseFrequency(material.data(), candidate, (uint32_t)material.size(), clickParams);
    }
    benchmark::DoNotOptimize(accepted);
    state.SetItemsProcessed((int64_t)state.iterations());
}

} // namespace

BENCHMARK(BM_MusicWithClicksAutomatic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WhiteNoise)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoiseLeadInThenMusic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DigitalSilence)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DenseClicksAutomatic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VerificationAtACandidate)->Unit(benchmark::kMicrosecond);
