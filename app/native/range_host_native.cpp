// The native half of the recognised editor: the range dialog built from stand-in windows (an edit
// field is a window of class "Edit", which pastes and takes Tab focus as the stand-in models it), the
// clipboard read back from the stand-in, and the stand-in's raw input events written to the transcript.
// Owns no state of its own.
#include "app/range_host.h"
#include "compat_host.h"

enum { FIELD_WIDTH = 80, FIELD_HEIGHT = 20 };

static HWND makeChild(HWND parent, const char *className, const char *text, DWORD extraStyle)
{
    HWND child = compatCreateWindow(className, parent, nullptr, FIELD_WIDTH, FIELD_HEIGHT);
    if (!child)
        return nullptr;
    SetWindowLongA(child, GWL_STYLE, (LONG_PTR)(WS_CHILD | WS_VISIBLE | extraStyle));
    SetWindowTextA(child, text);
    return child;
}

HWND rangeDialogCreate(HWND owner, HWND *startField, HWND *endField)
{
    (void)owner;
    HWND dialog = compatCreateWindow("VantropeRangeDialog", nullptr, DefWindowProcA, 260, 110);
    if (!dialog)
        return nullptr;
    SetWindowTextA(dialog, "Range");
    makeChild(dialog, "Static", "Start:", 0);
    *startField = makeChild(dialog, "Edit", "", WS_TABSTOP);
    makeChild(dialog, "Static", "End:", 0);
    *endField = makeChild(dialog, "Edit", "", WS_TABSTOP);
    if (!*startField || !*endField) {
        DestroyWindow(dialog);
        return nullptr;
    }
    SetFocus(*startField);
    return dialog;
}

void rangeDialogDestroy(HWND dialog) { DestroyWindow(dialog); }

bool rangeHostClipboardText(std::string *text)
{
    if (!compatClipboardHasText())
        return false;
    *text = compatClipboardText();
    return true;
}

// The stand-in reports each call raw; its transcript line is written here as on Windows.
static void observeInput(const CompatInputEvent &event, void *context)
{
    (void)context;
    switch (event.kind) {
    case COMPAT_INPUT_CLIPBOARD:
        rangeHostNoteInput("clipboard", clipboardEventJson(event.text.c_str()));
        break;
    case COMPAT_INPUT_POST:
        rangeHostNoteInput("post", postEventJson(event.command));
        break;
    case COMPAT_INPUT_KEY:
        rangeHostNoteInput("key", keyEventJson(event.vk, event.scan, event.up));
        break;
    }
}

void rangeHostObserveInput() { compatSetInputObserver(observeInput, nullptr); }
