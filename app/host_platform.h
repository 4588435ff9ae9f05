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

// Whether standard input and standard error are terminals.
bool platformStdinIsTerminal();
bool platformStderrIsTerminal();
