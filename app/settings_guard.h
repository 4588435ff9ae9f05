// Keeps the user's saved settings when the plug-in writes back start-up values it never loaded. The
// plug-in saves what it holds also when it refuses a selection as too short, before loading anything,
// and a module that has loaded no settings holds its start-up values: an editor keeps the module
// loaded, so there they are the previous run's values, but this host loads it afresh for every file.
// So until the plug-in has read a selection (it loads the settings right after), the host keeps the
// settings file's bytes around each run and puts them back when the run replaced them. Where there
// was no file, what the plug-in wrote stays, as on a first run in an editor. Owns the kept bytes.
#pragma once
#include <string>

// Before a run: keeps the file at path as it is, unless the plug-in has loaded its settings already.
void settingsGuardBeforeRun(const std::string &path);

// After the run: when it loaded nothing and the file existed before, puts the kept bytes back if the
// run changed them. Returns false with a reason when they could not be put back.
bool settingsGuardAfterRun(std::string *error);

// Replaces the file at path with bytes through a temporary file beside it, renamed into place, so that
// an interrupt leaves the old file or the new one. Returns true, or false with a reason.
bool writeSettingsFile(const std::string &path, const std::string &bytes, std::string *error);

// Reads the whole file at path into bytes. Returns false when it cannot be read (or does not exist).
bool readSettingsFile(const std::string &path, std::string *bytes);
