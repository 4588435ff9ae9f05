// The table of the host program's options: for each, its name, its help paragraph, the group the
// help lists it in, what its value completes to, and what it does to HostOptions. The parser, the
// help, the manual page and the shell completion all read this one table. No state.
#include <cstdlib>
#include "box_script.h"
#include "host_options.h"
#include "presets.h"
#include "text_parse.h"

#define APPLY                                                                                                  \
    []([[maybe_unused]] const std::string &value, [[maybe_unused]] HostOptions *o,                            \
       [[maybe_unused]] std::string *error) -> int32_t

static int32_t needText(const std::string &name, const std::string &value, const char *what, std::string *error)
{
    if (!value.empty())
        return 1;
    *error = name + " needs " + what;
    return 0;
}

static int32_t applyTime(const std::string &name, const std::string &value, TimeValue *when, std::string *error)
{
    if (parseTimeValue(value, when))
        return 1;
    *error = name + " needs a time in seconds (12.5), h:mm:ss.fff (1:02:03.5) or a frame with f (1000f), not \"" +
             value + "\"";
    return 0;
}

static const OptionInfo optionTable[] = {
    // ---- Repair
    {"--preset", nullptr, "NAME", GROUP_REPAIR, VALUE_PRESET, false, APPLY {
         if (!findPreset(value)) {
             *error = "unknown preset \"" + value + "\" (the presets: " + presetNames() + ")";
             return 0;
         }
         o->preset = value;
         return 1;
     },
     "settings measured for unattended runs (Presets, below), for this run only"},
    {"--set", nullptr, "KEY=VALUE", GROUP_REPAIR, VALUE_KEY, false,
     APPLY { return parseSettingAssignments(value, &o->sets, error); },
     "a setting for this run only (C1=6, or C1=6,D1=900; keys: vantrope settings)"},
    {"--save-settings", nullptr, nullptr, GROUP_REPAIR, VALUE_NONE, false, APPLY {
         o->saveSettings = true;
         return 1;
     },
     "keep the run's settings (preset, --set, review edits) as the saved ones"},
    {"--keep-settings", nullptr, nullptr, GROUP_HOST, VALUE_NONE, false, APPLY {
         o->keepSettings = true;
         return 1;
     },
     "leave the saved settings as they are, whatever the reviews change (a batch's files run so)"},
    {"--auto", nullptr, nullptr, GROUP_REPAIR, VALUE_NONE, false, APPLY {
         o->autoMode = true;
         return 1;
     },
     "repair every click the plug-in finds without asking"},
    {"--answers", nullptr, "LIST", GROUP_REPAIR, VALUE_TEXT, false, APPLY {
         o->hasAnswers = true;
         return parseAnswerList(value, &o->answers, error);
     },
     "the reviews' answers in order, a,b,...: stop repair next back close auto skip"},
    {"--channel", nullptr, "N", GROUP_REPAIR, VALUE_TEXT, false, APPLY {
         uint32_t number = 0;
         if (!parseFrameNumber(value, &number) || number < 1 || number > 65535) {
             *error = "--channel needs a channel number from 1 to 65535, not \"" + value + "\"";
             return 0;
         }
         o->channel = (int32_t)number;
         return 1;
     },
     "repair only channel N (1-based)"},
    {"--start", "--start T, --end T", "T", GROUP_REPAIR, VALUE_TEXT, false,
     APPLY { return applyTime("--start", value, &o->start, error); },
     "repair from T to T only: seconds (12.5), h:mm:ss.fff, or frame (1000f, from 0)"},
    {"--end", nullptr, "T", GROUP_HIDDEN, VALUE_TEXT, false,
     APPLY { return applyTime("--end", value, &o->end, error); }, "where the selection ends"},
    // ---- Find without repairing
    {"--list", nullptr, nullptr, GROUP_LIST, VALUE_NONE, false, APPLY {
         o->list = true;
         return 1;
     },
     "change nothing; list each candidate: time, position, jump, mean, verdict, span"},
    {"--csv", nullptr, nullptr, GROUP_LIST, VALUE_NONE, false, APPLY {
         o->list = true;
         o->csv = true;
         return 1;
     },
     "print the list as CSV"},
    {"--labels", nullptr, "FILE", GROUP_LIST, VALUE_FILE, false, APPLY {
         o->list = true;
         o->labelsPath = value;
         return needText("--labels", value, "a file name", error);
     },
     "also write them as a label track (start, end in seconds, text; tab-separated)"},
    {"--report", nullptr, "DIR", GROUP_LIST, VALUE_DIR, false, APPLY {
         o->reportDir = value;
         return needText("--report", value, "a directory", error);
     },
     "a picture of each review's view, and DIR/index.md listing them"},
    // ---- Files
    {"-y", nullptr, nullptr, GROUP_FILES, VALUE_NONE, false, APPLY {
         o->overwrite = true;
         return 1;
     },
     "overwrite an existing OUT without asking"},
    {"-n", nullptr, nullptr, GROUP_FILES, VALUE_NONE, false, APPLY {
         o->neverOverwrite = true;
         return 1;
     },
     "never overwrite an existing OUT (a batch passes over those files)"},
    {"--in-place", nullptr, nullptr, GROUP_FILES, VALUE_NONE, true, APPLY {
         o->inPlace = true;
         return 1;
     },
     "write the result back to each IN, replacing it atomically"},
    {"--lossy", nullptr, nullptr, GROUP_FILES, VALUE_NONE, false, APPLY {
         o->lossy = true;
         return 1;
     },
     "allow a lossy OUT (MP3, Ogg, Opus, ...): encoding it loses quality everywhere"},
    {"--out-dir", nullptr, "DIR", GROUP_FILES, VALUE_DIR, true, APPLY {
         o->outDir = value;
         return needText("--out-dir", value, "a directory", error);
     },
     "write each IN's result into DIR under IN's name"},
    {"--suffix", nullptr, "TEXT", GROUP_FILES, VALUE_TEXT, true, APPLY {
         o->hasSuffix = true;
         o->suffix = value;
         if (value.find_first_of("/\\") == std::string::npos)
             return needText("--suffix", value, "a text to add to the names", error);
         *error = "--suffix cannot hold a directory separator; --out-dir names the directory";
         return 0;
     },
     "write each result beside its IN, TEXT added to the name (take-fixed.wav)"},
    {"-j", nullptr, "N", GROUP_FILES, VALUE_TEXT, true, APPLY {
         uint32_t number = 0;
         if (!parseFrameNumber(value, &number) || number < 1 || number > 64) {
             *error = "-j needs a number of files from 1 to 64, not \"" + value + "\"";
             return 0;
         }
         o->jobs = (int32_t)number;
         return 1;
     },
     "repair N of several INs at a time, a process each (Linux build only)"},
    // ---- Program
    {"--settings-dir", nullptr, "DIR", GROUP_PROGRAM, VALUE_DIR, false, APPLY {
         o->hasSettingsDir = true;
         o->settingsDir = value;
         return needText("--settings-dir", value, "a directory", error);
     },
     "where the saved settings, Vantrope.ini, are (default ~/.config/vantrope)"},
    {"-q", "-q, -v", nullptr, GROUP_PROGRAM, VALUE_NONE, false, APPLY {
         o->verbosity = -1;
         return 1;
     },
     "say less (errors only) or more (settings used, batch files' own messages)"},
    {"-v", nullptr, nullptr, GROUP_HIDDEN, VALUE_NONE, false, APPLY {
         o->verbosity = 1;
         return 1;
     },
     "say more"},
    {"--version", nullptr, nullptr, GROUP_PROGRAM, VALUE_NONE, false, APPLY {
         o->helpText = HELP_VERSION;
         return 1;
     },
     "print the version and exit"},
    {"--help", "-h, --help", nullptr, GROUP_PROGRAM, VALUE_NONE, false, APPLY {
         o->helpText = HELP_USER;
         return 1;
     },
     "print this text and exit"},
    {"-h", nullptr, nullptr, GROUP_HIDDEN, VALUE_NONE, false, APPLY {
         o->helpText = HELP_USER;
         return 1;
     },
     "print the help"},
    {"--help-host", nullptr, nullptr, GROUP_PROGRAM, VALUE_NONE, false, APPLY {
         o->helpText = HELP_HOST;
         return 1;
     },
     "print the options for testing the plug-in as an editor presents it"},
    // ---- The plug-in tested as an editor would present it
    {"--frame-class", nullptr, "NAME", GROUP_HOST, VALUE_TEXT, false, APPLY {
         if (value.empty() || value.size() > 255) {
             *error = "--frame-class needs a window class name of 1 to 255 characters";
             return 0;
         }
         o->frameClass = value;
         return 1;
     },
     "window class of the host's frame window (default " DEFAULT_FRAME_CLASS "; COOL96 and COOL2000SS are the "
     "editors the plug-in steers)"},
    {"--info", nullptr, nullptr, GROUP_HOST, VALUE_NONE, false, APPLY {
         o->info = true;
         return 1;
     },
     "print what QueryXfm reports, as JSON, and exit"},
    {"--all-channels", nullptr, nullptr, GROUP_HOST, VALUE_NONE, false, APPLY {
         o->allChannels = true;
         return 1;
     },
     "present every channel at once as one interleaved selection (the plug-in takes mono only, so it refuses "
     "this for more than one channel)"},
    {"--no-dialog", nullptr, nullptr, GROUP_HOST, VALUE_NONE, false, APPLY {
         o->useDialog = false;
         return 1;
     },
     "no instance handle for XfmSetup, so the reviews come in the plug-in's Yes/No/Cancel question box"},
    {"--refuse-long", nullptr, nullptr, GROUP_HOST, VALUE_NONE, false, APPLY {
         o->refuseLong = true;
         return 1;
     },
     "answer No when the plug-in asks whether to go on with a very long selection"},
    {"--review", nullptr, "ACTIONS", GROUP_HOST, VALUE_TEXT, false, APPLY {
         o->hasReview = true;
         o->reviewText = value;
         return 1;
     },
     "script the review dialog: actions per review, reviews separated by '/' (below)"},
    {"--script", nullptr, "FILE", GROUP_HOST, VALUE_FILE, false, APPLY {
         o->scriptPath = value;
         return needText("--script", value, "a file name", error);
     },
     "script the review dialog from FILE, one review per line"},
    {"--log", nullptr, "FILE", GROUP_HOST, VALUE_FILE, false, APPLY {
         o->logPath = value;
         return needText("--log", value, "a file name", error);
     },
     "write a transcript of everything that crosses the host interface (JSON Lines)"},
    {"--result", nullptr, "FILE", GROUP_HOST, VALUE_FILE, false, APPLY {
         o->resultPath = value;
         return needText("--result", value, "a file name", error);
     },
     "write the run's outcome as one JSON line (a batch reads its files' outcomes so)"},
    {"--man", nullptr, nullptr, GROUP_HOST, VALUE_NONE, false, APPLY {
         o->helpText = HELP_MAN;
         return 1;
     },
     "print the manual page (roff) and exit"},
    {"--bash-completion", nullptr, nullptr, GROUP_HOST, VALUE_NONE, false, APPLY {
         o->helpText = HELP_COMPLETION;
         return 1;
     },
     "print the bash completion script and exit"},
    {"--reset", nullptr, nullptr, GROUP_HIDDEN, VALUE_NONE, false, APPLY {
         o->resetSettings = true;
         return 1;
     },
     "(vantrope settings) write the defaults"},
};

const OptionInfo *hostOptionTable(int32_t *count)
{
    *count = (int32_t)(sizeof optionTable / sizeof optionTable[0]);
    return optionTable;
}
