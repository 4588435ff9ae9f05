// A scratch directory for a fuzz target's settings file, made once per process under TMPDIR and removed
// when the process ends normally (a fault keeps it for a look).
#pragma once
#include <unistd.h>
#include <cstdlib>
#include <string>
#include <vector>

inline std::string &fuzzScratchDir()
{
    static std::string dir;
    return dir;
}

inline void removeFuzzScratchDir()
{
    unlink((fuzzScratchDir() + "/Vantrope.ini").c_str());
    rmdir(fuzzScratchDir().c_str());
}

// The directory, made on the first call; target names it (vantrope-fuzz-TARGET-XXXXXX).
inline const std::string &profileDir(const char *target)
{
    std::string &dir = fuzzScratchDir();
    if (dir.empty()) {
        const char *base = getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/vantrope-fuzz-" + target + "-XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (!mkdtemp(name.data()))
            abort();
        dir = name.data();
        atexit(removeFuzzScratchDir);
    }
    return dir;
}
