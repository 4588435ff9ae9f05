// The vantrope host program: reads an audio file, presents its selections to the plug-in as an
// editor would (QueryXfm, then XfmSetup and XfmDo per selection), answers the plug-in's boxes, writes
// the result and a summary. Nothing is opened for writing before IN has been read, and OUT is only
// ever replaced by a complete file. The run's own state lives in main's frame; see host_session for
// XfmWave, output_target for OUT and interrupts for Ctrl-C.
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <vector>
#include "audio_file.h"
#include "batch.h"
#include "candidate_list.h"
#include "change_report.h"
#include "console.h"
#include "host_help.h"
#include "host_options.h"
#include "host_platform.h"
#include "host_session.h"
#include "interrupts.h"
#include "message_host.h"
#include "output_target.h"
#include "report.h"
#include "review_driver.h"
#include "review_script.h"
#include "range_host.h"
#include "sample_depth.h"
#include "run_settings.h"
#include "settings_command.h"
#include "settings_guard.h"
#include "transcript.h"

enum { EXIT_DONE = 0, EXIT_REFUSED = 1, EXIT_USAGE = 2 };
enum { MERGE_GAP = 4, MAX_LISTED = 20 };

struct SelectionOutcome {
    HostSelection selection;            // what was presented
    int32_t passes;                     // finish calls during its run
    std::vector<ChangedRegion> regions; // what its run changed
};

static int32_t failUsage(const std::string &message)
{
    fprintf(stderr, "vantrope: %s\n", message.c_str());
    return EXIT_USAGE;
}

// The host's XfmInfo: room beyond the last field the plug-in writes, zeroed before every query.
alignas(8) static uint8_t infoRecord[512];

// Calls QueryXfm into infoRecord and logs it; returns the low 16 bits, which alone carry the result.
static int32_t queryPlugin(const PluginTable &table)
{
    memset(infoRecord, 0, sizeof infoRecord);
    int32_t result = table.queryXfm(reinterpret_cast<XfmInfo *>(infoRecord)) & 0xFFFF;
    transcriptEvent("{\"event\":\"query\",\"result\":" + std::to_string(result) + "}");
    return result;
}

// Prints the XfmInfo fields QueryXfm wrote, each text bounded by its field.
static void printInfo(const PluginTable &table)
{
    int32_t result = queryPlugin(table);
    const XfmInfo *info = reinterpret_cast<const XfmInfo *>(infoRecord);
    auto text = [](const char *field, size_t width) { return jsonString(std::string(field, strnlen(field, width)).c_str()); };
    size_t hostWidth = sizeof infoRecord - offsetof(XfmInfo, hostText);
    printf("{\"result\":%d,\"name\":%s,\"credit\":%s,\"title\":%s,\"version\":%u,\"flags\":%u,\"reserved\":%u,"
           "\"extra\":%s,\"hostText\":%s}\n",
           (int)result, text(info->name, XFM_NAME_WIDTH).c_str(), text(info->credit, XFM_CREDIT_WIDTH).c_str(),
           text(info->title, XFM_TITLE_WIDTH).c_str(), (unsigned)info->version, (unsigned)info->flags,
           (unsigned)info->reserved, text(info->extra, XFM_EXTRA_WIDTH).c_str(),
           text(info->hostText, hostWidth).c_str());
}

// The selections to present, in order, or false with the reason.
static bool chooseSelections(const HostOptions &options, const HostAudio &audio, std::vector<HostSelection> *out,
                             std::string *error)
{
    if (audio.frames == 0) {
        *error = options.inPath + ": holds no audio frames";
        return false;
    }
    uint32_t start = 0, end = 0;
    if (!resolveSelection(options.start, options.end, audio.sampleRate, audio.frames, &start, &end, error)) {
        *error = options.inPath + ": " + *error;
        return false;
    }
    if (options.channel > audio.channels) {
        *error = options.inPath + " has " + std::to_string(audio.channels) + " channel(s), no channel " +
                 std::to_string(options.channel);
        return false;
    }
    if (options.allChannels && frameBytes(audio) > 0xFFFF) {
        *error = options.inPath + ": a frame of " + std::to_string(frameBytes(audio)) +
                 " bytes does not fit the 16-bit bytesPerFrame field";
        return false;
    }
    if (options.allChannels || audio.channels == 1)
        out->push_back({options.allChannels ? 0 : 1, start, end});
    else if (options.channel)
        out->push_back({options.channel, start, end});
    else
        for (int32_t c = 1; c <= audio.channels; c++)
            out->push_back({c, start, end});
    return true;
}

