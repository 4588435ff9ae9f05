// Parsing of the vantrope command line into HostOptions: the words against the option table, then
// the combinations that cannot be honoured and what the file names mean (one IN and OUT, one IN to
// list, several INs for a batch). Holds no state.
#include "host_options.h"
#include <cstring>
#include "box_script.h"

static void setDefaults(HostOptions *options)
{
    *options = HostOptions();
    options->task = TASK_REPAIR;
    options->helpText = -1;
    options->info = options->list = false;
    options->hasSuffix = false;
    options->jobs = 1;
    options->channel = 0;
    options->allChannels = false;
    options->start = options->end = TimeValue{false, false, 0, 0, ""};
    options->hasSettingsDir = false;
    options->saveSettings = options->keepSettings = options->resetSettings = false;
    options->frameClass = DEFAULT_FRAME_CLASS;
    options->autoMode = options->refuseLong = false;
    // The dialog form unless --no-dialog: XfmSetup gets the plug-in's instance with the host window.
    options->useDialog = true;
    options->hasAnswers = false;
    options->hasReview = false;
    options->csv = false;
    options->overwrite = options->neverOverwrite = options->inPlace = options->lossy = false;
    options->verbosity = 0;
}

static const OptionInfo *findOption(const std::string &name)
{
    int32_t count = 0;
    const OptionInfo *table = hostOptionTable(&count);
    for (int32_t i = 0; i < count; i++)
        if (name == table[i].name)
            return &table[i];
    return nullptr;
}

// What "vantrope settings" takes besides its own --reset.
static bool settingsCommandOption(const std::string &name)
{
    static const char *const names[] = {"--settings-dir", "--reset", "--preset", "--set", "-q", "-v",
                                        "--help", "-h", "--help-host"};
    for (const char *n : names)
        if (name == n)
            return true;
    return false;
}

std::string outputNameFor(const std::string &in, const std::string &outDir, const std::string &suffix)
{
    size_t slash = in.find_last_of("/\\");
    std::string directory = slash == std::string::npos ? "" : in.substr(0, slash + 1);
    std::string name = in.substr(directory.size());
    size_t dot = name.find_last_of('.');
    if (dot == 0 || dot == std::string::npos)
        dot = name.size();
    name = name.substr(0, dot) + suffix + name.substr(dot);
    if (outDir.empty())
        return directory + name;
    char last = outDir.back();
    return outDir + (last == '/' || last == '\\' ? "" : "/") + name;
}

// Pairs of options that contradict each other.
static int32_t checkPairs(const HostOptions *o, std::string *error)
{
    struct Clash {
        bool happens;
        const char *reason;
    };
    const Clash clashes[] = {
        {o->channel && o->allChannels, "--channel and --all-channels cannot be combined"},
        {o->autoMode && o->hasAnswers, "--auto and --answers cannot be combined"},
        {o->hasReview && !o->scriptPath.empty(), "--review and --script cannot be combined"},
        {!o->useDialog && (o->hasReview || !o->scriptPath.empty() || !o->reportDir.empty() || o->list),
         "--review, --script, --report and --list need the review dialog, which --no-dialog turns off"},
        {o->overwrite && o->neverOverwrite, "-y and -n cannot be combined"},
        {o->inPlace && o->neverOverwrite, "--in-place and -n cannot be combined"},
        {o->inPlace && (!o->outDir.empty() || o->hasSuffix), "--in-place and --out-dir or --suffix cannot be combined"},
        {o->saveSettings && o->keepSettings, "--save-settings and --keep-settings cannot be combined"},
    };
    for (const Clash &clash : clashes)
        if (clash.happens) {
            *error = clash.reason;
            return 0;
        }
    if (timeSpecsEmpty(o->start, o->end)) {
        *error = "--start " + o->start.text + " lies " + (o->start.isFrames ? "after" : "at or after") + " --end " +
                 o->end.text;
        return 0;
    }
    return 1;
}

static int32_t checkList(const std::vector<std::string> &files, HostOptions *o, std::string *error)
{
    if (o->autoMode || o->hasAnswers || o->hasReview || !o->scriptPath.empty()) {
        *error = "--list answers every review itself (Find Next); --auto, --answers, --review and --script do not go "
                 "with it";
        return 0;
    }
    if (o->overwrite || o->neverOverwrite || o->inPlace || o->lossy || !o->outDir.empty() || o->hasSuffix ||
        o->saveSettings) {
        *error = "--list changes nothing; -y, -n, --in-place, --lossy, --out-dir, --suffix and --save-settings do not "
                 "go with it";
        return 0;
    }
    if (files.size() != 1) {
        *error = files.empty() ? "--list needs a file, IN" : "--list takes one file, IN";
        return 0;
    }
    o->task = TASK_LIST;
    o->inPath = files[0];
    o->inputs = files;
    return 1;
}

