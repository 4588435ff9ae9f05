// Reading the built-in preset files: their [Coeffs] keys by the plug-in's own rules, their comment
// lines for the help. No state.
#include "presets.h"
#include <strings.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include "text_parse.h"

const PresetFile *findPreset(const std::string &name)
{
    for (int32_t i = 0; i < presetFileCount; i++)
        if (name == presetFiles[i].name)
            return &presetFiles[i];
    return nullptr;
}

std::string presetNames()
{
    std::string names;
    for (int32_t i = 0; i < presetFileCount; i++)
        names += (i ? ", " : "") + std::string(presetFiles[i].name);
    return names;
}

static std::vector<std::string> linesOf(const char *text)
{
    std::vector<std::string> lines;
    const char *begin = text;
    while (*begin) {
        const char *end = strchr(begin, '\n');
        size_t length = end ? (size_t)(end - begin) : strlen(begin);
        std::string line(begin, length);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        begin += length + (end ? 1 : 0);
    }
    return lines;
}

int32_t presetValues(const PresetFile &preset, SettingsValues *values, bool given[SETTINGS_KEY_COUNT])
{
    for (int32_t i = 0; i < SETTINGS_KEY_COUNT; i++)
        given[i] = false;
    bool inSection = false;
    int32_t count = 0;
    for (const std::string &raw : linesOf(preset.text)) {
        std::string line = trimmed(raw);
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            inSection = strcasecmp(line.c_str(), "[" SETTINGS_SECTION "]") == 0;
            continue;
        }
        size_t equals = line.find('=');
        int32_t key = inSection && equals != std::string::npos ? findSettingsKey(trimmed(line.substr(0, equals))) : -1;
        if (key < 0 || given[key])
            continue;
        values->value[key] = loadedSettingValue(key, parseSettingText(line.c_str() + equals + 1));
        given[key] = true;
        count++;
    }
    return count;
}

// The text of the first comment line that begins (after "; ") with prefix, from the prefix on.
static std::string commentFrom(const PresetFile &preset, const char *prefix)
{
    for (const std::string &line : linesOf(preset.text)) {
        if (line.empty() || line[0] != ';')
            continue;
        std::string text = trimmed(line.substr(1));
        if (text.compare(0, strlen(prefix), prefix) == 0)
            return text;
    }
    return "";
}

std::string presetSummary(const PresetFile &preset)
{
    std::string first = commentFrom(preset, "Vantrope preset");
    size_t colon = first.find("\":");
    return colon == std::string::npos ? "" : trimmed(first.substr(colon + 2));
}

std::string presetFigures(const PresetFile &preset)
{
    std::string line = commentFrom(preset, "Measured");
    size_t colon = line.find(':');
    return colon == std::string::npos ? line : trimmed(line.substr(colon + 1));
}

std::string presetMatching(const SettingsValues &values)
{
    for (int32_t i = 0; i < presetFileCount; i++) {
        SettingsValues preset = values;
        bool given[SETTINGS_KEY_COUNT];
        if (presetValues(presetFiles[i], &preset, given) == SETTINGS_KEY_COUNT &&
            memcmp(preset.value, values.value, sizeof preset.value) == 0)
            return presetFiles[i].name;
    }
    return "";
}

std::vector<const PresetFile *> presetsInHelpOrder()
{
    std::vector<const PresetFile *> order;
    for (int32_t i = 0; i < presetFileCount; i++)
        order.push_back(&presetFiles[i]);
    std::stable_sort(order.begin(), order.end(), [](const PresetFile *a, const PresetFile *b) {
        return atof(presetFigures(*a).c_str()) < atof(presetFigures(*b).c_str());
    });
    return order;
}
