// The host's observers of the plug-in's steering calls on Windows: its USER32 imports of
// SetClipboardData, PostMessageA and keybd_event are patched to these, which record the call in the
// transcript and call through to the real function. Owns the real functions' addresses.
#pragma once
#include <windows.h>

typedef HANDLE(WINAPI *SetClipboardDataProc)(UINT format, HANDLE data);
typedef BOOL(WINAPI *PostMessageProc)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
typedef void(WINAPI *KeybdEventProc)(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra);

// The real functions; the import patcher stores the addresses it replaced here.
extern SetClipboardDataProc realSetClipboardData;
extern PostMessageProc realPostMessage;
extern KeybdEventProc realKeybdEvent;

// Records {"event":"clipboard","text":...} for a CF_TEXT block (its text read before the clipboard
// takes it over), then sets the data. Result as SetClipboardData's.
HANDLE WINAPI observedSetClipboardData(UINT format, HANDLE data);

// Records {"event":"post","command":N} for WM_COMMAND, then posts. Result as PostMessageA's.
BOOL WINAPI observedPostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Records {"event":"key",...}, then sends the key event.
void WINAPI observedKeybdEvent(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra);
