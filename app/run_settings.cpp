// The run's settings: the values composed from the saved file, a preset and --set, the private copy
// the plug-in is pointed at, and the one way back into the saved file (--save-settings). The profile
// routines used here are the platform's own (the stand-in's natively), so the files have the format
// the plug-in itself writes.
#include "run_settings.h"
#include <chrono>
#include <filesystem>
#include <random>
#include <system_error>
#include "host_platform.h"
#include "plugin/platform.h"
#include "presets.h"
#include "settings_guard.h"

struct RunSettingsPlan {
    bool isPrivate;          // the run gets a private copy
    bool save;               // --save-settings
    bool listOnly;           // --list: one pass, nothing saved
    std::string savedPath;   // the user's Vantrope.ini
    SettingsValues values;   // what the private copy starts with
    std::string origin;      // for -v: "the saved settings", "preset gentle", ... with the --set keys
    std::string directory;   // the private copy's directory, "" until made and after cleanup
};

static RunSettingsPlan plan = {false, false, false, "", {{0}}, "", ""};

SettingsValues readSettingsValues(const std::string &path)
{
    SettingsValues values = defaultSettingsValues();
    if (path.empty())
        return values;
    for (int32_t i = 0; i < SETTINGS_KEY_COUNT; i++) {
        char text[1024] = "";
        std::string fallback = std::to_string(settingsKey(i).fallback);
        GetPrivateProfileStringA(SETTINGS_SECTION, settingsKey(i).name, fallback.c_str(), text, sizeof text,
                                 path.c_str());
        values.value[i] = loadedSettingValue(i, parseSettingText(text));
    }
    return values;
}

bool writeSettingsValues(const std::string &path, const SettingsValues &values, const std::string &basePath,
                         std::string *error)
{
    std::string bytes;
    if (!basePath.empty())
        readSettingsFile(basePath, &bytes);
    std::error_code failure;
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent, failure);
    // The keys go into a scratch copy through the profile routines, which keep the rest of the file.
    std::string scratch = path + ".vantrope-new";
    remove(scratch.c_str());
    FILE *file = fopen(scratch.c_str(), "wb");
    bool ok = file && fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = file && fclose(file) == 0 && ok;
    for (int32_t i = 0; ok && i < SETTINGS_KEY_COUNT; i++)
        ok = WritePrivateProfileStringA(SETTINGS_SECTION, settingsKey(i).name, std::to_string(values.value[i]).c_str(),
                                        scratch.c_str()) != 0;
    ok = ok && readSettingsFile(scratch, &bytes);
    remove(scratch.c_str());
    if (!ok) {
        *error = path + ": cannot write the settings";
        return false;
    }
    return writeSettingsFile(path, bytes, error);
}

int32_t composeSettings(const HostOptions &options, const std::string &savedPath, SettingsValues *values,
                        std::string *error)
{
    SettingsValues saved = readSettingsValues(savedPath);
    *values = saved;
    if (!options.preset.empty()) {
        bool given[SETTINGS_KEY_COUNT];
        presetValues(*findPreset(options.preset), values, given);
    }
    for (const SettingAssignment &set : options.sets)
        values->value[set.key] = set.value;
    if (options.preset.empty() && options.sets.empty())
        return 1;
    // A saved file that breaks the dialog's rules on its own is the user's; what --set adds is checked.
    std::string ignored;
    if (!checkReviewStable(*values, error) && (!options.preset.empty() || checkReviewStable(saved, &ignored))) {
        *error = (options.preset.empty() ? "--set: " : "--preset " + options.preset + ": ") + *error;
        return 0;
    }
    return 1;
}

static std::string describeOrigin(const HostOptions &options)
{
    std::string origin = options.preset.empty() ? "the saved settings" : "preset " + options.preset;
    for (size_t i = 0; i < options.sets.size(); i++)
        origin += std::string(i ? ", " : " with ") + settingsKey(options.sets[i].key).name + "=" +
                  std::to_string(options.sets[i].value);
    return origin;
}

int32_t runSettingsCheck(const HostOptions &options, const std::string &savedPath, std::string *error)
{
    plan = RunSettingsPlan{false, options.saveSettings, options.task == TASK_LIST, savedPath, {{0}}, "", ""};
    plan.isPrivate = !options.preset.empty() || !options.sets.empty() || options.keepSettings ||
                     options.task == TASK_LIST;
    plan.origin = describeOrigin(options);
    if (!composeSettings(options, savedPath, &plan.values, error))
        return 0;
    // The candidates of one pass over the audio as it is: "Find Next" in a multipass run would start
    // pass after pass over the unchanged audio.
    if (plan.listOnly)
        plan.values.value[KEY_START_OVER] = 0;
    return 1;
}

// A new directory of this run's own in the system's temporary directory.
static bool makePrivateDirectory(std::string *directory, std::string *error)
{
    std::error_code failure;
    std::filesystem::path base = std::filesystem::temp_directory_path(failure);
    if (failure) {
        *error = "no temporary directory for the run's settings: " + failure.message();
        return false;
    }
    std::random_device device;
    uint64_t seed = (uint64_t)device() ^ (uint64_t)std::chrono::steady_clock::now().time_since_epoch().count();
    std::mt19937_64 pick(seed);
    for (int32_t attempt = 0; attempt < 100; attempt++) {
        std::filesystem::path candidate = base / ("vantrope-settings-" + std::to_string(pick() % 100000000u));
        if (std::filesystem::create_directory(candidate, failure)) {
            *directory = candidate.string();
            return true;
        }
    }
    *error = base.string() + ": cannot make a directory for the run's settings";
    return false;
}

int32_t runSettingsInstall(std::string *error)
{
    if (!plan.isPrivate)
        return 1;
    if (!makePrivateDirectory(&plan.directory, error))
        return 0;
    std::string copy = (std::filesystem::path(plan.directory) / SETTINGS_FILE_NAME).string();
    if (!writeSettingsValues(copy, plan.values, plan.savedPath, error))
        return 0;
    return platformSetSettingsDir(plan.directory, error) ? 1 : 0;
}

int32_t runSettingsFinish(bool save, std::string *error)
{
    if (!plan.isPrivate || !plan.save || !save || plan.directory.empty())
        return 1;
    std::string copy = (std::filesystem::path(plan.directory) / SETTINGS_FILE_NAME).string();
    return writeSettingsValues(plan.savedPath, readSettingsValues(copy), plan.savedPath, error) ? 1 : 0;
}

void runSettingsCleanup()
{
    if (plan.directory.empty())
        return;
    std::error_code failure;
    std::filesystem::remove_all(plan.directory, failure);
    plan.directory.clear();
}

std::string runSettingsDescription()
{
    std::string values;
    for (int32_t i = 0; i < SETTINGS_KEY_COUNT; i++)
        values += std::string(i ? " " : "") + settingsKey(i).name + "=" + std::to_string(plan.values.value[i]);
    if (!plan.isPrivate)
        return "settings: " + plan.savedPath + " (" + values + "), saved again after the run";
    return "settings: " + plan.origin + " over " + plan.savedPath + " (" + values + "), " +
           (plan.save ? "saved after the run" : "a private copy; the saved ones stay as they are");
}
