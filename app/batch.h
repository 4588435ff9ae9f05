// Batch runs: several INs in one command (--out-dir, --suffix or --in-place), each repaired by this
// program again in a process of its own (the plug-in keeps module state, so one file per process),
// -j at a time, on a private copy of the settings, answered as --auto unless the command says
// otherwise. Every name is checked before the first file starts: no IN twice, no OUT twice, no OUT
// that is an IN, existing OUTs only with -y (or passed over with -n). A line per finished file, a
// table at the end. Owns nothing beyond one call.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "host_options.h"

// Runs the batch. Returns the exit status: 0 when every file was written (or passed over with -n),
// else the highest status of a failed file, 128 + the signal when interrupted, 2 when the names
// cannot be honoured.
int32_t runBatch(const HostOptions &options);

// The arguments for one file's run: the options handed on, a private copy of the settings, --auto
// unless the reviews are answered otherwise, the result file, then IN and OUT (or --in-place IN).
std::vector<std::string> batchRunArguments(const HostOptions &options, const std::string &in, const std::string &out,
                                           const std::string &resultPath);

// The outcome line a run writes with --result: {"status":S,"clicks":C,"passes":P}.
std::string batchResultLine(int32_t status, int32_t clicks, int32_t passes);

// ---- Platform (app/native/batch_native.cpp, app/windows/batch_windows.cpp)

// Whether this build runs batches. Returns true, or false with the reason.
bool platformBatchAvailable(std::string *reason);

// Starts this program again with args (after the program name), standard input from nothing and
// standard output and error into the file logPath. Returns its id (above 0), or 0 with a reason.
int64_t platformStartRun(const std::vector<std::string> &args, const std::string &logPath, std::string *error);

// Waits for one started run to end: returns its id with *status its exit status (128 + the signal when
// a signal ended it), or 0 when the wait was interrupted or none is running.
int64_t platformWaitRun(int32_t *status);

// Passes an interrupt (the signal's number) on to a running run.
void platformInterruptRun(int64_t run, int32_t signalNumber);
