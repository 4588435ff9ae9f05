// The settings a run gives the plug-in. A plain run lets the plug-in load and save the user's
// Vantrope.ini, as in an editor. A run with --preset, --set, --list or --keep-settings (and every
// file of a batch) gets a private copy instead: the saved file with the preset and --set written in,
// in a directory of its own, where the plug-in reads and saves; the saved file is never opened for
// writing, so a crash or a kill cannot harm it. --save-settings puts the run's values into the saved
// file afterwards. Owns the private directory and the values composed for it.
#pragma once
#include <cstdint>
#include <string>
#include "host_options.h"
#include "settings_keys.h"

// The values in the file at path as the plug-in loads them (missing keys and files give the defaults).
SettingsValues readSettingsValues(const std::string &path);

// Writes the file at path, replacing it through a temporary file renamed into place: the file at
// basePath (kept as it is apart from the keys; "" = none) with the eleven values written in. Returns
// true, or false with a reason.
bool writeSettingsValues(const std::string &path, const SettingsValues &values, const std::string &basePath,
                         std::string *error);

// The saved values at savedPath with the preset and then --set over them. Returns 1, or 0 with a
// one-line reason when the result would not survive a review unchanged (a preset or --set must mean
// the same however the reviews are answered).
int32_t composeSettings(const HostOptions &options, const std::string &savedPath, SettingsValues *values,
                        std::string *error);

// Before anything is read: decides whether the run gets a private copy and composes its values.
// Returns 1, or 0 with a one-line reason. Touches the module's plan.
int32_t runSettingsCheck(const HostOptions &options, const std::string &savedPath, std::string *error);

// Right before the plug-in runs: makes the private copy and points the plug-in at it (nothing when the
// run uses the saved file). Returns 1, or 0 with a reason.
int32_t runSettingsInstall(std::string *error);

// After the runs: with --save-settings and save true, the values the plug-in left in the private copy
// become the saved ones. Returns 1, or 0 with a reason.
int32_t runSettingsFinish(bool save, std::string *error);

// Removes the private copy, if there is one. Safe to call more than once.
void runSettingsCleanup();

// For -v: where the run's settings come from and their values, one line.
std::string runSettingsDescription();