static BoxScript chooseScript(const HostOptions &options, bool stdinIsTerminal)
{
    BoxScript script = {REVIEW_SCRIPT, options.answers, 0, options.refuseLong};
    if (options.task == TASK_LIST) {
        script.mode = REVIEW_LIST;
    } else if (options.autoMode) {
        script.mode = REVIEW_AUTO;
    } else if (!options.hasAnswers) {
        script.mode = stdinIsTerminal ? REVIEW_ASK : REVIEW_AUTO;
        if (!stdinIsTerminal && consoleNotes())
            fprintf(stderr, "vantrope: standard input is not a terminal: answering the reviews as --auto would\n");
    }
    return script;
}

enum RunOutcome { RUN_DONE, RUN_SETUP_REFUSED, RUN_FAILED };

// One selection: XfmSetup, then XfmDo when it agreed. Returns a RunOutcome.
static int32_t runSelection(const PluginTable &table, HINSTANCE instance, HWND child, HostAudio *audio,
                         const HostSelection &selection, bool progressBar)
{
    transcriptEvent("{\"event\":\"selection\",\"channel\":" + std::to_string(selection.channel) +
                    ",\"start\":" + std::to_string(selection.start) + ",\"end\":" + std::to_string(selection.end) + "}");
    XfmWave wave;
    sessionPrepare(audio, selection, &wave, progressBar);
    reviewDriverSelection(selection.start, selection.end - selection.start + 1);
    candidateListSelection(selection.channel, selection.start, audio->sampleRate);
    int32_t setup = table.xfmSetup(child, instance, &wave);
    transcriptEvent("{\"event\":\"setup\",\"result\":" + std::to_string(setup) + "}");
    if (setup != 1)
        return RUN_SETUP_REFUSED;
    int32_t result = table.xfmDo(&wave);
    sessionClearProgress();
    transcriptEvent("{\"event\":\"do\",\"result\":" + std::to_string(result) + "}");
    rangeHostRunEnded();
    return result == 1 ? RUN_DONE : RUN_FAILED;
}

static void printSummary(const std::vector<SelectionOutcome> &outcomes, double seconds)
{
    if (!consoleNotes())
        return;
    for (const SelectionOutcome &o : outcomes) {
        const HostSelection &s = o.selection;
        std::string where = s.channel ? "channel " + std::to_string(s.channel) : "all channels";
        fprintf(stderr, "vantrope: %s: %d pass%s, %s\n", where.c_str(), (int)o.passes, o.passes == 1 ? "" : "es",
                describeRegions(o.regions, MAX_LISTED).c_str());
    }
    fprintf(stderr, "vantrope: %.2f s\n", seconds);
}

// A file whose data ends before its header says is read as far as it goes, and the user is told.
static void reportCutShort(const std::string &path, const HostAudio &audio)
{
    if (audio.claimedFrames <= audio.frames)
        return;
    fprintf(stderr, "vantrope: %s: the file is cut short: its header promises %llu frames but it holds %u; "
                    "read %u frames (%.2f s)\n",
            path.c_str(), (unsigned long long)audio.claimedFrames, (unsigned)audio.frames, (unsigned)audio.frames,
            (double)audio.frames / audio.sampleRate);
}

static int32_t interrupted(int32_t line)
{
    fputs(interruptLine(line), stderr);
    return interruptExitStatus();
}

// The review script of --review or --script, parsed. Returns true, or false with the reason.
static bool loadReviewScript(const HostOptions &options, std::vector<ReviewActions> *reviews, std::string *error)
{
    std::string text = options.reviewText;
    if (!options.scriptPath.empty()) {
        std::ifstream file(options.scriptPath, std::ios::binary);
        if (!file) {
            *error = options.scriptPath + ": cannot be read";
            return false;
        }
        std::ostringstream content;
        content << file.rdbuf();
        text = content.str();
    }
    if (!parseReviewScript(text, reviews, error)) {
        *error = (options.scriptPath.empty() ? "--review: " : options.scriptPath + ": ") + *error;
        return false;
    }
    return true;
}

// Everything before the first selection: files checked, IN read, OUT decided. Returns EXIT_DONE to go
// on, else the exit status.
static int32_t prepareFiles(const HostOptions &options, OutputTarget *target, HostAudio *audio,
                            std::vector<HostSelection> *selections)
{
    std::string error;
    bool writes = options.task != TASK_LIST;
    if (writes && !planOutputTarget(options, platformStdinIsTerminal(), platformStdoutIsTerminal(), target, &error))
        return failUsage(error);
    if (!readAudioFile(options.inPath, audio, &error))
        return failUsage(options.inPath + ": " + error);
    reportCutShort(options.inPath, *audio);
    if (!chooseSelections(options, *audio, selections, &error))
        return failUsage(error);
    if (!writes)
        return EXIT_DONE;
    if (!chooseOutputFormat(target->name, options.lossy, audio, &error))
        return failUsage(error);
    if (!probeAudioOutput(*target, &error))
        return failUsage(target->name + ": cannot be written: " + error);
    return EXIT_DONE;
}

