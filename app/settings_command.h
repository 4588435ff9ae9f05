// "vantrope settings": where the saved settings file is and what it holds, key by key with what the
// plug-in makes of each value; --reset writes the defaults, --preset and --set write new values. No
// state of its own.
#pragma once
#include <cstdint>
#include "host_options.h"

// Runs the command (after --settings-dir has been applied). Returns the exit status: 0, or 2 with a
// line on standard error.
int32_t runSettingsCommand(const HostOptions &options);
