// The host program as a recognised editor: with frame class "COOL2000SS" or "COOL96" the frame opens a
// modal range dialog (start and end fields) on the editor's range command and records the range it
// ends up with; the plug-in's clipboard texts, posted commands and key events become transcript
// events. Shared logic in range_host.cpp; each platform half creates the dialog and observes input.
// Owns the host windows' subclassing, the timeout, the per-run clipboard flag and the test hook.
#pragma once
#include <cstdint>
#include <string>
#include "plugin/platform.h"
#include "plugin/xfm_types.h" // RANGE_COMMAND_COOL96, RANGE_COMMAND_COOL2000SS

enum {
    RANGE_TIMEOUT_DEFAULT_MS = 2000  // a range dialog with no input for this long closes itself
};

// ---- Shared half (range_host.cpp) ---------------------------------------------------------------

// The range command a frame of this class acts on: 2055, 3147, or 0 for a class that has none.
// Compared byte by byte, as the plug-in compares it. Touches no state.
uint32_t rangeCommandForClass(const std::string &frameClass);

// A field's text as a JSON value for the range event: a decimal integer that fits 32 bits is
// written as a number (leading zeros and a plus sign dropped), anything else as a JSON string.
std::string rangeValueJson(const std::string &fieldText);

// The transcript events, built the same way on both platforms.
std::string clipboardEventJson(const char *text);
std::string postEventJson(uint32_t command);
std::string keyEventJson(uint32_t vk, uint32_t scan, bool up);

// Makes frame and child behave as the editor that frameClass names: the child passes its commands
// on to the frame, and the frame opens the range dialog on its range command. Starts observing the
// plug-in's input calls (natively; on Windows the import patches made at load do). timeoutMs is the
// idle time after which the range dialog closes itself (at least 10). Sets the module state.
void rangeHostAttach(const std::string &frameClass, HWND frame, HWND child, uint32_t timeoutMs);

// One input call of the plug-in, seen by a platform's observer: recorded in the transcript unless
// the host itself is making calls (hostOwnInputBegin), and a clipboard event marks the run.
void rangeHostNoteInput(const char *kind, const std::string &json);

// Brackets the host's own posts, key events and clipboard writes, which are no events of the
// plug-in (natively the stand-in's observer sees every caller). Nestable.
void hostOwnInputBegin();
void hostOwnInputEnd();

// After XfmDo: when the plug-in set the clipboard during the run, reads the clipboard back and
// records {"event":"clipboard-after","text":...} (null when it holds no text). Clears the run's flag.
void rangeHostRunEnded();

// Called by a platform's range dialog when the user asks to close it; the dialog's loop ends.
void rangeDialogCloseRequested();

// Tests: called once the range dialog is open and focused, before its loop runs.
typedef void (*RangeOpenHook)(HWND dialog, void *context);
void rangeHostSetOpenHook(RangeOpenHook hook, void *context);

// Range dialogs opened since rangeHostAttach.
int32_t rangeHostDialogsOpened();

// ---- Platform half (native/range_host_native.cpp, windows/range_host_windows.cpp) ----------------

// Creates the range dialog owned by owner: a top-level window with an empty start and an empty end
// edit field (tab stops, in that order), shown, the start field focused. Null when it cannot.
HWND rangeDialogCreate(HWND owner, HWND *startField, HWND *endField);

// Destroys the range dialog and its fields.
void rangeDialogDestroy(HWND dialog);

// The clipboard's plain text, read as any program reads it. False when it holds none.
bool rangeHostClipboardText(std::string *text);

// Starts handing the plug-in's input calls to rangeHostNoteInput where the platform needs a hook.
void rangeHostObserveInput();
