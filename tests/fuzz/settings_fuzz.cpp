// Fuzz target: any bytes as Vantrope.ini. Loading, saving and loading again must give the very values
// the first load gave, and a second save must leave the file as the first one wrote it: whatever a user
// or another program left in the file, the plug-in never turns it into different settings.
#include <sys/stat.h>
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "compat_host.h"
#include "fuzz_scratch.h"
#include "plugin/click_params.h"
#include "plugin/module_reset.h"
#include "plugin/settings.h"

static std::string fileText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The eleven stored values of the record, in key order.
static void storedValues(const ClickParams &p, int32_t out[11])
{
    const int32_t values[11] = {p.c1, p.d1, p.c2, p.zoom, p.lineBezier, p.ptsAround, (int32_t)p.multipass,
                                (int32_t)p.autoZoom, (int32_t)p.rangeDialog, (int32_t)p.useBaseFreqVer,
                                p.baseFreqVerS};
    memcpy(out, values, sizeof values);
}

static void fail(const char *what, const int32_t a[11], const int32_t b[11])
{
    fprintf(stderr, "settings: %s\n", what);
    for (int i = 0; i < 11; i++)
        fprintf(stderr, "  key %d: %d then %d\n", i, a[i], b[i]);
    abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string path = profileDir("settings") + "/Vantrope.ini";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(data), (std::streamsize)size);
    }
    compatReset();
    resetModuleState();
    compatSetProfileDirectory(profileDir("settings"));

    loadSettings();
    int32_t first[11], second[11];
    storedValues(clickParams, first);
    saveSettings();
    std::string saved = fileText(path);
    clickParams = initialClickParams();
    loadSettings();
    storedValues(clickParams, second);
    if (memcmp(first, second, sizeof first) != 0)
        fail("a saved file loads as other values", first, second);
    saveSettings();
    if (fileText(path) != saved)
        fail("saving the loaded values again changed the file", first, second);
    return 0;
}
