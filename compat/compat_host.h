// Controls of the Win32 stand-in for the host program and the tests: things a real system would do
// behind the plug-in's back (answer message boxes, fail an allocation, own the profile directory).
// None of these are Win32 calls; the plug-in never includes this header.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
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

// ---- Fault injection: one countdown per fallible call the plug-in makes (and the test host's
// readSamples, which the host asks itself). Each call counts itself; an armed entry makes the nth call
// from now, and the count - 1 calls after it, give the platform's failure value: GlobalAlloc,
// GlobalLock, GetDC and CreatePen null, OpenClipboard FALSE, SetClipboardData null, DialogBoxParamA -1
// with nothing created, SetTimer 0, GetClassNameA 0, GetPrivateProfileStringA the default as for a
// file that cannot be read, WritePrivateProfileStringA FALSE with the file untouched.
enum CompatFallible {
    COMPAT_GLOBAL_ALLOC, COMPAT_GLOBAL_LOCK, COMPAT_OPEN_CLIPBOARD, COMPAT_SET_CLIPBOARD_DATA,
    COMPAT_DIALOG_BOX, COMPAT_GET_DC, COMPAT_CREATE_PEN, COMPAT_SET_TIMER, COMPAT_GET_CLASS_NAME,
    COMPAT_PROFILE_READ, COMPAT_PROFILE_WRITE, COMPAT_READ_SAMPLES,
    COMPAT_FALLIBLE_COUNT
};
void compatFailCall(CompatFallible call, uint32_t nth, uint32_t count = 1); // nth 0 disarms the entry
void compatDisarmFaults();                                    // every entry disarmed, counts kept
uint32_t compatCallCount(CompatFallible call);                // calls since the last reset
bool compatCallFails(CompatFallible call);                    // counts one call; true when it must fail
const char *compatFallibleName(CompatFallible call);

// What is live: every count is 0 after a run that cleaned up, apart from the host's own windows and
// the block the clipboard owns. records counts the GDI and device-context records the stand-in holds
// (stock objects excluded); subclassed counts windows whose procedure was replaced and not given back,
// including windows destroyed that way. hostWindows and hostCanvases count the windows no dialog
// holds (neither a dialog nor a control of one: the host made them) and the canvases of those.
struct CompatLiveCounts {
    int globalBlocks, pens, deviceContexts, timers, capture, subclassed, windows, canvases, records;
    int hostWindows, hostCanvases;
};
CompatLiveCounts compatLiveCounts();
int compatLiveWindows();
int compatLiveCanvases();
int compatLiveHostWindows();
int compatLiveHostCanvases();
int compatGdiRecords();
int compatUnrestoredSubclasses();

// Global memory: the older switches (now entries of the fault table) and a counter of live blocks.
void compatFailGlobalAllocAfter(int successes);               // the allocation after that many succeeds fails
void compatFailNextGlobalAlloc();                             // same as compatFailGlobalAllocAfter(0)
void compatFailNextGlobalAllocs(int failures);                // the next that many allocations fail
int compatLiveGlobalBlocks();

// Windows owned by the host: a frame (optionally of a given class) and children of it.
HWND compatCreateWindow(const char *className, HWND parent, WNDPROC proc, int width, int height);

// The virtual clock that Sleep, timers and message loops advance, in milliseconds.
uint32_t compatClockNow();
void compatClockAdvance(uint32_t milliseconds);

// ---- Message queue, timers, keyboard and clipboard: switches and recorders for the host's transcript.
// Every clipboard text set, WM_COMMAND posted and key event sent is handed to the observer as it was
// made, and kept in the input log; the host formats the transcript's lines from these (app/range_host).
enum CompatInputKind { COMPAT_INPUT_CLIPBOARD, COMPAT_INPUT_POST, COMPAT_INPUT_KEY };
struct CompatInputEvent {
    CompatInputKind kind;  // which call was made
    std::string text;      // clipboard: the CF_TEXT block's text, as bytes
    uint32_t command;      // post: LOWORD(wParam) of the WM_COMMAND, 0..65535
    uint32_t vk;           // key: virtual key, 1..254
    uint32_t scan;         // key: hardware scan code, 0..255
    bool up;               // key: KEYEVENTF_KEYUP was given
};
typedef void (*CompatInputObserver)(const CompatInputEvent &event, void *context);
void compatSetInputObserver(CompatInputObserver observer, void *context);
const std::vector<CompatInputEvent> &compatInputLog();       // the events since the last reset

