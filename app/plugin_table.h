// The one table of function pointers through which the host calls the plug-in, as an editor does
// after loading it: natively the linked-in exports, on Windows GetProcAddress of Vantrope.xfm.
#pragma once
#include <cstdint>
#include "plugin/platform.h"
#include "plugin/xfm_types.h"

typedef int32_t(WINAPI *QueryXfmProc)(XfmInfo *info);
typedef int32_t(WINAPI *XfmInitProc)(int32_t unused);
typedef int32_t(WINAPI *XfmSetupProc)(HWND window, HINSTANCE instance, XfmWave *wave);
typedef int32_t(WINAPI *XfmDoProc)(XfmWave *wave);

struct PluginTable {
    QueryXfmProc queryXfm;    // fills XfmInfo; low 16 bits of the result 0x0480
    XfmInitProc xfmInit;      // returns 1
    XfmSetupProc xfmSetup;    // 1 = go ahead
    XfmDoProc xfmDo;          // 1 = run completed
    XfmInitProc xfmDestroy;   // returns 1
    HINSTANCE instance;       // the plug-in's module instance (its resources); null natively
};