// Several INs, or one with --out-dir, --suffix or --in-place.
static int32_t checkOutputsByRule(const std::vector<std::string> &files, HostOptions *o, std::string *error)
{
    if (files.empty()) {
        *error = o->inPlace ? "--in-place needs a file" : "need at least one input file";
        return 0;
    }
    o->inputs = files;
    if (files.size() == 1) {
        o->task = TASK_REPAIR;
        o->inPath = files[0];
        o->outPath = o->inPlace ? files[0] : outputNameFor(files[0], o->outDir, o->suffix);
        return 1;
    }
    if (!o->logPath.empty() || !o->reportDir.empty() || !o->resultPath.empty() || o->saveSettings) {
        *error = "--log, --report, --result and --save-settings take a single IN, not a batch of " +
                 std::to_string(files.size()) + " files";
        return 0;
    }
    o->task = TASK_BATCH;
    return 1;
}

// Combinations that cannot be honoured, and what the file names mean.
static int32_t checkCombination(const std::vector<std::string> &files, bool settingsCommand, HostOptions *o,
                                std::string *error)
{
    if (o->helpText >= 0) {
        o->task = TASK_HELP;
        return 1;
    }
    if (settingsCommand) {
        o->task = TASK_SETTINGS;
        if (o->resetSettings && (!o->preset.empty() || !o->sets.empty())) {
            *error = "--reset and --preset or --set cannot be combined";
            return 0;
        }
        return 1;
    }
    if (!checkPairs(o, error))
        return 0;
    if (o->info) {
        o->task = TASK_INFO;
        return 1;
    }
    if (o->list)
        return checkList(files, o, error);
    if (o->inPlace || !o->outDir.empty() || o->hasSuffix) {
        if (!checkOutputsByRule(files, o, error))
            return 0;
    } else if (files.size() != 2) {
        *error = files.size() < 2 ? "need an input and an output file"
                                  : "too many file names (several INs need --out-dir DIR, --suffix TEXT or --in-place)";
        return 0;
    } else {
        o->inPath = files[0];
        o->outPath = files[1];
        o->inputs = {files[0]};
    }
    return checkAnswersForForm(o->answers, o->useDialog, error);
}

// Splits one word into an option's name and an attached value ("--name=value", "-j4").
static void splitWord(const std::string &arg, std::string *name, std::string *value, bool *attached)
{
    size_t equals = arg.find('=');
    *attached = equals != std::string::npos;
    *name = arg.substr(0, equals);
    *value = *attached ? arg.substr(equals + 1) : "";
    if (!*attached && arg.size() > 2 && arg[1] != '-' && findOption(arg.substr(0, 2)) &&
        findOption(arg.substr(0, 2))->value) {
        *name = arg.substr(0, 2);
        *value = arg.substr(2);
        *attached = true;
    }
}

int32_t parseHostOptions(const std::vector<std::string> &args, HostOptions *options, std::string *error)
{
    setDefaults(options);
    std::vector<std::string> files, used;
    bool optionsEnded = false, fileAfterDashes = false;
    for (size_t i = 0; i < args.size(); i++) {
        const std::string &arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            files.push_back(arg);
            fileAfterDashes = fileAfterDashes || optionsEnded;
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name, value;
        bool attached = false;
        splitWord(arg, &name, &value, &attached);
        const OptionInfo *option = findOption(name);
        if (!option) {
            *error = "unknown option " + name;
            return 0;
        }
        if (!option->value && attached) {
            *error = name + " takes no value";
            return 0;
        }
        if (option->value && !attached) {
            if (i + 1 >= args.size()) {
                *error = name + " needs a value";
                return 0;
            }
            value = args[++i];
        }
        if (!option->apply(value, options, error))
            return 0;
        used.push_back(name);
        if (!option->batchOwn)
            options->passOn.push_back(option->value ? name + "=" + value : name);
    }
    // "settings" alone among the names is the settings command (./settings names a file of that name).
    bool settingsCommand = files.size() == 1 && files[0] == "settings" && !fileAfterDashes;
    for (const std::string &name : used)
        if (settingsCommand ? !settingsCommandOption(name) : name == "--reset") {
            *error = settingsCommand ? "vantrope settings takes --settings-dir, --reset, --preset, --set, -q and -v, "
                                       "not " + name
                                     : "--reset belongs to vantrope settings";
            return 0;
        }
    if (settingsCommand)
        files.clear();
    return checkCombination(files, settingsCommand, options, error);
}
