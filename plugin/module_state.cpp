// The plug-in frame's module state and host recognition.
#include "module_state.h"
#include <cstring>
#include "xfm_types.h"

HWND hostWindow = nullptr;
HINSTANCE hostInstance = nullptr;
int32_t hostKind = HOST_NONE;
char textBuffer[TEXT_BUFFER_SIZE];

int32_t detectHost(HWND window)
{
    if (!window)
        return HOST_NONE;
    HWND frame = GetParent(window);
    if (!frame)
        frame = window;
    char className[128];
    if (GetClassNameA(frame, className, sizeof className) == 0)
        return HOST_NONE;
    className[sizeof className - 1] = '\0';
    if (strcmp(className, "COOL2000SS") == 0)
        return HOST_COOL2000SS;
    if (strcmp(className, "COOL96") == 0)
        return HOST_COOL96;
    return HOST_NONE;
}
