// Parsing of the vantrope command line into HostOptions, and the usage text. Holds no state.
#include "host_options.h"
#include "box_script.h"
#include "review_script.h"

static const char usageText[] =
    "usage: vantrope [options] IN OUT\n"
    "       vantrope --in-place [options] FILE\n"
    "       vantrope --info\n"
    "Runs the Vantrope click-repair plug-in over IN as an editor would and writes the repaired audio to\n"
    "OUT when every run succeeded. Each channel is presented as one mono selection in turn. OUT's\n"
    "extension chooses its format (.wav, .flac, .aiff, .caf, ...; none keeps IN's format) and \"-\" writes\n"
    "to standard output. OUT is replaced only by a complete file: when anything fails or the run is\n"
    "interrupted, IN and an existing OUT stay as they were.\n"
    "\n"
    "options:\n"
    "  -y                   overwrite an existing OUT without asking\n"
    "  -n                   never overwrite an existing OUT\n"
    "  --in-place           write the result back to IN (give one file name), replacing it atomically\n"
    "  --lossy              allow a lossy OUT format (MP3, Ogg Vorbis, Opus, ADPCM, GSM): it encodes the\n"
    "                       audio again and loses quality even where nothing was repaired\n"
    "  --channel N          present only channel N (1-based)\n"
    "  --all-channels       present every channel at once as one interleaved selection\n"
    "  --start F, --end F   first and last frame of the selection, inclusive, counted from 0 as in the\n"
    "                       plug-in's selStart and selEnd (default: the whole file)\n"
    "  --settings-dir DIR   directory of the plug-in's Vantrope.ini (not on Windows)\n"
    "  --frame-class NAME   window class of the host's frame window (default " DEFAULT_FRAME_CLASS ")\n"
    "  --answers LIST       answers for the reviews in order, comma-separated: stop, repair, next, back,\n"
    "                       close, auto, skip or the ids 1, 6, 3, 4, 2, 7, 1036; stop once it runs out\n"
    "  --auto               answer every \"Possible click\" with auto and every \"Best guess\" with stop\n"
    "  --refuse-long        answer No when the plug-in asks whether to go on with a very long selection\n"
    "  --no-dialog          reviews in the plug-in's Yes/No/Cancel question box instead of its dialog\n"
    "  --review ACTIONS     script the review dialog: actions per review, reviews separated by '/'\n"
    "  --script FILE        script the review dialog from FILE, one review per line\n"
    "  --report DIR         write a picture of the view at each review and DIR/index.md listing them\n"
    "  --log FILE           write a transcript of everything that crosses the host interface (JSON Lines)\n"
    "  --info               print what QueryXfm reports, as JSON, and exit\n"
    "  --help               print this text and exit\n"
    "\n"
    "%SCRIPT%"
    "\n"
    "Without --answers or --auto a person answers the reviews when standard input is a terminal;\n"
    "otherwise they are answered as --auto would. Without -y or -n an existing OUT is replaced only\n"
    "when a person agrees at the terminal, and refused when standard input is not one. Ctrl-C asks the\n"
    "plug-in to stop and writes nothing. The summary on standard error names the repaired stretches by\n"
    "the positions the plug-in's messages use (frame + 1).\n"
    "Extreme settings cost time: with C1, D1 and C2 of 1 and Multipass on, nearly every sample is a\n"
    "candidate, and an automatic run takes up to half a second per second of audio (at most 33 passes).\n"
    "Exit status: 0 when every run succeeded and OUT was written; 1 when the plug-in refused or failed;\n"
    "2 for bad usage, files that cannot be read or written, or too little memory; 130 (Ctrl-C), 143\n"
    "(SIGTERM) or 129 (SIGHUP) when interrupted. OUT is left as it was whenever the status is not 0.\n";

// The review script's syntax is spliced in where the usage names it.
const char *hostUsage()
{
    static std::string usage;
    if (usage.empty()) {
        usage = usageText;
        size_t at = usage.find("%SCRIPT%");
        usage.replace(at, 8, reviewScriptSyntax());
    }
    return usage.c_str();
}

int32_t parseFrameNumber(const std::string &text, uint32_t *value)
{
    if (text.empty())
        return 0;
    uint64_t total = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        total = total * 10u + (uint64_t)(c - '0');
        if (total > 0xFFFFFFFFull)
            return 0;
    }
    *value = (uint32_t)total;
    return 1;
}

static void setDefaults(HostOptions *options)
{
    *options = HostOptions();
    options->channel = 0;
    options->allChannels = false;
    options->hasStart = options->hasEnd = false;
    options->start = options->end = 0;
    options->hasSettingsDir = false;
    options->frameClass = DEFAULT_FRAME_CLASS;
    options->info = options->help = options->autoMode = options->refuseLong = false;
    // The dialog form unless --no-dialog: XfmSetup gets the plug-in's instance with the host window.
    options->useDialog = true;
    options->hasAnswers = false;
    options->hasReview = false;
    options->overwrite = options->neverOverwrite = options->inPlace = options->lossy = false;
}

