// Command line of the vantrope host program: the HostOptions record, the table of options (with the
// help text every rendering of the help is made from) and the parser. Pure standard C++ with no
// platform calls, so the tests check it directly. Owns no state.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "selection_times.h"
#include "settings_keys.h"

// What the program was asked to do.
enum HostTask : int32_t {
    TASK_REPAIR = 0,   // one IN to one OUT (or IN in place)
    TASK_BATCH = 1,    // several INs, each in a process of its own
    TASK_LIST = 2,     // list the candidates of one IN, change nothing
    TASK_SETTINGS = 3, // "vantrope settings": show, reset or change the saved settings
    TASK_HELP = 4,     // print a text (help, version, manual page, completion) and exit
    TASK_INFO = 5      // print what QueryXfm reports
};

// Texts printed by TASK_HELP.
enum HelpText : int32_t { HELP_USER = 0, HELP_HOST = 1, HELP_VERSION = 2, HELP_MAN = 3, HELP_COMPLETION = 4 };

struct HostOptions {
    int32_t task;                 // a HostTask, from the options below
    int32_t helpText;             // a HelpText to print (TASK_HELP), -1 for none
    bool info;                    // --info: print what QueryXfm reports (TASK_INFO)
    bool list;                    // --list, --csv or --labels: list the candidates (TASK_LIST)
    std::vector<std::string> inputs; // IN names as given: one, or several for a batch
    std::string inPath;           // the audio file to read (TASK_REPAIR, TASK_LIST)
    std::string outPath;          // the audio file to write when every run succeeded (TASK_REPAIR)
    std::string outDir;           // --out-dir: where each IN's OUT goes, "" = beside IN
    bool hasSuffix;               // --suffix given
    std::string suffix;           // --suffix: added to each IN's name before its extension
    int32_t jobs;                 // -j: files repaired at a time in a batch, 1..64
    int32_t channel;              // 1..65535: present only this channel; 0 = every channel in turn
    bool allChannels;             // present every channel at once as one interleaved selection
    TimeValue start;               // --start: where the selection begins
    TimeValue end;                 // --end: where it ends
    bool hasSettingsDir;          // --settings-dir given
    std::string settingsDir;      // directory of the plug-in's profile file
    std::string preset;           // --preset: a built-in preset's name, "" = none
    std::vector<SettingAssignment> sets; // --set, in the order given (later ones win)
    bool saveSettings;            // --save-settings: the run's settings become the saved ones
    bool keepSettings;            // --keep-settings: the saved settings stay as they are
    bool resetSettings;           // "settings --reset"
    std::string frameClass;       // window class of the host's frame window, 1..255 characters
    bool autoMode;                // answer reviews by their message ("Possible click" auto, else stop)
    bool refuseLong;              // answer the very-long-selection question No
    bool useDialog;               // hand XfmSetup the plug-in's instance, so reviews use the dialog
    bool hasAnswers;              // --answers given
    std::vector<int32_t> answers; // review answers as button ids, in order
    std::string logPath;          // transcript file, empty = none
    std::string scriptPath;       // --script: file of review actions, one review per line; empty = none
    bool hasReview;               // --review given
    std::string reviewText;       // --review: review actions, reviews separated by '/'
    std::string reportDir;        // --report: directory of the review pictures and index; empty = none
    bool csv;                     // --csv: the list as CSV
    std::string labelsPath;       // --labels: the candidates as a label track; empty = none
    std::string resultPath;       // --result: the run's outcome as one JSON line; empty = none
    bool overwrite;               // -y: replace an existing OUT without asking
    bool neverOverwrite;          // -n: never replace an existing OUT
    bool inPlace;                 // --in-place: OUT is IN, replaced atomically
    bool lossy;                   // --lossy: writing a lossy format (MP3, Ogg Vorbis, Opus, ...) is wanted
    int32_t verbosity;            // -q -1, default 0, -v 1
    std::vector<std::string> passOn; // the options a batch hands each of its runs, as "--name=value"
};

// The host frame's default class: one of the host's own, which the plug-in recognises as no editor.
#define DEFAULT_FRAME_CLASS "VantropeHostFrame"

// Fills options from the arguments after the program name. Returns 1 when they are usable, 0 with a
// one-line reason in *error otherwise. Touches no state.
int32_t parseHostOptions(const std::vector<std::string> &args, HostOptions *options, std::string *error);

// The OUT of one IN in a batch: IN's name with suffix before its extension, in outDir or else beside IN.
std::string outputNameFor(const std::string &in, const std::string &outDir, const std::string &suffix);

// ---- The option table, for the help, the manual page and the completion (host_help.cpp)

// Where an option is described.
enum OptionGroup : int32_t {
    GROUP_REPAIR = 0,  // --help, "Repair"
    GROUP_LIST = 1,    // --help, "Find without repairing"
    GROUP_FILES = 2,   // --help, "Files"
    GROUP_PROGRAM = 3, // --help, "Program"
    GROUP_HOST = 4,    // --help-host: the plug-in tested as an editor would present it
    GROUP_HIDDEN = 5   // an alias or a partner shown with another option
};

// What a value completes to in the shell.
enum OptionValueKind : int32_t {
    VALUE_NONE = 0, VALUE_TEXT = 1, VALUE_FILE = 2, VALUE_DIR = 3, VALUE_PRESET = 4, VALUE_KEY = 5
};

// Applies an option with its value ("" for a switch). Returns 1, or 0 with a one-line reason.
typedef int32_t (*OptionApply)(const std::string &value, HostOptions *options, std::string *error);

struct OptionInfo {
    const char *name;    // "--preset", "-y"
    const char *display; // the help's left column ("--start T, --end T"), null = name and value
    const char *value;   // the value's name in the help ("NAME"), null for a switch
    int32_t group;       // an OptionGroup
    int32_t valueKind;   // an OptionValueKind
    bool batchOwn;       // a batch acts on it itself instead of handing it to each file's run
    OptionApply apply;   // what it does to HostOptions
    const char *help;    // one paragraph, wrapped by the renderers
};

// The options in help order, and how many.
const OptionInfo *hostOptionTable(int32_t *count);
