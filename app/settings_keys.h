// The eleven keys of the plug-in's settings file as the host knows them: names, the values a missing
// key loads as, what a command line may set them to, the plug-in's own text-to-number rule and
// load clamps, and the review dialog's read-back rules that a run's settings must already satisfy.
// The plug-in keeps its own table; the host's is the file format seen from outside, so that the
// Windows build, which only loads the plug-in, knows it too. Pure; no state.
#pragma once
#include "plugin/settings.h" // parseSettingText, the plug-in's rule for a value text
#include <cstdint>
#include <string>
#include <vector>

enum { SETTINGS_KEY_COUNT = 11 };

// Indices into the table, in the file's key order.
enum SettingsKeyIndex : int32_t {
    KEY_C1 = 0, KEY_D1 = 1, KEY_C2 = 2, KEY_ZOOM = 3, KEY_LINE_BEZIER = 4, KEY_PTS_AROUND = 5,
    KEY_START_OVER = 6, KEY_AUTO_ZOOM = 7, KEY_RANGE_DIALOG = 8, KEY_USE_BASE_FREQ_VER = 9, KEY_BASE_FREQ_VER_S = 10
};

struct SettingsKey {
    const char *name;     // the key in section Coeffs, as the plug-in writes it
    int32_t fallback;     // what a missing key loads as
    int32_t loadLow;      // the plug-in raises a loaded value below this to it (INT32_MIN: no clamp)
    int32_t loadHigh;     // and lowers one above this to it (INT32_MAX: no clamp)
    int32_t setLow;       // the least value --set accepts
    int32_t setHigh;      // the greatest value --set accepts
    const char *meaning;  // a few words for help and the settings listing
};

// The key at index 0..SETTINGS_KEY_COUNT-1.
const SettingsKey &settingsKey(int32_t index);

// The index of a key named case-insensitively, as the plug-in's file routines match it; -1 for none.
int32_t findSettingsKey(const std::string &name);

// The settings file's section.
#define SETTINGS_SECTION "Coeffs"
// The file the plug-in keeps them in, by its bare name.
#define SETTINGS_FILE_NAME "Vantrope.ini"


// The value the plug-in holds after loading raw for key index: raw with the key's load clamp.
int32_t loadedSettingValue(int32_t index, int32_t raw);

// One KEY=VALUE of --set: the key's index and the value.
struct SettingAssignment {
    int32_t key;   // SettingsKeyIndex
    int32_t value; // within the key's set range
};

// Parses "KEY=VALUE[,KEY=VALUE...]" as --set takes it: a known key, a plain decimal within its set
// range. Appends to *assignments; returns 1, or 0 with a one-line reason.
int32_t parseSettingAssignments(const std::string &text, std::vector<SettingAssignment> *assignments,
                                std::string *error);

// The eleven values the plug-in would hold, in key order.
struct SettingsValues {
    int32_t value[SETTINGS_KEY_COUNT];
};

// The values a missing file loads as.
SettingsValues defaultSettingsValues();

// Whether values survive a review unchanged: the dialog stores C2 above C1 and a severity of at
// least 1 whichever button ends it, and a switch as 0 or 1. Returns 1, or 0 with a one-line reason
// naming what the dialog would make of them.
int32_t checkReviewStable(const SettingsValues &values, std::string *error);
