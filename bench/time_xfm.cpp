// Times XfmDo alone over the generated benchmark material, for both builds: the plug-in linked in, the
// reviews answered as the host program's --auto answers them (AutoRepair at the first candidate, Stop
// Here at a best guess). Each round starts from the original material; only the XfmDo call is timed
// (QueryPerformanceCounter on Windows, the steady clock natively). Prints the median, the best round,
// samples per second and a digest of the repaired audio, so two builds can be compared line by line.
//   time_xfm [SECONDS [KIND [ROUNDS]]]   KIND music (default), noise or silence; defaults 80 and 9
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "bench_material.h"
#include "plugin/module_reset.h"
#include "memory_host.h"
#include "plugin/xfm.h"
#include "ui/review.h"
#include "ui/dialog_ids.h"
#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#include <unistd.h>
#include "compat_host.h"
#endif

namespace {


int32_t automaticReview(XfmWave *, int16_t *, uint32_t, int32_t, char *message, ClickParams *, uint32_t, int32_t)
{
    return strncmp(message, "Best guess", 10) == 0 ? ID_STOP_HERE : ID_AUTO_REPAIR;
}

#ifdef _WIN32
double secondsNow()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return (double)count.QuadPart / (double)frequency.QuadPart;
}

void prepareHost() {}
#else
double secondsNow()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

int answerBoxes(HWND, const char *, const char *, UINT, void *) { return IDOK; }

void prepareHost()
{
    static std::string dir;
    if (dir.empty()) {
        char pattern[] = "/tmp/vantrope-time-xfm-XXXXXX";
        dir = mkdtemp(pattern);
    }
    compatReset();
    compatSetProfileDirectory(dir);
    compatSetMessageBoxResponder(answerBoxes, nullptr);
}
#endif

std::vector<int16_t> benchMaterial(uint32_t seconds, const char *kind)
{
    uint32_t n = seconds * BENCH_RATE;
    if (strcmp(kind, "noise") == 0)
        return whiteNoise(n, 1500, 2);
    if (strcmp(kind, "silence") == 0)
        return std::vector<int16_t>(n, 0);
    std::vector<int16_t> x = musicLike(n, 1);
    addClicks(x, BENCH_RATE / 4, BENCH_RATE / 2, 9000);
    return x;
}

// One XfmDo over a fresh copy of original; returns its seconds and leaves the result in the memory selection.
double timedRun(const std::vector<int16_t> &original, int32_t &result)
{
    prepareHost();
    resetModuleState();
    reviewOverride = automaticReview;
    XfmWave wave = memoryWave(original, BENCH_RATE);
    double began = secondsNow();
    result = XfmDo(&wave);
    return secondsNow() - began;
}

uint64_t digest(const std::vector<int16_t> &samples)
{
    uint64_t h = 1469598103934665603ull;
    for (int16_t s : samples) {
        h = (h ^ (uint16_t)s) * 1099511628211ull;
    }
    return h;
}

} // namespace

int main(int argc, char **argv)
{
    uint32_t seconds = argc > 1 ? (uint32_t)atoi(argv[1]) : 80u;
    const char *kind = argc > 2 ? argv[2] : "music";
    int32_t rounds = argc > 3 ? atoi(argv[3]) : 9;
    if (seconds == 0 || rounds <= 0) {
        fprintf(stderr, "usage: time_xfm [SECONDS [music|noise|silence [ROUNDS]]]\n");
        return 2;
    }
    std::vector<int16_t> original = benchMaterial(seconds, kind);
    std::vector<double> times;
    int32_t result = 0;
    for (int32_t r = 0; r < rounds; r++)
        times.push_back(timedRun(original, result));
    std::sort(times.begin(), times.end());
    double median = times[times.size() / 2];
    printf("XfmDo %s %us: result %d, median %.4f s, best %.4f s, %.1f M samples/s, digest %016llx\n", kind,
           (unsigned)seconds, (int)result, median, times.front(), (double)original.size() / median / 1e6,
           (unsigned long long)digest(memorySelection()));
    return result == 1 ? 0 : 1;
}
