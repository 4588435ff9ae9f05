// The settings file: one table of keys, defaults and load ranges, used by both loading and saving.
#include "settings.h"
#include "click_params.h"
#include "module_state.h"

static const char settingsFile[] = "Vantrope.ini";
static const char settingsSection[] = "Coeffs";

enum { NO_LIMIT = 0, LOWER_LIMIT = 1, BOTH_LIMITS = 2 };

struct SettingKey {
    const char *key;
    const char *fallback;   // text used when the file has no value
    int32_t ClickParams::*field;
    uint32_t ClickParams::*flag; // for the unsigned switches, instead of field
    int limits;
    int32_t low, high;
};

// In file order; loading and saving both walk it front to back.
static const SettingKey settingKeys[] = {
    {"C1", "4", &ClickParams::c1, nullptr, LOWER_LIMIT, 1, 0},
    {"D1", "600", &ClickParams::d1, nullptr, LOWER_LIMIT, 1, 0},
    {"C2", "9", &ClickParams::c2, nullptr, LOWER_LIMIT, 1, 0},
    {"Zoom", "1", &ClickParams::zoom, nullptr, BOTH_LIMITS, ZOOM_MIN, ZOOM_MAX},
    {"LineBezier", "0", &ClickParams::lineBezier, nullptr, BOTH_LIMITS, BLEND_MIN, BLEND_MAX},
    {"PtsAround", "75", &ClickParams::ptsAround, nullptr, BOTH_LIMITS, WIDTH_MIN, WIDTH_MAX},
    {"StartOver", "0", nullptr, &ClickParams::multipass, NO_LIMIT, 0, 0},
    {"AutoZoom", "0", nullptr, &ClickParams::autoZoom, NO_LIMIT, 0, 0},
    {"RangeDialog", "0", nullptr, &ClickParams::rangeDialog, NO_LIMIT, 0, 0},
    {"UseBaseFreqVer", "1", nullptr, &ClickParams::useBaseFreqVer, NO_LIMIT, 0, 0},
    {"BaseFreqVerS", "1", &ClickParams::baseFreqVerS, nullptr, NO_LIMIT, 0, 0},
};

static int32_t clampToKey(const SettingKey &k, int32_t value)
{
    if (k.limits != NO_LIMIT && value < k.low)
        return k.low;
    if (k.limits == BOTH_LIMITS && value > k.high)
        return k.high;
    return value;
}

void loadSettings()
{
    for (const SettingKey &k : settingKeys) {
        GetPrivateProfileStringA(settingsSection, k.key, k.fallback, textBuffer, TEXT_BUFFER_SIZE, settingsFile);
        int32_t value = clampToKey(k, parseSettingText(textBuffer));
        if (k.field)
            clickParams.*k.field = value;
        else
            clickParams.*k.flag = (uint32_t)value;
    }
}

void saveSettings()
{
    for (const SettingKey &k : settingKeys) {
        int32_t value = k.field ? clickParams.*k.field : (int32_t)(clickParams.*k.flag);
        wsprintfA(textBuffer, "%ld", value);
        WritePrivateProfileStringA(settingsSection, k.key, textBuffer, settingsFile);
    }
}
