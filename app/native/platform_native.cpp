// The native host platform: the plug-in linked in over the Win32 stand-in, the stand-in's windows
// and profile directory, its message-box responder routed to the host, the terminal and the signals.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include "app/host_platform.h"
#include "app/interrupts.h"
#include "app/message_host.h"
#include "app/terminal_prompt.h"
#include "compat_host.h"
#include "plugin/xfm.h"

// The stand-in hands every box the plug-in shows to this responder.
static int respondToBox(HWND owner, const char *text, const char *title, UINT flags, void *context)
{
    (void)context;
    return hostMessageBox(owner, text, title, flags);
}

bool platformLoadPlugin(PluginTable *table, std::string *error)
{
    (void)error;
    table->queryXfm = QueryXfm;
    table->xfmInit = XfmInit;
    table->xfmSetup = XfmSetup;
    table->xfmDo = XfmDo;
    table->xfmDestroy = XfmDestroy;
    table->instance = nullptr;
    compatSetMessageBoxResponder(respondToBox, nullptr);
    return true;
}

bool platformSetSettingsDir(const std::string &dir, std::string *error)
{
    (void)error;
    compatSetProfileDirectory(dir);
    return true;
}

bool platformCreateHostWindows(const std::string &frameClass, HWND *frame, HWND *child, std::string *error)
{
    *frame = compatCreateWindow(frameClass.c_str(), nullptr, nullptr, 800, 600);
    *child = *frame ? compatCreateWindow("VantropeHostView", *frame, nullptr, 780, 560) : nullptr;
    if (!*frame || !*child) {
        *error = "cannot create the host's windows";
        return false;
    }
    return true;
}

void platformDestroyHostWindows(HWND frame) { DestroyWindow(frame); }

int32_t platformAskPerson(HWND owner, const char *text, const char *title, uint32_t flags)
{
    (void)owner;
    (void)title;
    (void)flags;
    return askOnTerminal(text);
}

bool platformStdinIsTerminal() { return isatty(0) != 0; }

bool platformStdoutIsTerminal() { return isatty(1) != 0; }

bool platformStderrIsTerminal() { return isatty(2) != 0; }

static void writeLine(const char *line) { (void)!write(2, line, strlen(line)); }

static bool stderrIsTerminal = false; // known before any signal, since isatty is no signal-safe call
static int endOfInput = -1;           // /dev/null, opened before any signal

// Only async-signal-safe calls here: the line is prepared beforehand, the temporary file's name too.
static void onInterrupt(int signalNumber)
{
    int savedErrno = errno;
    if (!interruptNoted(signalNumber)) {
        // No answer is wanted any more. A read of a person's answer that is under way ends with
        // EINTR, but one about to begin (the cancel flag just checked) would wait for a line despite
        // the interrupt: from here on standard input is at its end.
        if (endOfInput >= 0)
            dup2(endOfInput, 0);
        errno = savedErrno;
        return;
    }
    int32_t line = LINE_NOT_WRITTEN;
    if (interruptsPhase() == PHASE_WRITING) {
        const char *temporary = interruptGuardedTemporary();
        if (*temporary)
            unlink(temporary);
        else
            line = LINE_INCOMPLETE;
    }
    // Ctrl-C's echo and the progress bar leave a terminal's line unfinished.
    if (stderrIsTerminal)
        writeLine("\n");
    writeLine(interruptLine(line));
    _exit(interruptExitStatus());
}

void platformWatchInterrupts()
{
    stderrIsTerminal = isatty(2) != 0;
    if (endOfInput < 0)
        endOfInput = open("/dev/null", O_RDONLY | O_CLOEXEC);
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a person's Ctrl-C at a prompt must end the wait for an answer at once.
    action.sa_flags = 0;
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signalNumber, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
    signal(SIGXFSZ, SIG_IGN);
}
