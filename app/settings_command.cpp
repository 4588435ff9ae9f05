// The settings command: shows the saved file key by key, and changes it only through the same
// composition and checks a run uses, written through a temporary file renamed into place.
#include "settings_command.h"
#include <cstdio>
#include "host_platform.h"
#include "plugin/platform.h"
#include "presets.h"
#include "run_settings.h"
#include "settings_guard.h"

static void printSettings(const std::string &path)
{
    std::string bytes;
    bool exists = readSettingsFile(path, &bytes);
    printf("%s%s\n", path.c_str(), exists ? "" : " (no such file yet: the plug-in loads the defaults)");
    for (int32_t i = 0; i < SETTINGS_KEY_COUNT; i++) {
        const SettingsKey &k = settingsKey(i);
        char text[1024] = "";
        // A sentinel no value can hold tells a missing key from an empty one.
        GetPrivateProfileStringA(SETTINGS_SECTION, k.name, "\x01", text, sizeof text, path.c_str());
        bool missing = text[0] == '\x01';
        int32_t loaded = loadedSettingValue(i, missing ? k.fallback : parseSettingText(text));
        std::string shown = missing ? " missing" : "=" + std::string(text);
        std::string note = missing || shown != "=" + std::to_string(loaded) ? ", loads as " + std::to_string(loaded) : "";
        std::string left = std::string("  ") + k.name + shown + note;
        printf("%-32s default %-5d %s\n", left.c_str(), (int)k.fallback, k.meaning);
    }
    std::string preset = presetMatching(readSettingsValues(path));
    if (!preset.empty())
        printf("These are the values of preset %s.\n", preset.c_str());
}

int32_t runSettingsCommand(const HostOptions &options)
{
    std::string path = platformSettingsPath(), error;
    if (path.empty()) {
        fprintf(stderr, "vantrope: cannot tell where the settings file is\n");
        return 2;
    }
    if (options.resetSettings || !options.preset.empty() || !options.sets.empty()) {
        SettingsValues values = defaultSettingsValues();
        if (!options.resetSettings && !composeSettings(options, path, &values, &error)) {
            fprintf(stderr, "vantrope: %s\n", error.c_str());
            return 2;
        }
        // A reset starts a fresh file; new values keep the rest of the file as it was.
        if (!writeSettingsValues(path, values, options.resetSettings ? "" : path, &error)) {
            fprintf(stderr, "vantrope: %s\n", error.c_str());
            return 2;
        }
    }
    printSettings(path);
    return 0;
}
