// The Windows host's file queries: kinds of names, one file under two names (by volume and file
// index when both exist, else by full path name, case-insensitively), and the profile file: in the
// Windows directory unless the host chose another. Links are left to the system.
#include <windows.h>
#include "app/host_platform.h"
#include "profile_redirect.h"

int32_t platformFileKind(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FILE_MISSING;
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? FILE_DIRECTORY : FILE_REGULAR;
}

std::string platformFollowLinks(const std::string &path) { return path; }

static bool fileIdentity(const std::string &path, BY_HANDLE_FILE_INFORMATION *facts)
{
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = GetFileInformationByHandle(file, facts) != 0;
    CloseHandle(file);
    return ok;
}

static std::string fullName(const std::string &path)
{
    char full[MAX_PATH * 4];
    DWORD length = GetFullPathNameA(path.c_str(), (DWORD)sizeof full, full, nullptr);
    std::string name = length > 0 && length < sizeof full ? std::string(full, length) : path;
    CharLowerBuffA(&name[0], (DWORD)name.size());
    return name;
}

bool platformSameFile(const std::string &a, const std::string &b)
{
    BY_HANDLE_FILE_INFORMATION first, second;
    bool haveFirst = fileIdentity(a, &first), haveSecond = fileIdentity(b, &second);
    if (haveFirst && haveSecond)
        return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
               first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
    if (haveFirst != haveSecond)
        return false;
    return fullName(a) == fullName(b);
}

std::string platformSettingsPath()
{
    if (!profileRedirectPath().empty())
        return profileRedirectPath();
    char directory[MAX_PATH];
    UINT length = GetWindowsDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return "";
    return std::string(directory, length) + "\\Vantrope.ini";
}
