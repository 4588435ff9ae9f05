// Times XfmDo alone over the generated benchmark material, for both builds: the plug-in linked in, the
// reviews answered as the host program's --auto answers them (AutoRepair at the first candidate, Stop
// Here at a best guess). Each round starts from the original material; only the XfmDo call is timed
// (QueryPerformanceCounter on Windows, the steady clock natively). Prints the machine, then the median,
// the best and the worst round, the spread (worst minus best, against the median), samples per second
// at the median (natively also the median processor time) and a digest of the repaired audio, so two builds can be compared line by line.
//   time_xfm [SECONDS [KIND [ROUNDS]]]   KIND one of namedMaterial's names (music by default);
//   defaults 80 and 9
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "bench_material.h"
#include "machine_info.h"
#include "plugin/module_reset.h"
#include "memory_host.h"
#include "plugin/xfm.h"
#include "ui/review.h"
#include "ui/dialog_ids.h"
#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#include <ctime>
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

double processorSecondsNow() { return -1.0; } // not told on Windows
#else
double secondsNow()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The processor time of this process, which other programs on a busy machine do not inflate.
double processorSecondsNow()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
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

// One XfmDo over a fresh copy of original; returns its seconds, adds its processor seconds to
// processor, and leaves the result in the memory selection.
double timedRun(const std::vector<int16_t> &original, int32_t &result, std::vector<double> &processor)
{
    prepareHost();
    resetModuleState();
    reviewOverride = automaticReview;
    XfmWave wave = memoryWave(original, BENCH_RATE);
    double cpuBegan = processorSecondsNow();
    double began = secondsNow();
    result = XfmDo(&wave);
    double wall = secondsNow() - began;
    processor.push_back(processorSecondsNow() - cpuBegan);
    return wall;
}

double medianOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
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
        fprintf(stderr, "usage: time_xfm [SECONDS [%s [ROUNDS]]]\n", materialNames());
        return 2;
    }
    std::vector<int16_t> original = namedMaterial(kind, seconds * BENCH_RATE);
    if (original.empty()) {
        fprintf(stderr, "usage: time_xfm [SECONDS [%s [ROUNDS]]]\n", materialNames());
        return 2;
    }
    std::vector<double> times, processor;
    int32_t result = 0;
    for (int32_t r = 0; r < rounds; r++)
        times.push_back(timedRun(original, result, processor));
    std::sort(times.begin(), times.end());
    double median = medianOf(times);
    double cpu = medianOf(processor);
    char cpuText[64] = "";
    if (cpu >= 0)
        snprintf(cpuText, sizeof cpuText, ", processor time %.4f s", cpu);
    printf("%s\n", machineLine().c_str());
    printf("XfmDo %s %us: result %d, %d rounds, median %.4f s, best %.4f s, worst %.4f s, spread %.0f%%%s, "
           "%.1f M samples/s, digest %016llx\n",
           kind, (unsigned)seconds, (int)result, (int)rounds, median, times.front(), times.back(),
           100.0 * (times.back() - times.front()) / median, cpuText, (double)original.size() / median / 1e6,
           (unsigned long long)digest(memorySelection()));
    return result == 1 ? 0 : 1;
}
