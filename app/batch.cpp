// The batch: names planned and checked before anything starts, the runs started -j at a time and
// waited for, a line per finished file, the table at the end. The runs' messages and outcomes go to
// files in a scratch directory of the batch's own, removed at the end.
#include "batch.h"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include "console.h"
#include "host_platform.h"
#include "interrupts.h"

enum FileState : int32_t { FILE_WAITING = 0, FILE_RUNNING = 1, FILE_DONE = 2, FILE_PASSED_OVER = 3, FILE_NOT_RUN = 4 };

struct BatchFile {
    std::string in;        // IN as given
    std::string out;       // its OUT
    int32_t state;         // a FileState
    int64_t run;           // the run's id while it runs
    int32_t status;        // its exit status once done
    int32_t clicks;        // clicks repaired, -1 when the run wrote no outcome
    int32_t passes;        // passes, -1 likewise
    double seconds;        // from start to end
    std::string lastLine;  // the run's last message, for a failure
    std::chrono::steady_clock::time_point began;
};

std::string batchResultLine(int32_t status, int32_t clicks, int32_t passes)
{
    return "{\"status\":" + std::to_string(status) + ",\"clicks\":" + std::to_string(clicks) + ",\"passes\":" +
           std::to_string(passes) + "}\n";
}

std::vector<std::string> batchRunArguments(const HostOptions &options, const std::string &in, const std::string &out,
                                           const std::string &resultPath)
{
    std::vector<std::string> args = options.passOn;
    // Runs at once beside each other must not load a file another is saving.
    if (!options.keepSettings)
        args.push_back("--keep-settings");
    if (!options.autoMode && !options.hasAnswers && !options.hasReview && options.scriptPath.empty())
        args.push_back("--auto");
    args.push_back("--result=" + resultPath);
    if (options.inPlace) {
        args.insert(args.end(), {"--in-place", "--", in});
    } else {
        args.insert(args.end(), {"--", in, out});
    }
    return args;
}

// Refuses names that cannot all be honoured; marks files to pass over (-n). Returns 1, or 0 with a reason.
static int32_t planNames(const HostOptions &options, std::vector<BatchFile> *files, std::string *error)
{
    std::vector<std::string> existing;
    for (size_t i = 0; i < files->size(); i++) {
        BatchFile &f = (*files)[i];
        for (size_t j = 0; j < i; j++) {
            if (platformSameFile(f.in, (*files)[j].in)) {
                *error = f.in + " is named twice";
                return 0;
            }
            if (platformSameFile(f.out, (*files)[j].out)) {
                *error = (*files)[j].in + " and " + f.in + " would both be written to " + f.out;
                return 0;
            }
        }
        for (const BatchFile &other : *files)
            if (!options.inPlace && platformSameFile(f.out, other.in)) {
                *error = f.out + " is an input; " + f.in + " would overwrite it (--suffix or --out-dir elsewhere "
                         "keeps it, --in-place replaces each IN on purpose)";
                return 0;
            }
        if (!options.inPlace && platformFileKind(f.out) != FILE_MISSING) {
            if (options.neverOverwrite)
                f.state = FILE_PASSED_OVER;
            else if (!options.overwrite)
                existing.push_back(f.out);
        }
    }
    if (!existing.empty()) {
        *error = std::to_string(existing.size()) + " output" + (existing.size() == 1 ? "" : "s") + " exist already (" +
                 existing[0] + (existing.size() > 1 ? ", ..." : "") + "); -y overwrites them, -n passes over those files";
        return 0;
    }
    return 1;
}

static std::string readText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

static int32_t fieldOf(const std::string &json, const char *name)
{
    size_t at = json.find(std::string("\"") + name + "\":");
    return at == std::string::npos ? -1 : atoi(json.c_str() + at + strlen(name) + 3);
}

static std::string lastLineOf(const std::string &text)
{
    size_t end = text.find_last_not_of("\r\n");
    if (end == std::string::npos)
        return "";
    size_t begin = text.find_last_of('\n', end);
    std::string line = text.substr(begin == std::string::npos ? 0 : begin + 1, end - (begin == std::string::npos ? 0 : begin + 1) + 1);
    return line.compare(0, 10, "vantrope: ") == 0 ? line.substr(10) : line;
}

static void finishFile(BatchFile *f, int32_t status, const std::string &scratch, size_t index, size_t total)
{
    std::string stem = scratch + "/" + std::to_string(index);
    std::string log = readText(stem + ".log"), result = readText(stem + ".json");
    f->state = FILE_DONE;
    f->status = status;
    f->clicks = fieldOf(result, "clicks");
    f->passes = fieldOf(result, "passes");
    f->seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - f->began).count();
    f->lastLine = lastLineOf(log);
    std::string where = "[" + std::to_string(index + 1) + "/" + std::to_string(total) + "] " + f->in;
    if (status == 0 && consoleNotes())
        fprintf(stderr, "vantrope: %s: %d click%s repaired, %d pass%s, %.1f s -> %s\n", where.c_str(), (int)f->clicks,
                f->clicks == 1 ? "" : "s", (int)f->passes, f->passes == 1 ? "" : "es", f->seconds, f->out.c_str());
    else if (status != 0)
        fprintf(stderr, "vantrope: %s: failed (exit %d): %s\n", where.c_str(), (int)status, f->lastLine.c_str());
    if (consoleVerbose())
        for (std::istringstream lines(log); std::getline(lines, log);)
            fprintf(stderr, "    %s\n", log.c_str());
}

