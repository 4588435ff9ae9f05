// The plug-in's private-profile calls on Windows, passed on with "Vantrope.ini" replaced by the file the
// host chose. Owns the real routines and the chosen file.
#include "profile_redirect.h"

GetProfileStringProc realGetProfileString = GetPrivateProfileStringA;
WriteProfileStringProc realWriteProfileString = WritePrivateProfileStringA;

static std::string chosenFile;

// The file to use instead of file: the chosen one for the plug-in's bare name, else file itself.
static LPCSTR redirected(LPCSTR file)
{
    if (!file || chosenFile.empty() || lstrcmpiA(file, "Vantrope.ini") != 0)
        return file;
    return chosenFile.c_str();
}

DWORD WINAPI redirectedGetProfileString(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR out, DWORD size,
                                        LPCSTR file)
{
    return realGetProfileString(section, key, fallback, out, size, redirected(file));
}

BOOL WINAPI redirectedWriteProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file)
{
    return realWriteProfileString(section, key, value, redirected(file));
}

bool profileRedirectTo(const std::string &dir, std::string *error)
{
    char full[MAX_PATH * 4];
    DWORD length = GetFullPathNameA(dir.c_str(), (DWORD)sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full) {
        *error = dir + ": not a usable directory name";
        return false;
    }
    std::string directory(full, length);
    DWORD attributes = GetFileAttributesA(directory.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES && !CreateDirectoryA(directory.c_str(), nullptr)) {
        *error = dir + ": cannot make the settings directory (error " + std::to_string((unsigned)GetLastError()) + ")";
        return false;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        *error = dir + ": not a directory";
        return false;
    }
    char last = directory.empty() ? '\\' : directory.back();
    chosenFile = directory + (last == '\\' || last == '/' ? "" : "\\") + "Vantrope.ini";
    return true;
}

std::string profileRedirectPath() { return chosenFile; }
