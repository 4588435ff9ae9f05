// QueryXfm, XfmInit (also exported as XfmDestroy) and XfmSetup. XfmDo lives with the run driver.
#include <cstring>
#include "messages.h"
#include "module_state.h"
#include "xfm.h"

enum : uint32_t {
    SELECTION_REFUSED = 0x7FFFFFFF,   // this many samples or more cannot be addressed
    SELECTION_ASK_ABOVE = 3528000     // longer selections need the user's consent
};

// Copies text into a field of the given width and zero-fills the rest, so no stale host bytes remain.
static void writeInfoText(char *field, size_t width, const char *text)
{
    memset(field, 0, width);
    strncpy(field, text, width - 1);
}

int32_t WINAPI QueryXfm(XfmInfo *info)
{
    writeInfoText(info->name, XFM_NAME_WIDTH, PLUGIN_NAME);
    writeInfoText(info->credit, XFM_CREDIT_WIDTH, PLUGIN_CREDIT);
    writeInfoText(info->title, XFM_TITLE_WIDTH, PLUGIN_NAME);
    info->version = 4;
    info->flags = 17;
    info->reserved = 0;
    writeInfoText(info->extra, XFM_EXTRA_WIDTH, "");
    info->hostText[0] = '\0';
    return QUERY_XFM_RESULT;
}

int32_t WINAPI XfmInit(int32_t unused)
{
    (void)unused;
    return 1;
}

int32_t WINAPI XfmSetup(HWND window, HINSTANCE instance, XfmWave *wave)
{
    hostWindow = window;
    hostInstance = instance;
    hostKind = detectHost(window);
    uint32_t count = wave->selEnd - wave->selStart + 1u;
    if (count >= SELECTION_REFUSED) {
        MessageBoxA(window, MSG_SELECTION_TOO_LONG, MSG_TITLE, MB_OK | MB_ICONERROR);
        return 0;
    }
    if (count > SELECTION_ASK_ABOVE &&
        MessageBoxA(window, MSG_VERY_LONG_AREA, MSG_TITLE, MB_YESNO | MB_ICONQUESTION) == IDNO)
        return 0;
    return 1;
}
