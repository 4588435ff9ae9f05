// Interrupts of the host program (Ctrl-C, SIGTERM, SIGHUP) by phase: before the plug-in runs one ends
// the program at once; while it runs the first asks it to stop through the host's cancel flag and
// means nothing is written (a second ends the program); while OUT is written one removes the
// temporary file and ends the program. Either way one line says so and the exit status is 128 + the
// signal. The platform half installs the handlers (platformWatchInterrupts); this half owns the
// phase, the noted signal and the lines, in fixed buffers a signal handler can read.
#pragma once
#include <cstdint>
#include <string>

enum InterruptPhase {
    PHASE_PREPARING = 0, // reading IN, asking about OUT: nothing to lose yet
    PHASE_RUNNING = 1,   // the plug-in runs: the first interrupt cancels the run
    PHASE_WRITING = 2,   // OUT is being written (through the guarded temporary file)
    PHASE_FINISHED = 3,  // OUT is complete: an interrupt is only noted
    PHASE_REPLACING = 4  // the complete temporary file is renamed over OUT: an interrupt is only noted,
                         // and the writer's caller tells afterwards which of the two OUT is
};

// Names OUT for the lines an interrupt prints, and enters a phase.
void interruptsSetOutput(const std::string &outName);
void interruptsEnter(int32_t phase);
int32_t interruptsPhase();

// Called by the platform's handler: notes the signal (the first one counts) and asks the plug-in to
// stop. Returns true when the program is to end at once: an interrupt before or during the write, or
// a second one during the run. Safe in a signal handler.
bool interruptNoted(int32_t signalNumber);

// The signal noted so far, 0 for none, and the exit status that reports it (128 + its number).
int32_t interruptSignal();
int32_t interruptExitStatus();

// The temporary file being written while in PHASE_WRITING ("" for a stream written in place).
void interruptsGuardTemporary(const std::string &temporary);
const char *interruptGuardedTemporary();

// The line that reports an interrupt: OUT was not written, OUT is incomplete (a stream), or OUT had
// been written already.
enum InterruptLine { LINE_NOT_WRITTEN = 0, LINE_INCOMPLETE = 1, LINE_ALREADY_WRITTEN = 2 };
const char *interruptLine(int32_t which);