// The report's pictures of what one selection's run changed, before and after.
static void reportSelectionRepairs(const HostAudio &audio, const SelectionOutcome &outcome)
{
    auto share = [&audio](const uint8_t *bytes) { return sampleShare(bytes, audio.bitsPerSample, audio.isFloat); };
    reportRepairs(outcome.selection.channel, audio.sampleRate, outcome.selection.start, outcome.selection.end,
                  outcome.regions, [&](uint32_t frame) { return share(sessionFrameBefore(frame)); },
                  [&](uint32_t frame) { return share(sessionFrameNow(frame)); });
}

// Presents every selection in turn, keeping the saved settings from start-up values. Returns the last
// RunOutcome.
static int32_t runSelections(const PluginTable &table, HINSTANCE instance, HWND child, HostAudio *audio,
                             const std::vector<HostSelection> &selections, std::vector<SelectionOutcome> *outcomes)
{
    int32_t outcome = RUN_DONE;
    std::string settingsPath = platformSettingsPath(), error;
    sessionStartFile();
    for (const HostSelection &selection : selections) {
        settingsGuardBeforeRun(settingsPath);
        outcome = runSelection(table, instance, child, audio, selection, platformStderrIsTerminal() && consoleNotes());
        if (!settingsGuardAfterRun(&error))
            fprintf(stderr, "vantrope: %s\n", error.c_str());
        outcomes->push_back({selection, sessionPasses(), sessionChangedRegions(MERGE_GAP)});
        reportSelectionRepairs(*audio, outcomes->back());
        if (outcome != RUN_DONE || sessionCancelled())
            break;
        if (sessionFileEnded() && &selection != &selections.back()) {
            fprintf(stderr, "vantrope: the review of the file ended on channel %d; later channels were not presented\n",
                    (int)selection.channel);
            break;
        }
    }
    return outcome;
}

// The end of a --list run: the candidates on standard output and in the label track. Returns the exit
// status.
static int32_t finishList(const HostOptions &options, int32_t outcome)
{
    if (interruptSignal())
        return interrupted(LINE_NOT_WRITTEN);
    candidateListPrint(stdout, options.csv);
    fflush(stdout);
    std::string error;
    if (!options.labelsPath.empty() && !candidateListWriteLabels(options.labelsPath, &error))
        return failUsage(error);
    if (outcome != RUN_DONE) {
        fprintf(stderr, "vantrope: the plug-in %s; the list holds what it found until then\n",
                outcome == RUN_SETUP_REFUSED ? "refused the selection" : "did not complete the run");
        return EXIT_REFUSED;
    }
    return EXIT_DONE;
}

// What a run did, for --result.
struct RunTotals {
    int32_t clicks; // repaired stretches over every selection
    int32_t passes; // passes over every selection
};

static RunTotals totalsOf(const std::vector<SelectionOutcome> &outcomes)
{
    RunTotals totals = {0, 0};
    for (const SelectionOutcome &o : outcomes) {
        totals.clicks += (int32_t)o.regions.size();
        totals.passes += o.passes;
    }
    return totals;
}

