// Win32 base types and calling conventions for the native stand-in.
// Every width follows 32-bit Windows: LONG and DWORD are 32 bits here too, never `long`.
// Handles are distinct opaque pointer types, so mixing them up is a compile error.
#pragma once
#include <cstddef>
#include <cstdint>

#define WINAPI
#define CALLBACK
#define APIENTRY
#define __stdcall
#define __cdecl

typedef int32_t BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t UINT;
typedef int32_t INT;
typedef char CHAR;
typedef char *LPSTR;
typedef const char *LPCSTR;
typedef void *LPVOID;
typedef const void *LPCVOID;
typedef size_t SIZE_T;
// Pointer-sized values: on 32-bit Windows these are 32 bits, natively they hold a pointer.
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef uint32_t COLORREF;

#define DECLARE_COMPAT_HANDLE(name) \
    struct name##__ {               \
        int unused;                 \
    };                              \
    typedef struct name##__ *name

DECLARE_COMPAT_HANDLE(HWND);
DECLARE_COMPAT_HANDLE(HINSTANCE);
DECLARE_COMPAT_HANDLE(HDC);
DECLARE_COMPAT_HANDLE(HGDIOBJ);
DECLARE_COMPAT_HANDLE(HCURSOR);
DECLARE_COMPAT_HANDLE(HMENU);
typedef HINSTANCE HMODULE;
typedef void *HGLOBAL;
typedef void *HANDLE;
// GDI objects share one handle space, as in Win32 where SelectObject takes any of them.
typedef HGDIOBJ HPEN;
typedef HGDIOBJ HBRUSH;

#define TRUE 1
#define FALSE 0

#define LOWORD(l) ((WORD)(((ULONG_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((ULONG_PTR)(l)) >> 16) & 0xffff))
#define MAKELONG(a, b) ((LONG)(((WORD)(((ULONG_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((ULONG_PTR)(b)) & 0xffff))) << 16))
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))

typedef LRESULT(CALLBACK *WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef INT_PTR(CALLBACK *DLGPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void(CALLBACK *TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef RECT *LPRECT;

struct POINT {
    LONG x;
    LONG y;
};
typedef POINT *LPPOINT;

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
typedef MSG *LPMSG;
