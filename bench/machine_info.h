// What the timing programs print about the machine they ran on, so that a figure is never read without
// it: the processor's model, the cores the system offers and, natively, the load averages at the time.
// Header only; used by the benchmark and time_xfm in both builds.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

// The first "model name" of /proc/cpuinfo (natively) or PROCESSOR_IDENTIFIER (on Windows); "unknown"
// when neither tells.
inline std::string processorModel()
{
#ifdef _WIN32
    const char *id = getenv("PROCESSOR_IDENTIFIER");
    return id && *id ? std::string(id) : std::string("unknown");
#else
    std::string model = "unknown";
    FILE *f = fopen("/proc/cpuinfo", "r");
    if (!f)
        return model;
    char line[512];
    while (fgets(line, sizeof line, f)) {
        const char *colon = strchr(line, ':');
        if (strncmp(line, "model name", 10) == 0 && colon) {
            model = colon + 1;
            while (!model.empty() && (model.back() == '\n' || model.back() == ' '))
                model.pop_back();
            while (!model.empty() && model.front() == ' ')
                model.erase(0, 1);
            break;
        }
    }
    fclose(f);
    return model;
#endif
}

inline int processorCores()
{
#ifdef _WIN32
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return (int)info.dwNumberOfProcessors;
#else
    return (int)sysconf(_SC_NPROCESSORS_ONLN);
#endif
}

// The 1, 5 and 15 minute load averages, or "unknown" (always so on Windows).
inline std::string loadAverages()
{
#ifdef _WIN32
    return "unknown";
#else
    double a, b, c;
    FILE *f = fopen("/proc/loadavg", "r");
    if (!f)
        return "unknown";
    int got = fscanf(f, "%lf %lf %lf", &a, &b, &c);
    fclose(f);
    if (got != 3)
        return "unknown";
    char text[64];
    snprintf(text, sizeof text, "%.2f %.2f %.2f", a, b, c);
    return text;
#endif
}

// "machine: MODEL, N cores, load A B C" in one line.
inline std::string machineLine()
{
    char cores[32];
    snprintf(cores, sizeof cores, "%d cores", processorCores());
    return "machine: " + processorModel() + ", " + cores + ", load " + loadAverages();
}
