// The program's verbosity, set once from -q or -v.
#include "console.h"

static int32_t verbosity = VERBOSITY_NORMAL;

void consoleSetVerbosity(int32_t level) { verbosity = level; }

bool consoleNotes() { return verbosity >= VERBOSITY_NORMAL; }

bool consoleVerbose() { return verbosity >= VERBOSITY_VERBOSE; }
