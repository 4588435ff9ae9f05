// The measured presets (presets/*.ini): each a settings file the plug-in can take as its Vantrope.ini,
// built into the program from those very files (preset_files.cpp is generated from them), so that the
// program, the installed files and the help never disagree. Reads the files' keys and their comment
// lines: the first says what the preset trades, the "Measured" line its benchmark figures. No state.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "settings_keys.h"

struct PresetFile {
    const char *name; // file name without ".ini": what --preset takes
    const char *text; // the file's bytes
};

// The built-in presets in name order, and how many there are (generated from presets/*.ini).
extern const PresetFile presetFiles[];
extern const int32_t presetFileCount;

// The preset of that name (case-sensitive, as the file is named), or null.
const PresetFile *findPreset(const std::string &name);

// "gentle, balanced, thorough": the names for messages.
std::string presetNames();

// The keys the preset's [Coeffs] section sets: values[i] and given[i] per key index. Returns the
// number of keys it sets; values it does not set are left as they were.
int32_t presetValues(const PresetFile &preset, SettingsValues *values, bool given[SETTINGS_KEY_COUNT]);

// What the preset trades, from its first comment line (after the name); "" when it has none.
std::string presetSummary(const PresetFile &preset);

// Its benchmark figures, from the comment line that starts "Measured"; "" when it has none.
std::string presetFigures(const PresetFile &preset);

// The name of the preset whose eleven keys equal values, or "" when none does.
std::string presetMatching(const SettingsValues &values);

// The presets from the one that fixes the fewest clicks to the one that fixes the most (by the first
// figure of their "Measured" lines), as the help lists them.
std::vector<const PresetFile *> presetsInHelpOrder();