// Options that take a value; the value is the next argument or follows "=".
static int32_t applyValueOption(const std::string &name, const std::string &value, HostOptions *options,
                                std::string *error)
{
    uint32_t number = 0;
    if (name == "--channel") {
        if (!parseFrameNumber(value, &number) || number < 1 || number > 65535) {
            *error = "--channel needs a channel number from 1 to 65535, not \"" + value + "\"";
            return 0;
        }
        options->channel = (int32_t)number;
    } else if (name == "--start" || name == "--end") {
        if (!parseFrameNumber(value, &number)) {
            *error = name + " needs a frame number (0 or more), not \"" + value + "\"";
            return 0;
        }
        bool start = name == "--start";
        (start ? options->hasStart : options->hasEnd) = true;
        (start ? options->start : options->end) = number;
    } else if (name == "--settings-dir") {
        if (value.empty()) {
            *error = "--settings-dir needs a directory";
            return 0;
        }
        options->hasSettingsDir = true;
        options->settingsDir = value;
    } else if (name == "--frame-class") {
        if (value.empty() || value.size() > 255) {
            *error = "--frame-class needs a window class name of 1 to 255 characters";
            return 0;
        }
        options->frameClass = value;
    } else if (name == "--log") {
        if (value.empty()) {
            *error = "--log needs a file name";
            return 0;
        }
        options->logPath = value;
    } else if (name == "--script" || name == "--report") {
        if (value.empty()) {
            *error = name + (name == "--script" ? " needs a file name" : " needs a directory");
            return 0;
        }
        (name == "--script" ? options->scriptPath : options->reportDir) = value;
    } else if (name == "--review") {
        options->hasReview = true;
        options->reviewText = value;
    } else {
        options->hasAnswers = true;
        return parseAnswerList(value, &options->answers, error);
    }
    return 1;
}

static bool takesValue(const std::string &name)
{
    static const char *const names[] = {"--channel", "--start", "--end", "--settings-dir",
                                        "--frame-class", "--log", "--answers",
                                        "--script", "--review", "--report"};
    for (const char *n : names)
        if (name == n)
            return true;
    return false;
}

// Options without a value: each sets one switch. New switches join the table.
struct FlagOption {
    const char *name;
    bool HostOptions::*field;
    bool value; // what the option sets the switch to
};

static const FlagOption flagOptions[] = {
    {"--all-channels", &HostOptions::allChannels, true},
    {"--auto", &HostOptions::autoMode, true},
    {"--refuse-long", &HostOptions::refuseLong, true},
    {"--no-dialog", &HostOptions::useDialog, false},
    {"--info", &HostOptions::info, true},
    {"--help", &HostOptions::help, true},
    {"-h", &HostOptions::help, true},
    {"-y", &HostOptions::overwrite, true},
    {"-n", &HostOptions::neverOverwrite, true},
    {"--in-place", &HostOptions::inPlace, true},
    {"--lossy", &HostOptions::lossy, true},
};

static int32_t applyFlag(const std::string &name, HostOptions *options, std::string *error)
{
    for (const FlagOption &flag : flagOptions)
        if (name == flag.name) {
            options->*flag.field = flag.value;
            return 1;
        }
    *error = "unknown option " + name;
    return 0;
}

// Combinations that cannot be honoured, and the two file names.
static int32_t checkCombination(const std::vector<std::string> &files, HostOptions *options, std::string *error)
{
    if (options->channel && options->allChannels) {
        *error = "--channel and --all-channels cannot be combined";
        return 0;
    }
    if (options->autoMode && options->hasAnswers) {
        *error = "--auto and --answers cannot be combined";
        return 0;
    }
    if (options->hasReview && !options->scriptPath.empty()) {
        *error = "--review and --script cannot be combined";
        return 0;
    }
    if (!options->useDialog && (options->hasReview || !options->scriptPath.empty() || !options->reportDir.empty())) {
        *error = "--review, --script and --report need the review dialog, which --no-dialog turns off";
        return 0;
    }
    if (options->hasStart && options->hasEnd && options->start > options->end) {
        *error = "--start " + std::to_string(options->start) + " lies after --end " + std::to_string(options->end);
        return 0;
    }
    if (options->overwrite && options->neverOverwrite) {
        *error = "-y and -n cannot be combined";
        return 0;
    }
    if (options->inPlace && options->neverOverwrite) {
        *error = "--in-place and -n cannot be combined";
        return 0;
    }
    if (options->help || options->info)
        return 1;
    // --in-place takes the one file as both; a second name must be the same file (checked on disk later).
    size_t wanted = options->inPlace && files.size() == 1 ? 1 : 2;
    if (files.size() != wanted) {
        *error = files.size() < wanted ? (options->inPlace ? "--in-place needs a file" : "need an input and an output file")
                                       : "too many file names";
        return 0;
    }
    options->inPath = files[0];
    options->outPath = files[wanted - 1];
    return checkAnswersForForm(options->answers, options->useDialog, error);
}

int32_t parseHostOptions(const std::vector<std::string> &args, HostOptions *options, std::string *error)
{
    setDefaults(options);
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); i++) {
        const std::string &arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        size_t equals = arg.find('=');
        std::string name = arg.substr(0, equals);
        if (!takesValue(name)) {
            if (equals != std::string::npos) {
                *error = name + " takes no value";
                return 0;
            }
            if (!applyFlag(name, options, error))
                return 0;
            continue;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            *error = name + " needs a value";
            return 0;
        }
        if (!applyValueOption(name, value, options, error))
            return 0;
    }
    return checkCombination(files, options, error);
}
