// The plug-in's five exports, as the host calls them (stdcall, undecorated names, ordinals 2 to 6 in
// Vantrope.def). Natively the host program links them directly.
#pragma once
#include <cstdint>
#include "platform.h"
#include "xfm_types.h"

enum { QUERY_XFM_RESULT = 0x0480 };

extern "C" {
// Fills info and returns 0x0480 in the low 16 bits.
int32_t WINAPI QueryXfm(XfmInfo *info);
// Returns 1 and does nothing else; the .def exports it a second time as XfmDestroy.
int32_t WINAPI XfmInit(int32_t unused);
// Records the host window and instance, recognises the host and checks the selection's length.
// 1 = go ahead, 0 = refused.
int32_t WINAPI XfmSetup(HWND window, HINSTANCE instance, XfmWave *wave);
// One search run over the selection: 1 = completed (or too short), 0 = refused.
int32_t WINAPI XfmDo(XfmWave *wave);
}

// XfmDestroy is the very same routine as XfmInit.
#define XfmDestroy XfmInit
