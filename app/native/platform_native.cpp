// The native host platform: the plug-in linked in over the Win32 stand-in, the stand-in's windows
// and profile directory, its message-box responder routed to the host, and the terminal.
#include <unistd.h>
#include "app/host_platform.h"
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

bool platformStderrIsTerminal() { return isatty(2) != 0; }
