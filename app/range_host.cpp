// The recognised editor's behaviour, shared by both builds: the frame's range command, the modal
// range dialog's loop (dialog-message dispatch so that Tab moves between the fields, an idle timeout,
// the end once the end field has its value), the range and clipboard-after events, and the filter
// that keeps the host's own input calls out of the transcript. Owns the subclassed procedures, the
// range command, the timeout, the per-run clipboard flag, the own-input depth and the test hook.
#include "range_host.h"
#include <cstdint>
#include "transcript.h"

enum {
    RANGE_TIMEOUT_TIMER = 0x5254, // id of the range dialog's idle timer
    FIELD_TEXT_SIZE = 256
};

static HWND frameWindow = nullptr;
static WNDPROC frameOriginal = nullptr;
static WNDPROC childOriginal = nullptr;
static uint32_t rangeCommand = 0;               // 0: the frame has no range command
static uint32_t idleTimeoutMs = RANGE_TIMEOUT_DEFAULT_MS;
static bool clipboardSetInRun = false;
static int32_t ownInputDepth = 0;
static bool closeRequested = false;
static int32_t dialogsOpened = 0;
static RangeOpenHook openHook = nullptr;
static void *openHookContext = nullptr;

uint32_t rangeCommandForClass(const std::string &frameClass)
{
    if (frameClass == "COOL2000SS")
        return RANGE_COMMAND_COOL2000SS;
    if (frameClass == "COOL96")
        return RANGE_COMMAND_COOL96;
    return 0;
}

std::string rangeValueJson(const std::string &fieldText)
{
    size_t at = 0;
    bool negative = false;
    if (at < fieldText.size() && (fieldText[at] == '-' || fieldText[at] == '+'))
        negative = fieldText[at++] == '-';
    size_t significant = at;
    while (significant < fieldText.size() && fieldText[significant] == '0')
        significant++;
    // More than ten significant digits never fit; the bound also keeps the sum below from overflowing.
    if (at == fieldText.size() || fieldText.size() - significant > 10)
        return jsonString(fieldText.c_str());
    int64_t value = 0;
    for (; at < fieldText.size(); at++) {
        char c = fieldText[at];
        if (c < '0' || c > '9')
            return jsonString(fieldText.c_str());
        value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return jsonString(fieldText.c_str());
    return std::to_string(value);
}

std::string clipboardEventJson(const char *text)
{
    return "{\"event\":\"clipboard\",\"text\":" + jsonString(text) + "}";
}

std::string postEventJson(uint32_t command)
{
    return "{\"event\":\"post\",\"command\":" + std::to_string(command) + "}";
}

std::string keyEventJson(uint32_t vk, uint32_t scan, bool up)
{
    return "{\"event\":\"key\",\"vk\":" + std::to_string(vk) + ",\"scan\":" + std::to_string(scan) +
           ",\"up\":" + (up ? "true" : "false") + "}";
}

void rangeHostNoteInput(const char *kind, const std::string &json)
{
    if (ownInputDepth > 0)
        return;
    if (std::string(kind) == "clipboard")
        clipboardSetInRun = true;
    transcriptEvent(json);
}

void hostOwnInputBegin() { ownInputDepth++; }

void hostOwnInputEnd()
{
    if (ownInputDepth > 0)
        ownInputDepth--;
}

void rangeDialogCloseRequested() { closeRequested = true; }

void rangeHostSetOpenHook(RangeOpenHook hook, void *context)
{
    openHook = hook;
    openHookContext = context;
}

int32_t rangeHostDialogsOpened() { return dialogsOpened; }

void rangeHostRunEnded()
{
    if (!clipboardSetInRun)
        return;
    clipboardSetInRun = false;
    std::string text;
    bool held = rangeHostClipboardText(&text);
    transcriptEvent(std::string("{\"event\":\"clipboard-after\",\"text\":") +
                    (held ? jsonString(text.c_str()) : std::string("null")) + "}");
}

static std::string fieldText(HWND field)
{
    char text[FIELD_TEXT_SIZE];
    text[0] = '\0';
    GetWindowTextA(field, text, FIELD_TEXT_SIZE);
    text[FIELD_TEXT_SIZE - 1] = '\0';
    return text;
}

// Whether the dialog's loop is over after msg was taken (before it is dispatched).
static bool endsLoop(const MSG &msg, HWND dialog)
{
    // The idle timer is the dialog's own: it is never dispatched, so no procedure sees it.
    return msg.message == WM_TIMER && msg.hwnd == dialog && msg.wParam == RANGE_TIMEOUT_TIMER;
}

// The modal loop. It ends once the end field has changed (the second value arrived) and everything
// that came with it (the rest of the keystrokes) has been taken, at the idle timeout, at a close
// request, or at WM_QUIT, which is posted again for the loop that owns it.
static void runRangeLoop(HWND dialog, HWND endField)
{
    std::string initialEnd = fieldText(endField);
    bool arrived = false;
    MSG msg;
    while (!closeRequested) {
        if (arrived && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            return;
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0)
            PostQuitMessage((int)msg.wParam);
        if (got <= 0 || endsLoop(msg, dialog))
            return;
        // Input keeps the dialog open: the idle time counts from the last key.
        if (msg.message == WM_KEYDOWN)
            SetTimer(dialog, RANGE_TIMEOUT_TIMER, idleTimeoutMs, nullptr);
        if (!IsDialogMessageA(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (!arrived && IsWindow(endField) && fieldText(endField) != initialEnd)
            arrived = true;
    }
}

static void runRangeDialog()
{
    HWND startField = nullptr, endField = nullptr;
    HWND dialog = rangeDialogCreate(frameWindow, &startField, &endField);
    if (!dialog)
        return;
    dialogsOpened++;
    closeRequested = false;
    EnableWindow(frameWindow, FALSE);
    SetTimer(dialog, RANGE_TIMEOUT_TIMER, idleTimeoutMs, nullptr);
    if (openHook)
        openHook(dialog, openHookContext);
    runRangeLoop(dialog, endField);
    KillTimer(dialog, RANGE_TIMEOUT_TIMER);
    transcriptEvent("{\"event\":\"range\",\"start\":" + rangeValueJson(fieldText(startField)) +
                    ",\"end\":" + rangeValueJson(fieldText(endField)) + "}");
    // The owner comes back before the dialog goes, so that the activation returns to it.
    EnableWindow(frameWindow, TRUE);
    rangeDialogDestroy(dialog);
    closeRequested = false;
}

static LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && rangeCommand != 0 && LOWORD(wParam) == rangeCommand) {
        runRangeDialog();
        return 0;
    }
    return CallWindowProcA(frameOriginal, window, message, wParam, lParam);
}

// The view hands menu commands to its frame, as an editor's document window does.
static LRESULT CALLBACK childProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && frameWindow)
        return SendMessageA(frameWindow, message, wParam, lParam);
    return CallWindowProcA(childOriginal, window, message, wParam, lParam);
}

void rangeHostAttach(const std::string &frameClass, HWND frame, HWND child, uint32_t timeoutMs)
{
    frameWindow = frame;
    rangeCommand = rangeCommandForClass(frameClass);
    idleTimeoutMs = timeoutMs < 10 ? 10 : timeoutMs;
    clipboardSetInRun = false;
    ownInputDepth = 0;
    closeRequested = false;
    dialogsOpened = 0;
    frameOriginal = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(frameProc)));
    childOriginal = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(childProc)));
    rangeHostObserveInput();
}