// Everything after the options: check, read, present, write. Returns the exit status.
static int32_t runHost(const HostOptions &options, RunTotals *totals)
{
    // The line an interrupt prints is ready before the handlers that print it are in place.
    interruptsSetOutput(options.task == TASK_LIST ? "the list" : options.outPath == "-" ? "standard output"
                                                                                        : options.outPath);
    platformWatchInterrupts();
    std::string error;
    if (options.hasSettingsDir && !platformSetSettingsDir(options.settingsDir, &error))
        return failUsage(error);
    if (!checkDistinctNames(options, platformSettingsPath(), &error))
        return failUsage(error);
    if (!runSettingsCheck(options, platformSettingsPath(), &error))
        return failUsage(error);
    PluginTable table = {};
    if (!platformLoadPlugin(&table, &error))
        return failUsage(error);
    if (options.task == TASK_INFO) {
        if (!options.logPath.empty() && !transcriptOpen(options.logPath, &error))
            return failUsage(error);
        printInfo(table);
        return EXIT_DONE;
    }
    OutputTarget target;
    HostAudio audio;
    std::vector<HostSelection> selections;
    int32_t prepared = prepareFiles(options, &target, &audio, &selections);
    if (prepared != EXIT_DONE)
        return prepared;
    std::vector<ReviewActions> reviews;
    if (!loadReviewScript(options, &reviews, &error))
        return failUsage(error);
    // IN has been read: only now may the transcript and the report be opened for writing.
    if (!options.logPath.empty() && !transcriptOpen(options.logPath, &error))
        return failUsage(error);
    if (!options.reportDir.empty() && !reportOpen(options.reportDir, &error))
        return failUsage(error);
    HWND frame = nullptr, child = nullptr;
    if (!platformCreateHostWindows(options.frameClass, &frame, &child, &error))
        return failUsage(error);
    BoxScript answers = chooseScript(options, platformStdinIsTerminal());
    messageHostConfigure(answers, frame, child);
    // The dialog form hands XfmSetup the plug-in's instance; the question form hands it none.
    HINSTANCE instance = nullptr;
    if (options.useDialog) {
        reviewDriverConfigure(reviews, answers);
        instance = reviewDriverInstall(table);
    }
    if (options.task == TASK_LIST)
        candidateListStart();
    rangeHostAttach(options.frameClass, frame, child, RANGE_TIMEOUT_DEFAULT_MS);
    auto began = std::chrono::steady_clock::now();
    queryPlugin(table);
    std::vector<SelectionOutcome> outcomes;
    interruptsEnter(PHASE_RUNNING);
    if (!runSettingsInstall(&error)) {
        platformDestroyHostWindows(frame);
        return failUsage(error);
    }
    if (consoleVerbose())
        fprintf(stderr, "vantrope: %s\n", runSettingsDescription().c_str());
    int32_t outcome = runSelections(table, instance, child, &audio, selections, &outcomes);
    if (sessionCancelled())
        fprintf(stderr, "vantrope: cancelled; later selections were not presented\n");
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    if (options.task != TASK_LIST)
        printSummary(outcomes, seconds);
    *totals = totalsOf(outcomes);
    platformDestroyHostWindows(frame);
    transcriptClose();
    if (options.task == TASK_LIST)
        return finishList(options, outcome);
    // A person who interrupted asked for nothing to be written, whatever the plug-in did meanwhile.
    if (interruptSignal())
        return interrupted(LINE_NOT_WRITTEN);
    if (sessionOutOfMemory())
        return failUsage("out of memory; " + options.outPath + " was not written");
    if (outcome != RUN_DONE) {
        fprintf(stderr, "vantrope: the plug-in %s; %s was not written\n",
                outcome == RUN_SETUP_REFUSED ? "refused the selection" : "did not complete the run",
                options.outPath.c_str());
        std::string hint = depthRefusalHint(audio, options.inPath);
        if (!hint.empty())
            fprintf(stderr, "vantrope: %s\n", hint.c_str());
        return EXIT_REFUSED;
    }
    if (!runSettingsFinish(!sessionCancelled(), &error))
        return failUsage(error + "; " + options.outPath + " was not written");
    runSettingsCleanup();
    if (!writeAudioOutput(target, audio, &error)) {
        if (interruptSignal())
            return interrupted(LINE_NOT_WRITTEN);
        bool isFile = target.kind == OUTPUT_NEW_FILE || target.kind == OUTPUT_REPLACE_FILE;
        return failUsage(target.name + ": " + error + (isFile ? "; it was not written" : ""));
    }
    if (interruptSignal())
        return interrupted(LINE_ALREADY_WRITTEN);
    return EXIT_DONE;
}

// The outcome for a batch that ran this file (--result): written last, so that it tells the end.
static void writeResult(const std::string &path, int32_t status, const RunTotals &totals)
{
    FILE *file = fopen(path.c_str(), "wb");
    if (!file)
        return;
    fputs(batchResultLine(status, totals.clicks, totals.passes).c_str(), file);
    fclose(file);
}

// The tasks that need no audio run: the texts, the settings command, the batch.
static int32_t runTask(const HostOptions &options)
{
    std::string error;
    switch (options.task) {
    case TASK_HELP:
        fputs(hostHelpText(options.helpText).c_str(), stdout);
        return EXIT_DONE;
    case TASK_SETTINGS:
        if (options.hasSettingsDir && !platformSetSettingsDir(options.settingsDir, &error))
            return failUsage(error);
        return runSettingsCommand(options);
    default:
        interruptsSetOutput("the rest of the batch");
        platformWatchInterrupts();
        return runBatch(options);
    }
}

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    HostOptions options;
    std::string error;
    if (!parseHostOptions(args, &options, &error)) {
        fprintf(stderr, "vantrope: %s (see vantrope --help)\n", error.c_str());
        return EXIT_USAGE;
    }
    consoleSetVerbosity(options.verbosity);
    int32_t status;
    RunTotals totals = {0, 0};
    try {
        if (options.task == TASK_HELP || options.task == TASK_SETTINGS || options.task == TASK_BATCH)
            status = runTask(options);
        else
            status = runHost(options, &totals);
    } catch (const std::bad_alloc &) {
        // Memory ran out in the host itself (the plug-in reports its own with "No memory.").
        fprintf(stderr, "vantrope: out of memory; %s was not written\n", options.outPath.c_str());
        status = EXIT_USAGE;
    }
    transcriptClose();
    runSettingsCleanup();
    if (!options.resultPath.empty())
        writeResult(options.resultPath, status, totals);
    return (int)status;
}
