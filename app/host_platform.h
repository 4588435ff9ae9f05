// What the host program needs from its platform, implemented once in app/native/ (over the Win32
// stand-in, linked with the plug-in) and once in app/windows/ (real Win32, the plug-in loaded as a
// DLL). The shared files call only these and the plug-in table.
#pragma once
#include <cstdint>
#include <string>
#include "plugin_table.h"

// Makes the plug-in's entry points callable, and routes the plug-in's message boxes to
// hostMessageBox (message_host.h). Returns true, or false with a reason naming the module.
bool platformLoadPlugin(PluginTable *table, std::string *error);

// Points the plug-in's private-profile file at dir. Returns true, or false with a reason (on
// Windows the platform's own profile directory is always used).
bool platformSetSettingsDir(const std::string &dir, std::string *error);

// Creates the host's frame window of frameClass and a child of it, the window handed to XfmSetup.
// Returns true, or false with a reason.
bool platformCreateHostWindows(const std::string &frameClass, HWND *frame, HWND *child, std::string *error);

// Destroys the frame window and its child.
void platformDestroyHostWindows(HWND frame);

// A person answers a review question box: returns the box button pressed (Yes, No or Cancel).
int32_t platformAskPerson(HWND owner, const char *text, const char *title, uint32_t flags);

// Whether standard input, standard output and standard error are terminals.
bool platformStdinIsTerminal();
bool platformStdoutIsTerminal();
bool platformStderrIsTerminal();

// Handlers for Ctrl-C, SIGTERM and SIGHUP that call interruptNoted (interrupts.h); a signal while a
// write is guarded removes its temporary file and ends the program, where the platform can do so
// from the handler. File size limits and closed pipes become write errors instead of ending it.
void platformWatchInterrupts();

// ---- Files (app/native/files_native.cpp, app/windows/files_windows.cpp)

// What a name is, symbolic links followed.
enum FileKind {
    FILE_MISSING = 0,
    FILE_REGULAR = 1,
    FILE_DIRECTORY = 2,
    FILE_CHARACTER_DEVICE = 3, // a terminal, /dev/null, /dev/full, ...
    FILE_FIFO = 4,
    FILE_OTHER = 5             // a block device, a socket
};
int32_t platformFileKind(const std::string &path);

// The name a write to path reaches: symbolic links followed to their final target, which need not
// exist yet. Other names come back as they are.
std::string platformFollowLinks(const std::string &path);

// Whether two names are one file: the same file on disk when both exist, else the same absolute name.
bool platformSameFile(const std::string &a, const std::string &b);

// Where the plug-in keeps Vantrope.ini (after platformSetSettingsDir, when that applies).
std::string platformSettingsPath();
