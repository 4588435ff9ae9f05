// The native host's file queries: kinds of names, links followed to where a write lands, one file
// under two names, and where the stand-in keeps the plug-in's settings.
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include "app/host_platform.h"
#include "compat_host.h"

enum { MAX_LINK_HOPS = 40 };

int32_t platformFileKind(const std::string &path)
{
    struct stat facts;
    if (stat(path.c_str(), &facts) != 0)
        return FILE_MISSING;
    if (S_ISREG(facts.st_mode))
        return FILE_REGULAR;
    if (S_ISDIR(facts.st_mode))
        return FILE_DIRECTORY;
    if (S_ISCHR(facts.st_mode))
        return FILE_CHARACTER_DEVICE;
    if (S_ISFIFO(facts.st_mode))
        return FILE_FIFO;
    return FILE_OTHER;
}

static std::string directoryOf(const std::string &path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

std::string platformFollowLinks(const std::string &path)
{
    std::string current = path;
    for (int32_t hop = 0; hop < MAX_LINK_HOPS; hop++) {
        char target[PATH_MAX];
        ssize_t length = readlink(current.c_str(), target, sizeof target - 1);
        if (length <= 0)
            return current;
        target[length] = '\0';
        // A relative target is relative to the link's own directory.
        current = target[0] == '/' ? std::string(target) : directoryOf(current) + target;
    }
    return current;
}

// The absolute name of path: its directory resolved, its last part as given.
static std::string absoluteName(const std::string &path)
{
    std::string followed = platformFollowLinks(path);
    std::string directory = directoryOf(followed);
    std::string last = followed.substr(directory.size());
    char resolved[PATH_MAX];
    if (!realpath(directory.empty() ? "." : directory.c_str(), resolved))
        return followed;
    return std::string(resolved) + "/" + last;
}

bool platformSameFile(const std::string &a, const std::string &b)
{
    struct stat first, second;
    bool haveFirst = stat(a.c_str(), &first) == 0, haveSecond = stat(b.c_str(), &second) == 0;
    if (haveFirst && haveSecond)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    if (haveFirst != haveSecond)
        return false;
    return absoluteName(a) == absoluteName(b);
}

std::string platformSettingsPath() { return compatResolveProfilePath("Vantrope.ini"); }
