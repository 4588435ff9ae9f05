// The vantrope host program: reads an audio file, presents its selections to the plug-in as an
// editor would (QueryXfm, then XfmSetup and XfmDo per selection), answers the plug-in's boxes, writes
// the result and a summary. The run's own state lives in main's frame; see host_session for XfmWave.
#include <chrono>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "audio_file.h"
#include "change_report.h"
#include "host_options.h"
#include "host_platform.h"
#include "host_session.h"
#include "message_host.h"
#include "report.h"
#include "review_driver.h"
#include "review_script.h"
#include "range_host.h"
#include "transcript.h"

enum { EXIT_DONE = 0, EXIT_REFUSED = 1, EXIT_USAGE = 2 };
enum { MERGE_GAP = 4, MAX_LISTED = 20 };

struct SelectionOutcome {
    HostSelection selection; // what was presented
    int32_t passes;          // finish calls during its run
};

static int32_t failUsage(const std::string &message)
{
    fprintf(stderr, "vantrope: %s\n", message.c_str());
    return EXIT_USAGE;
}

static void onInterrupt(int signalNumber)
{
    sessionRequestCancel();
    // A second interrupt ends the program the ordinary way.
    signal(signalNumber, SIG_DFL);
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
    uint32_t start = options.hasStart ? options.start : 0;
    uint32_t end = options.hasEnd ? options.end : audio.frames - 1;
    if (start > end || end >= audio.frames) {
        *error = "the range " + std::to_string(start) + " to " + std::to_string(end) + " lies outside " +
                 options.inPath + " (frames 0 to " + std::to_string(audio.frames - 1) + ")";
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
    if (options.autoMode) {
        script.mode = REVIEW_AUTO;
    } else if (!options.hasAnswers) {
        script.mode = stdinIsTerminal ? REVIEW_ASK : REVIEW_AUTO;
        if (!stdinIsTerminal)
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

static void printSummary(const std::vector<SelectionOutcome> &outcomes, const std::vector<uint8_t> &original,
                         const HostAudio &audio, double seconds)
{
    for (const SelectionOutcome &o : outcomes) {
        const HostSelection &s = o.selection;
        uint32_t offset = s.channel ? (uint32_t)(s.channel - 1) * sampleBytes(audio) : 0;
        uint32_t width = s.channel ? sampleBytes(audio) : frameBytes(audio);
        std::vector<ChangedRegion> regions = findChangedRegions(original.data(), audio.bytes.data(), frameBytes(audio),
                                                                offset, width, s.start, s.end, MERGE_GAP);
        std::string where = s.channel ? "channel " + std::to_string(s.channel) : "all channels";
        fprintf(stderr, "vantrope: %s: %d pass%s, %s\n", where.c_str(), (int)o.passes, o.passes == 1 ? "" : "es",
                describeRegions(regions, MAX_LISTED).c_str());
    }
    fprintf(stderr, "vantrope: %.2f s\n", seconds);
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

// Everything after the options: load, read, present, write. Returns the exit status.
static int32_t runHost(const HostOptions &options)
{
    std::string error;
    if (options.hasSettingsDir && !platformSetSettingsDir(options.settingsDir, &error))
        return failUsage(error);
    if (!options.logPath.empty() && !transcriptOpen(options.logPath, &error))
        return failUsage(error);
    PluginTable table = {};
    if (!platformLoadPlugin(&table, &error))
        return failUsage(error);
    if (options.info) {
        printInfo(table);
        return EXIT_DONE;
    }
    HostAudio audio;
    if (!readAudioFile(options.inPath, &audio, &error))
        return failUsage(options.inPath + ": " + error);
    std::vector<HostSelection> selections;
    if (!chooseSelections(options, audio, &selections, &error))
        return failUsage(error);
    if (!probeAudioOutput(options.outPath, &error))
        return failUsage(options.outPath + ": cannot be written: " + error);
    std::vector<ReviewActions> reviews;
    if (!loadReviewScript(options, &reviews, &error))
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
    rangeHostAttach(options.frameClass, frame, child, RANGE_TIMEOUT_DEFAULT_MS);
    auto began = std::chrono::steady_clock::now();
    queryPlugin(table);
    std::vector<uint8_t> original = audio.bytes;
    std::vector<SelectionOutcome> outcomes;
    int32_t outcome = RUN_DONE;
    signal(SIGINT, onInterrupt);
    for (const HostSelection &selection : selections) {
        outcome = runSelection(table, instance, child, &audio, selection, platformStderrIsTerminal());
        outcomes.push_back({selection, sessionPasses()});
        if (outcome != RUN_DONE || sessionCancelled())
            break;
    }
    signal(SIGINT, SIG_DFL);
    if (sessionCancelled())
        fprintf(stderr, "vantrope: cancelled; later selections were not presented\n");
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    printSummary(outcomes, original, audio, seconds);
    platformDestroyHostWindows(frame);
    transcriptClose();
    if (outcome != RUN_DONE) {
        fprintf(stderr, "vantrope: the plug-in %s; %s was not written\n",
                outcome == RUN_SETUP_REFUSED ? "refused the selection" : "did not complete the run",
                options.outPath.c_str());
        return EXIT_REFUSED;
    }
    if (!writeAudioFileSafely(options.outPath, audio, &error))
        return failUsage(options.outPath + ": " + error);
    return EXIT_DONE;
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
    if (options.help) {
        fputs(hostUsage(), stdout);
        return EXIT_DONE;
    }
    int32_t status = runHost(options);
    transcriptClose();
    return (int)status;
}
