// The settings file's eleven keys seen from the host: one table of names, fallbacks, the plug-in's
// load clamps and the ranges a command line may set, with the rules built on it. No state.
#include "settings_keys.h"
#include <strings.h>
#include <climits>
#include "text_parse.h"
#include "ui/review_rules.h" // the bars' ranges, which the three settings share

static const SettingsKey keys[SETTINGS_KEY_COUNT] = {
    {"C1", 4, 1, INT_MAX, 1, 65535, "a jump above C1 x the running mean and above D1 is a candidate"},
    {"D1", 600, 1, INT_MAX, 1, 65535, "the least jump, in sample units, that C1 counts (\"Dist1\")"},
    {"C2", 9, 1, INT_MAX, 1, 65535, "a jump above C2 x the running mean is a candidate whatever its size"},
    {"Zoom", 1, ZOOM_MIN, ZOOM_MAX, ZOOM_MIN, ZOOM_MAX, "vertical zoom of the review's view"},
    {"LineBezier", 0, BLEND_MIN, BLEND_MAX, BLEND_MIN, BLEND_MAX, "repair blend: 0 all curve .. 12 all straight line"},
    {"PtsAround", 75, WIDTH_MIN, WIDTH_MAX, WIDTH_MIN, WIDTH_MAX, "samples shown either side of a candidate in the review"},
    {"StartOver", 0, INT_MIN, INT_MAX, 0, 1, "search again after a pass that repaired something (\"Multipass\")"},
    {"AutoZoom", 0, INT_MIN, INT_MAX, 0, 1, "choose the view's zoom from the signal"},
    {"RangeDialog", 0, INT_MIN, INT_MAX, 0, 1, "leave the editor at the last click after every run"},
    {"UseBaseFreqVer", 1, INT_MIN, INT_MAX, 0, 1, "pass over candidates the base-frequency verification rejects"},
    {"BaseFreqVerS", 1, INT_MIN, INT_MAX, 1, 65535, "severity of the base-frequency verification"},
};

const SettingsKey &settingsKey(int32_t index) { return keys[index]; }

int32_t findSettingsKey(const std::string &name)
{
    for (int32_t i = 0; i < SETTINGS_KEY_COUNT; i++)
        if (strcasecmp(keys[i].name, name.c_str()) == 0)
            return i;
    return -1;
}

int32_t loadedSettingValue(int32_t index, int32_t raw)
{
    const SettingsKey &k = keys[index];
    return raw < k.loadLow ? k.loadLow : raw > k.loadHigh ? k.loadHigh : raw;
}

// A plain decimal from low to high, an optional '-' allowed. Returns 1 when text is one.
static int32_t parseBounded(const std::string &text, int32_t low, int32_t high, int32_t *value)
{
    size_t at = text.size() > 1 && text[0] == '-' ? 1 : 0;
    if (at == text.size())
        return 0;
    int64_t magnitude = 0;
    for (size_t i = at; i < text.size(); i++) {
        if (text[i] < '0' || text[i] > '9')
            return 0;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > 0xFFFFFFFFll)
            return 0;
    }
    int64_t result = at ? -magnitude : magnitude;
    if (result < low || result > high)
        return 0;
    *value = (int32_t)result;
    return 1;
}

static int32_t parseOneAssignment(const std::string &item, SettingAssignment *out, std::string *error)
{
    size_t equals = item.find('=');
    std::string name = trimmed(item.substr(0, equals));
    int32_t key = findSettingsKey(name);
    if (key < 0) {
        *error = "--set: unknown key \"" + name + "\" (the keys: C1, D1, C2, Zoom, LineBezier, PtsAround, "
                 "StartOver, AutoZoom, RangeDialog, UseBaseFreqVer, BaseFreqVerS)";
        return 0;
    }
    const SettingsKey &k = keys[key];
    std::string text = equals == std::string::npos ? "" : trimmed(item.substr(equals + 1));
    if (equals == std::string::npos || !parseBounded(text, k.setLow, k.setHigh, &out->value)) {
        *error = std::string("--set: ") + k.name + " takes a whole number from " + std::to_string(k.setLow) + " to " +
                 std::to_string(k.setHigh) + (equals == std::string::npos ? ", as " + std::string(k.name) + "=N"
                                                                           : ", not \"" + text + "\"");
        return 0;
    }
    out->key = key;
    return 1;
}

int32_t parseSettingAssignments(const std::string &text, std::vector<SettingAssignment> *assignments,
                                std::string *error)
{
    size_t begin = 0;
    for (;;) {
        size_t comma = text.find(',', begin);
        SettingAssignment one = {0, 0};
        if (!parseOneAssignment(text.substr(begin, comma == std::string::npos ? std::string::npos : comma - begin),
                                &one, error))
            return 0;
        assignments->push_back(one);
        if (comma == std::string::npos)
            return 1;
        begin = comma + 1;
    }
}

SettingsValues defaultSettingsValues()
{
    SettingsValues values;
    for (int32_t i = 0; i < SETTINGS_KEY_COUNT; i++)
        values.value[i] = keys[i].fallback;
    return values;
}

int32_t checkReviewStable(const SettingsValues &values, std::string *error)
{
    const int32_t *v = values.value;
    if (v[KEY_C2] <= v[KEY_C1]) {
        *error = "C2 (" + std::to_string(v[KEY_C2]) + ") must be above C1 (" + std::to_string(v[KEY_C1]) +
                 "): the review dialog would make it " + std::to_string((int64_t)v[KEY_C1] + 1) +
                 " at the first review";
        return 0;
    }
    if (v[KEY_BASE_FREQ_VER_S] < 1) {
        *error = "BaseFreqVerS (" + std::to_string(v[KEY_BASE_FREQ_VER_S]) +
                 ") must be 1 or more: the review dialog would make it 1 at the first review";
        return 0;
    }
    for (int32_t i = KEY_START_OVER; i <= KEY_USE_BASE_FREQ_VER; i++)
        if (v[i] != 0 && v[i] != 1) {
            *error = std::string(keys[i].name) + " (" + std::to_string(v[i]) +
                     ") must be 0 or 1: the review dialog would store it as 1";
            return 0;
        }
    return 1;
}
