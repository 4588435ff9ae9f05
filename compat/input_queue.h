// Seams between the stand-in's input files: the posted-message queue (message_queue.cpp), thread and
// window timers (timers.cpp), synthetic keyboard input (keyboard.cpp), the clipboard (clipboard.cpp)
// and the recorder of what crosses the host boundary (input_record.cpp). Internal to compat/.
#pragma once
#include <string>
#include "compat_host.h"
#include "windows.h"

// True when msg's window and number pass a GetMessageA/PeekMessageA filter (null window, 0..0 = all).
bool compatMessageMatches(const MSG &msg, HWND window, UINT first, UINT last);

// Appends a message to the posted queue without recording it (TranslateMessage, timers use it).
void compatQueueMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Keyboard: the oldest pending key event as a message for the window that has the focus now. With
// remove, the event is consumed and the synchronous key state follows it. False when none waits.
bool compatTakeKeyMessage(MSG *msg, bool remove, HWND window, UINT first, UINT last);
// What an edit control does with a typed character the stand-in models (Ctrl+V pastes). True when
// the message was handled here and must not reach the window procedure.
bool compatKeyboardDispatch(const MSG &msg);
// True while the virtual key is down in the synchronous key state.
bool compatKeyIsDown(BYTE vk);

// Timers: a due timer as a WM_TIMER message. With remove, the timer is re-armed one period later.
bool compatTakeTimerMessage(MSG *msg, bool remove, HWND window, UINT first, UINT last);
// Milliseconds until the earliest live timer that passes the filter is due (0 when one is due now);
// false when no such timer lives.
bool compatNextTimerDelay(uint32_t *delay, HWND window, UINT first, UINT last);
// The callback of a live timer (window, id) when it equals proc; null otherwise.
TIMERPROC compatLiveTimerProc(HWND window, UINT_PTR id, TIMERPROC proc);

// The text of a CF_TEXT block, read only within the block's allocation.
std::string compatBlockText(HANDLE block);
// The text an edit control pastes: the clipboard's Unicode text, rendered from CF_TEXT on first use
// and kept until the clipboard is emptied. False when the clipboard holds no text.
bool compatClipboardPasteText(std::string *text);

// Recorder: hands the event to the host's observer and keeps it in the input log.
void compatRecordInput(const CompatInputEvent &event);

// Per-file resets that compatReset runs (reset.cpp).
void compatResetQueue();
void compatResetTimers();
void compatResetKeyboard();
void compatResetClipboard();
void compatResetInputRecord();
