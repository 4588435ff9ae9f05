// Calling conventions of the host interface: stdcall on 32-bit Windows, the default natively.
// The single place that tells the two builds apart by a preprocessor test.
#pragma once

#ifdef _WIN32
#define XFM_STDCALL __stdcall
#define XFM_CDECL __cdecl
#else
#define XFM_STDCALL
#define XFM_CDECL
#endif
