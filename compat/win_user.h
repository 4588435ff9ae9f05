// User-interface subset of the stand-in: windows, messages, dialogs, controls, cursors, timers,
// the clipboard and synthetic input. One declaration per emulated call; departures from Win32 are noted.
#pragma once
#include "win_types.h"

// Messages
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_SIZE 0x0005
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_SETCURSOR 0x0020
#define WM_DRAWITEM 0x002B
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_TIMER 0x0113
#define WM_HSCROLL 0x0114
#define WM_VSCROLL 0x0115
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_RBUTTONDBLCLK 0x0206
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MBUTTONDBLCLK 0x0209
#define WM_PASTE 0x0302
#define WM_USER 0x0400

// Message boxes
#define MB_OK 0x00000000
#define MB_OKCANCEL 0x00000001
#define MB_YESNOCANCEL 0x00000003
#define MB_YESNO 0x00000004
#define MB_ICONHAND 0x00000010
#define MB_ICONERROR 0x00000010
#define MB_ICONQUESTION 0x00000020
#define MB_ICONEXCLAMATION 0x00000030
#define MB_ICONINFORMATION 0x00000040
#define MB_ICONMASK 0x000000F0
#define MB_TYPEMASK 0x0000000F
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

// Window styles
#define WS_OVERLAPPED 0x00000000
#define WS_POPUP 0x80000000
#define WS_CHILD 0x40000000
#define WS_VISIBLE 0x10000000
#define WS_DISABLED 0x08000000
#define WS_CAPTION 0x00C00000
#define WS_BORDER 0x00800000
#define WS_SYSMENU 0x00080000
#define WS_GROUP 0x00020000
#define WS_TABSTOP 0x00010000
#define WS_EX_STATICEDGE 0x00020000
#define DS_MODALFRAME 0x80
#define DS_SETFONT 0x40
#define DS_CENTER 0x0800
#define BS_PUSHBUTTON 0x0000
#define BS_AUTOCHECKBOX 0x0003
#define BS_GROUPBOX 0x0007
#define BS_OWNERDRAW 0x000B
#define BS_FLAT 0x8000
#define ES_AUTOHSCROLL 0x0080
#define SS_CENTER 0x0001
#define SS_RIGHT 0x0002
#define SBS_HORZ 0x0000
#define SBS_VERT 0x0001

// Controls
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_CLICK 0x00F5
#define BST_UNCHECKED 0
#define BST_CHECKED 1
#define BN_CLICKED 0
#define SBM_SETPOS 0x00E0
#define SBM_GETPOS 0x00E1
#define SBM_SETRANGE 0x00E2
#define SBM_GETRANGE 0x00E3
#define SB_LINEUP 0
#define SB_LINELEFT 0
#define SB_LINEDOWN 1
#define SB_LINERIGHT 1
#define SB_PAGEUP 2
#define SB_PAGELEFT 2
#define SB_PAGEDOWN 3
#define SB_PAGERIGHT 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define SB_TOP 6
#define SB_LEFT 6
#define SB_BOTTOM 7
#define SB_RIGHT 7
#define SB_ENDSCROLL 8

// Window and class longs, cursors. As on 64-bit Windows, procedures and cursors are pointer-sized and
// are reached only through the ...LongPtr calls and their GWLP_/GCLP_ indices.
#define GWLP_WNDPROC (-4)
#define GWL_ID (-12)
#define GWL_STYLE (-16)
#define GCLP_HCURSOR (-12)
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IDC_SIZEWE MAKEINTRESOURCEA(32644)

// Message queue, clipboard, keyboard
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define CF_TEXT 1
#define KEYEVENTF_KEYUP 0x0002
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_CONTROL 0x11
#define VK_ESCAPE 0x1B

// Windows and classes
HWND WINAPI GetParent(HWND window);
int WINAPI GetClassNameA(HWND window, LPSTR name, int size);
BOOL WINAPI IsWindow(HWND window);
BOOL WINAPI DestroyWindow(HWND window);
LONG WINAPI GetWindowLongA(HWND window, int index);                // GWL_ID, GWL_STYLE
LONG WINAPI SetWindowLongA(HWND window, int index, LONG value);
LONG_PTR WINAPI GetWindowLongPtrA(HWND window, int index);         // also GWLP_WNDPROC
LONG_PTR WINAPI SetWindowLongPtrA(HWND window, int index, LONG_PTR value);
ULONG_PTR WINAPI SetClassLongPtrA(HWND window, int index, LONG_PTR value); // GCLP_HCURSOR
LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text);
int WINAPI GetWindowTextA(HWND window, LPSTR text, int size);
BOOL WINAPI EnableWindow(HWND window, BOOL enable);
BOOL WINAPI IsWindowEnabled(HWND window);
HWND WINAPI SetFocus(HWND window);
HWND WINAPI GetFocus(void);
BOOL WINAPI GetClientRect(HWND window, LPRECT rect);
BOOL WINAPI InvalidateRect(HWND window, const RECT *rect, BOOL erase);

// Message boxes: answered by the responder the host set, and recorded.
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR title, UINT flags);

// Dialogs. The template name is looked up in the stand-in's table of dialog templates.
INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM param);
BOOL WINAPI EndDialog(HWND dialog, INT_PTR result);
HWND WINAPI GetDlgItem(HWND dialog, int id);
BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR text, int size);
BOOL WINAPI SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
UINT WINAPI GetDlgItemInt(HWND dialog, int id, BOOL *translated, BOOL isSigned);
BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check);
UINT WINAPI IsDlgButtonChecked(HWND dialog, int id);
LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG msg);

// Cursors and mouse capture
HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name);
HCURSOR WINAPI SetCursor(HCURSOR cursor);
HWND WINAPI SetCapture(HWND window);
BOOL WINAPI ReleaseCapture(void);
HWND WINAPI GetCapture(void);

// Device contexts of windows
HDC WINAPI GetDC(HWND window);
int WINAPI ReleaseDC(HWND window, HDC dc);

// Message queue and timers (virtual clock)
BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT first, UINT last, UINT remove);
BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT first, UINT last);
BOOL WINAPI TranslateMessage(const MSG *msg);
LRESULT WINAPI DispatchMessageA(const MSG *msg);
void WINAPI PostQuitMessage(int code);
UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL WINAPI KillTimer(HWND window, UINT_PTR id);

// Clipboard
BOOL WINAPI OpenClipboard(HWND owner);
BOOL WINAPI CloseClipboard(void);
BOOL WINAPI EmptyClipboard(void);
HANDLE WINAPI SetClipboardData(UINT format, HANDLE data);
HANDLE WINAPI GetClipboardData(UINT format);

// Synthetic keyboard input: delivered to the focused window and recorded.
void WINAPI keybd_event(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra);
