// The plug-in's settings file on Windows: its KERNEL32 imports of GetPrivateProfileStringA and
// WritePrivateProfileStringA are patched to these, which pass a bare "Vantrope.ini" on as the file the
// host chose (--settings-dir, or a run's private copy) and everything else unchanged. Until the host
// chooses one the plug-in keeps its file where Windows puts it. Owns the real functions' addresses and
// the chosen file.
#pragma once
#include <string>
#include <windows.h>

typedef DWORD(WINAPI *GetProfileStringProc)(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR out, DWORD size,
                                            LPCSTR file);
typedef BOOL(WINAPI *WriteProfileStringProc)(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file);

extern GetProfileStringProc realGetProfileString;
extern WriteProfileStringProc realWriteProfileString;

DWORD WINAPI redirectedGetProfileString(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR out, DWORD size,
                                        LPCSTR file);
BOOL WINAPI redirectedWriteProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file);

// Sends the plug-in's settings file to dir\Vantrope.ini, making dir when it does not exist. Returns
// true, or false with a reason.
bool profileRedirectTo(const std::string &dir, std::string *error);

// The file the plug-in's settings go to now: the chosen one, or "" while none is chosen.
std::string profileRedirectPath();
