// The shared state of interrupts: the phase, the noted signal, the temporary file being written and
// the lines to print, kept in fixed buffers so that a signal handler reads them without allocating.
#include "interrupts.h"
#include <csignal>
#include <cstring>
#include "host_session.h"

enum { TEXT_BYTES = 4096 };

static volatile sig_atomic_t phase = PHASE_PREPARING;
static volatile sig_atomic_t notedSignal = 0;
static volatile sig_atomic_t interruptsSeen = 0;
static char guardedTemporary[TEXT_BYTES];
static char lines[3][TEXT_BYTES];

static void copyBounded(char *to, const std::string &from)
{
    size_t length = from.size() < TEXT_BYTES - 1 ? from.size() : TEXT_BYTES - 1;
    memcpy(to, from.data(), length);
    to[length] = '\0';
}

void interruptsSetOutput(const std::string &outName)
{
    copyBounded(lines[LINE_NOT_WRITTEN], "vantrope: interrupted; " + outName + " was not written\n");
    copyBounded(lines[LINE_INCOMPLETE], "vantrope: interrupted; " + outName + " is incomplete\n");
    copyBounded(lines[LINE_ALREADY_WRITTEN], "vantrope: interrupted; " + outName + " had been written already\n");
}

void interruptsEnter(int32_t newPhase) { phase = (sig_atomic_t)newPhase; }

int32_t interruptsPhase() { return (int32_t)phase; }

bool interruptNoted(int32_t signalNumber)
{
    if (!notedSignal)
        notedSignal = (sig_atomic_t)signalNumber;
    interruptsSeen = interruptsSeen + 1;
    sessionRequestCancel();
    switch (phase) {
    case PHASE_RUNNING:
        return interruptsSeen > 1;
    case PHASE_FINISHED:
    case PHASE_REPLACING:
        return false;
    default:
        return true;
    }
}

int32_t interruptSignal() { return (int32_t)notedSignal; }

int32_t interruptExitStatus() { return 128 + (int32_t)notedSignal; }

void interruptsGuardTemporary(const std::string &temporary)
{
    copyBounded(guardedTemporary, temporary);
}

const char *interruptGuardedTemporary() { return guardedTemporary; }

const char *interruptLine(int32_t which) { return lines[which]; }
