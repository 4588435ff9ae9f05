// Kernel services of the stand-in: global memory, private-profile files, sleeping, formatted text.
#pragma once
#include "win_types.h"

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GMEM_DDESHARE 0x2000
#define GMEM_SHARE 0x2000

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes);
LPVOID WINAPI GlobalLock(HGLOBAL block);
BOOL WINAPI GlobalUnlock(HGLOBAL block);
HGLOBAL WINAPI GlobalFree(HGLOBAL block);

// A bare file name resolves in the profile directory the host set (compat_host.h).
DWORD WINAPI GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR out, DWORD size,
                                      LPCSTR file);
BOOL WINAPI WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file);

// Advances the stand-in's virtual clock; nothing really waits.
void WINAPI Sleep(DWORD milliseconds);
DWORD WINAPI GetTickCount(void);

// %d, %ld, %u, %lu, %x, %lx, %s, %c and %% with Win32's 32-bit reading of the l modifier.
int __cdecl wsprintfA(LPSTR out, LPCSTR format, ...);
int WINAPI lstrlenA(LPCSTR text);
