// Controls of the Win32 stand-in for the host program and the tests: things a real system would do
// behind the plug-in's back (answer message boxes, fail an allocation, own the profile directory).
// None of these are Win32 calls; the plug-in never includes this header.
#pragma once
#include <cstdint>
#include <string>
#include "windows.h"

// Restores every piece of stand-in state to its start: windows, classes, counters, switches, clock.
void compatReset();

// Profile files: a bare file name resolves in this directory. The default is $XDG_CONFIG_HOME/vantrope,
// else ~/.config/vantrope; the directory is created on the first write.
void compatSetProfileDirectory(const std::string &dir);
std::string compatProfileDirectory();
std::string compatResolveProfilePath(const char *file);

// Message boxes. The responder answers each box; without one every box answers IDOK (IDYES for Yes/No).
typedef int (*CompatMessageBoxResponder)(HWND owner, const char *text, const char *title, UINT flags,
                                         void *context);
void compatSetMessageBoxResponder(CompatMessageBoxResponder responder, void *context);
int compatMessageBoxCount();                                  // boxes shown since the last reset

// Global memory: fault injection and a counter of live blocks.
void compatFailGlobalAllocAfter(int successes);               // the allocation after that many succeeds fails
void compatFailNextGlobalAlloc();                             // same as compatFailGlobalAllocAfter(0)
int compatLiveGlobalBlocks();

// Windows owned by the host: a frame (optionally of a given class) and children of it.
HWND compatCreateWindow(const char *className, HWND parent, WNDPROC proc, int width, int height);

// The virtual clock that Sleep, timers and message loops advance, in milliseconds.
uint32_t compatClockNow();
void compatClockAdvance(uint32_t milliseconds);