static void printTable(const std::vector<BatchFile> &files)
{
    size_t width = 4;
    for (const BatchFile &f : files)
        width = f.in.size() > width ? f.in.size() : width;
    printf("%-*s %7s %7s %8s  %s\n", (int)width, "file", "clicks", "passes", "time", "result");
    int32_t written = 0, failed = 0, passedOver = 0;
    for (const BatchFile &f : files) {
        std::string result;
        if (f.state == FILE_PASSED_OVER) {
            result = "passed over: " + f.out + " exists (-n)";
            passedOver++;
        } else if (f.state != FILE_DONE) {
            result = "not run (interrupted)";
        } else if (f.status == 0) {
            result = "written: " + f.out;
            written++;
        } else {
            result = "failed (exit " + std::to_string(f.status) + "): " + f.lastLine;
            failed++;
        }
        bool ran = f.state == FILE_DONE && f.status == 0 && f.clicks >= 0;
        char time[32] = "-";
        if (f.state == FILE_DONE)
            snprintf(time, sizeof time, "%.1f s", f.seconds);
        printf("%-*s %7s %7s %8s  %s\n", (int)width, f.in.c_str(), ran ? std::to_string(f.clicks).c_str() : "-",
               ran ? std::to_string(f.passes).c_str() : "-", time, result.c_str());
    }
    printf("%d of %d file%s written, %d failed, %d passed over\n", (int)written, (int)files.size(),
           files.size() == 1 ? "" : "s", (int)failed, (int)passedOver);
}

// Starts and waits for the runs. Returns false when the batch was interrupted.
static bool runFiles(const HostOptions &options, std::vector<BatchFile> &files, const std::string &scratch)
{
    size_t next = 0, running = 0;
    bool passedOn = false;
    for (;;) {
        bool interrupted = interruptSignal() != 0;
        while (!interrupted && running < (size_t)options.jobs && next < files.size()) {
            BatchFile &f = files[next];
            std::string stem = scratch + "/" + std::to_string(next);
            if (f.state == FILE_WAITING) {
                std::string error;
                f.began = std::chrono::steady_clock::now();
                f.run = platformStartRun(batchRunArguments(options, f.in, f.out, stem + ".json"), stem + ".log", &error);
                if (f.run > 0) {
                    f.state = FILE_RUNNING;
                    running++;
                } else {
                    f.state = FILE_DONE;
                    f.status = 2;
                    f.clicks = f.passes = -1;
                    f.lastLine = error;
                    fprintf(stderr, "vantrope: %s: %s\n", f.in.c_str(), error.c_str());
                }
            }
            next++;
        }
        if (interrupted && !passedOn) {
            for (const BatchFile &f : files)
                if (f.state == FILE_RUNNING)
                    platformInterruptRun(f.run, interruptSignal());
            passedOn = true;
        }
        if (running == 0)
            return !interrupted;
        int32_t status = 0;
        int64_t ended = platformWaitRun(&status);
        for (size_t i = 0; ended > 0 && i < files.size(); i++)
            if (files[i].state == FILE_RUNNING && files[i].run == ended) {
                finishFile(&files[i], status, scratch, i, files.size());
                running--;
            }
    }
}

int32_t runBatch(const HostOptions &options)
{
    std::string error;
    if (!platformBatchAvailable(&error)) {
        fprintf(stderr, "vantrope: %s\n", error.c_str());
        return 2;
    }
    std::vector<BatchFile> files;
    for (const std::string &in : options.inputs)
        files.push_back({in, options.inPlace ? in : outputNameFor(in, options.outDir, options.suffix), FILE_WAITING, 0,
                         0, -1, -1, 0.0, "", {}});
    if (!planNames(options, &files, &error)) {
        fprintf(stderr, "vantrope: %s\n", error.c_str());
        return 2;
    }
    std::error_code failure;
    if (!options.outDir.empty() && !std::filesystem::is_directory(options.outDir, failure) &&
        !std::filesystem::create_directories(options.outDir, failure)) {
        fprintf(stderr, "vantrope: %s: cannot make the directory: %s\n", options.outDir.c_str(), failure.message().c_str());
        return 2;
    }
    std::filesystem::path scratch = std::filesystem::temp_directory_path(failure) /
                                    ("vantrope-batch-" + std::to_string((long long)std::chrono::steady_clock::now()
                                                                            .time_since_epoch().count()));
    if (failure || !std::filesystem::create_directory(scratch, failure)) {
        fprintf(stderr, "vantrope: cannot make a scratch directory for the batch\n");
        return 2;
    }
    // The first interrupt stops the batch (it is passed on to the runs); a second ends it at once.
    interruptsEnter(PHASE_RUNNING);
    bool completed = runFiles(options, files, scratch.string());
    std::filesystem::remove_all(scratch, failure);
    if (consoleNotes())
        printTable(files);
    if (!completed) {
        fprintf(stderr, "vantrope: interrupted; the files not yet written were left as they were\n");
        return interruptExitStatus();
    }
    int32_t status = 0;
    for (const BatchFile &f : files)
        status = f.state == FILE_DONE && f.status > status ? f.status : status;
    return status;
}
