// The output target and the names that must stay apart. Existing files are replaced only with
// consent, never written over in place; what is not a regular file is written through or refused.
#include "output_target.h"
#include "host_platform.h"
#include "terminal_prompt.h"

struct NamedFile {
    const char *role;   // how the command line names it
    std::string path;   // "" = not given
    bool written;       // the program (or the plug-in) writes it
};

bool checkDistinctNames(const HostOptions &options, const std::string &settingsPath, std::string *error)
{
    const NamedFile names[] = {
        {"IN", options.inPath, false},
        {"OUT", options.outPath == "-" ? "" : options.outPath, true},
        {"--log", options.logPath, true},
        {"--script", options.scriptPath, false},
        {"--report", options.reportDir, true},
        {"--labels", options.labelsPath, true},
        {"--result", options.resultPath, true},
        {"the settings file", settingsPath, true},
    };
    const size_t count = sizeof names / sizeof names[0];
    for (size_t i = 0; i < count; i++)
        for (size_t j = i + 1; j < count; j++) {
            const NamedFile &a = names[i], &b = names[j];
            if (a.path.empty() || b.path.empty() || !(a.written || b.written) || !platformSameFile(a.path, b.path))
                continue;
            if (i == 0 && j == 1) {
                if (options.inPlace)
                    continue;
                *error = options.outPath + " is both IN and OUT; add --in-place to replace IN with the result";
            } else {
                *error = b.path + " is named as " + a.role + " and as " + b.role + "; give each its own file";
            }
            return false;
        }
    if (options.inPlace && !platformSameFile(options.inPath, options.outPath)) {
        *error = "--in-place writes the result back to IN, but OUT names another file";
        return false;
    }
    return true;
}

// An existing regular file: replaced with consent only.
static bool mayReplace(const HostOptions &options, bool stdinIsTerminal, std::string *error)
{
    if (options.inPlace || options.overwrite)
        return true;
    if (options.neverOverwrite) {
        *error = options.outPath + " exists; not overwritten (-n)";
        return false;
    }
    if (!stdinIsTerminal) {
        *error = options.outPath + " exists; add -y to overwrite it";
        return false;
    }
    if (askYesNoOnTerminal("File '" + options.outPath + "' already exists. Overwrite? [y/N] "))
        return true;
    *error = options.outPath + " exists; not overwritten";
    return false;
}

bool planOutputTarget(const HostOptions &options, bool stdinIsTerminal, bool stdoutIsTerminal, OutputTarget *target,
                      std::string *error)
{
    target->name = options.outPath;
    if (options.outPath == "-") {
        if (stdoutIsTerminal) {
            *error = "standard output is a terminal; redirect it to a file or a pipe to write the audio there";
            return false;
        }
        target->kind = OUTPUT_STDOUT;
        target->path.clear();
        return true;
    }
    target->path = platformFollowLinks(options.outPath);
    switch (platformFileKind(target->path)) {
    case FILE_MISSING:
        target->kind = OUTPUT_NEW_FILE;
        return true;
    case FILE_REGULAR:
        target->kind = OUTPUT_REPLACE_FILE;
        return mayReplace(options, stdinIsTerminal, error);
    case FILE_CHARACTER_DEVICE:
    case FILE_FIFO:
        if (options.inPlace) {
            *error = "--in-place needs a regular file";
            return false;
        }
        target->kind = OUTPUT_THROUGH;
        return true;
    case FILE_DIRECTORY:
        *error = options.outPath + " is a directory; name a file to write";
        return false;
    default:
        *error = options.outPath + " is neither a regular file, a character device nor a FIFO; refusing to write onto it";
        return false;
    }
}