// Every keybd_event call as made, flags and extra information included.
struct CompatKeyEvent {
    BYTE vk;             // virtual key, 1..254
    BYTE scan;           // hardware scan code
    DWORD flags;         // KEYEVENTF_* bits as given
    ULONG_PTR extra;     // extra information as given
};
const std::vector<CompatKeyEvent> &compatKeyEvents();

// The clipboard's text (CF_TEXT), "" when it holds none. Setting it stands for another program's copy
// (emptied, then text in every format) with a block of the clipboard's own (a live global block);
// clearing frees it. Neither is recorded.
std::string compatClipboardText();
bool compatClipboardHasText();
void compatSetClipboardText(const std::string &text);
void compatClearClipboard();
void compatFailNextOpenClipboard();                           // the next OpenClipboard fails
void compatFailNextSetClipboardData();                        // the next SetClipboardData fails
void compatFailNextGlobalLock();                              // the next GlobalLock gives null
bool compatGlobalBlockLive(HGLOBAL block);                    // allocated and not yet freed

// Key events queue up and go to the window focused when a loop takes them. Ctrl+V into a window of
// class "Edit" pastes the clipboard's text (replacing the whole text after Tab entered the field,
// else appending at the end); Tab moves between tab stops only in a loop that hands its messages to
// IsDialogMessageA, as in Win32.
//
// Timers and the queue. A message loop whose GetMessageA finds no message, no key event and no live
// timer gets 0 (WM_QUIT) instead of waiting for ever; each such end is counted.
int compatLiveTimers();
int compatQueuedMessages();                                   // posted messages waiting
int compatIdleQuits();

// ---- Dialogs, controls, painting, cursors and the GDI canvas ----------------------------------------
// Dialog units become pixels with a fixed base unit of 6 x 13 pixels (the dialog font "MS Sans Serif"
// 8): x * 6 / 4 and y * 13 / 8. Every size the stand-in gives a dialog item follows from these two.
int compatDialogUnitsToPixelsX(int units);
int compatDialogUnitsToPixelsY(int units);

// DialogBoxParamA builds the dialog, sends WM_INITDIALOG, paints it once, then calls the driver, which
// acts through ordinary messages until EndDialog. A dialog the driver leaves open (or that has no
// driver) gets IDCANCEL as Escape would deliver it, and ends with 2 if its procedure still keeps it.
typedef void (*CompatDialogDriver)(HWND dialog, void *context);
void compatSetDialogDriver(CompatDialogDriver driver, void *context);
// Called once the controls exist and before WM_INITDIALOG (tests subclass controls here to record).
typedef void (*CompatDialogCreatedHook)(HWND dialog, void *context);
void compatSetDialogCreatedHook(CompatDialogCreatedHook hook, void *context);
void compatFailNextDialogBox();     // the next DialogBoxParamA returns -1 without creating anything
int compatDialogCount();            // dialogs created since the last reset

// Invalidation and painting. Every InvalidateRect is recorded; compatPumpPaints delivers WM_PAINT to
// each window with an update region, in creation order, until none is left; returns the paints sent.
struct CompatInvalidation {
    HWND window;
    bool whole;       // null rectangle: the whole client area
    RECT rect;        // the rectangle as given (the client rectangle when whole)
    bool erase;
};
const std::vector<CompatInvalidation> &compatInvalidations();
void compatClearInvalidations();
int compatPumpPaints();

// Cursors and capture. Standard cursors have fixed handles; compatCursorId gives back the IDC_ number.
HCURSOR compatCurrentCursor();
int compatCursorId(HCURSOR cursor);                 // 0 for null or unknown
HCURSOR compatClassCursor(const char *className);   // null when the class is not registered

// GDI: one canvas of 32-bit COLORREF pixels per window (row-major, width * height), created on the
// first GetDC filled with the button face colour 0x00C0C0C0. PS_DOT lines draw 3 pixels on, 3 off,
// counted from the pixel a MoveToEx started; rectangle outlines are always solid.
bool compatCanvasPixels(HWND window, std::vector<uint32_t> &pixels, int &width, int &height);
uint32_t compatCanvasPixel(HWND window, int x, int y);   // 0xFFFFFFFF outside the canvas or without one
void compatFailNextCreatePen();     // the next CreatePen returns null
void compatFailNextGetDC();         // the next GetDC returns null
int compatLivePens();               // created pens not yet deleted
int compatLiveDeviceContexts();     // GetDC without ReleaseDC
