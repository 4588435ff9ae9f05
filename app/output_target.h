// Where OUT's audio goes and whether an existing file there may be replaced (-y, -n, --in-place, or a
// person at the terminal, as ffmpeg asks), and the names on the command line that must not be one
// file. Shared by both builds over the platform's file queries (host_platform.h). No state.
#pragma once
#include <cstdint>
#include <string>
#include "host_options.h"

enum OutputKind {
    OUTPUT_NEW_FILE = 0,     // nothing there yet: a temporary file beside it, renamed into place
    OUTPUT_REPLACE_FILE = 1, // an existing regular file, replaced the same way, keeping its permissions
    OUTPUT_THROUGH = 2,      // a character device or a FIFO: written straight into, never replaced
    OUTPUT_STDOUT = 3        // "-": standard output
};

struct OutputTarget {
    int32_t kind;     // an OutputKind
    std::string name; // OUT as given: for messages, and its extension chooses the format
    std::string path; // the name written: OUT with symbolic links followed; "" for standard output
};

// Refuses a command line that names one file for two purposes (IN as the transcript, OUT as the
// settings file, ...), before anything is opened; OUT may be IN only with --in-place. Returns true,
// or false with a one-line reason.
bool checkDistinctNames(const HostOptions &options, const std::string &settingsPath, std::string *error);

// Decides the target of OUT: refuses a directory, a block device, a terminal as standard output, and
// an existing file that may not be replaced; asks at the terminal when neither -y nor -n decides.
// Returns true, or false with a one-line reason.
bool planOutputTarget(const HostOptions &options, bool stdinIsTerminal, bool stdoutIsTerminal, OutputTarget *target,
                      std::string *error);
