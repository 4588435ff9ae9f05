// Every text the plug-in shows, in one place, so that both builds show the very same words, and the
// message boxes that show them, all titled "Vantrope".
#pragma once
#include "platform.h"

#define PLUGIN_NAME "Vantrope"
#define PLUGIN_CREDIT "Vantrope click repair (c) 2026 the Vantrope developers"
#define MSG_TITLE "Vantrope"
#define MSG_SELECTION_TOO_LONG "Sorry, the selection is too long."
#define MSG_VERY_LONG_AREA "You selected very long area.\nContinue?"
#define MSG_ONLY_16_BIT "Can only handle 16-bit data."
#define MSG_TOO_FEW_SAMPLES "Too little #samples to work."
#define MSG_FRAME_TOO_SMALL "Can't handle sample frames of less than 2 bytes."
#define MSG_NO_MEMORY "No memory."
#define MSG_CANT_READ "Can't read data."
#define MSG_ONLY_MONO "Select only one channel of stereo data."
#define MSG_CANT_REPAIR "Can't repair this."
#define MSG_NOTHING_FOUND "Nothing looking like click found in this pass."
#define MSG_STATUS_LOOKING "Looking for Click(s) in the Selection"
#define MSG_POSSIBLE_CLICK "Possible click found at sample %ld  (%ld/%ld)\nBase Frequency Verification: %s"
#define MSG_BEST_GUESS "Best guess of the click found at sample %ld\nBase Frequency Verification: %s"
#define MSG_VERIFY_OK "OK"
#define MSG_VERIFY_REJECT "Reject"
#define MSG_REVIEW_QUESTION "\n\nContinue(YES), Stop(NO), Auto(CANCEL)?"
#define DIALOG_CAPTION_PASS "Possible click (Pass %ld)"

// Error icon, no owner window: the run's refusals and failures.
inline void showError(const char *text) { MessageBoxA(nullptr, text, MSG_TITLE, MB_OK | MB_ICONERROR); }
// Error icon, owned by the given window.
inline void showOwnedError(HWND owner, const char *text) { MessageBoxA(owner, text, MSG_TITLE, MB_OK | MB_ICONERROR); }
// Information icon, no owner window: "Can't repair this.".
inline void showInformation(const char *text) { MessageBoxA(nullptr, text, MSG_TITLE, MB_OK | MB_ICONINFORMATION); }
