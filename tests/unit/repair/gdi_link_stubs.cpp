// Weak stand-ins for the graphics calls, so that this binary links while no canvas provides them;
// any real definition linked in takes their place. They draw nothing and report success.
#include <windows.h>

extern "C++" {
__attribute__((weak)) HGDIOBJ WINAPI GetStockObject(int) { return nullptr; }
__attribute__((weak)) HGDIOBJ WINAPI SelectObject(HDC, HGDIOBJ) { return nullptr; }
__attribute__((weak)) BOOL WINAPI DeleteObject(HGDIOBJ) { return TRUE; }
__attribute__((weak)) HPEN WINAPI CreatePen(int, int, COLORREF) { return nullptr; }
__attribute__((weak)) BOOL WINAPI Rectangle(HDC, int, int, int, int) { return TRUE; }
__attribute__((weak)) BOOL WINAPI MoveToEx(HDC, int, int, LPPOINT) { return TRUE; }
__attribute__((weak)) BOOL WINAPI LineTo(HDC, int, int) { return TRUE; }
}
