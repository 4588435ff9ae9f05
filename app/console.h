// How much the host program says on standard error: -q errors only, -v also the settings a run uses
// and each batch file's own messages. Owns the verbosity (module state, one per process).
#pragma once
#include <cstdint>

enum Verbosity : int32_t { VERBOSITY_QUIET = -1, VERBOSITY_NORMAL = 0, VERBOSITY_VERBOSE = 1 };

void consoleSetVerbosity(int32_t verbosity);

// Whether notes, summaries and review lines are to be printed (not -q), and the extra ones (-v).
bool consoleNotes();
bool consoleVerbose();
