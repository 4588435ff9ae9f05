// Private-profile (INI) files for the stand-in, with the Win32 rules the plug-in relies on: a missing
// file, section or key gives the default; sections and keys match case-insensitively; values are
// trimmed of surrounding blanks and one pair of quotes; writes keep the rest of the file as it was.
// A bare file name resolves in the profile directory (default: the user's configuration directory).
// A write builds the whole new file beside the old one and renames it over it, so that a process
// killed at any moment leaves either the old file or the new one, never a truncated one.
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "compat_host.h"
#include "window_table.h"

static std::string profileDirectory;

void compatResetProfile() { profileDirectory.clear(); }
void compatSetProfileDirectory(const std::string &dir) { profileDirectory = dir; }

std::string compatProfileDirectory()
{
    if (!profileDirectory.empty())
        return profileDirectory;
    const char *xdg = getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg)
        return std::string(xdg) + "/vantrope";
    const char *home = getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/vantrope";
}

std::string compatResolveProfilePath(const char *file)
{
    if (strchr(file, '/') || strchr(file, '\\'))
        return file;
    return compatProfileDirectory() + "/" + file;
}

static std::string trim(const std::string &text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t' || text[begin] == '\r'))
        begin++;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r'))
        end--;
    return text.substr(begin, end - begin);
}

// The file's lines. *raw, when asked for, gets the file's bytes as they are; *unreadable is set when
// the file exists but cannot be read.
static std::vector<std::string> readLines(const std::string &path, std::string *raw = nullptr,
                                          bool *unreadable = nullptr)
{
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    if (unreadable)
        *unreadable = !in && access(path.c_str(), F_OK) == 0;
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::string text = bytes.str();
    if (raw)
        *raw = text;
    std::istringstream split(text);
    std::string line;
    while (std::getline(split, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The section name of a "[name]" line, or false.
static bool sectionOf(const std::string &line, std::string &name)
{
    std::string t = trim(line);
    if (t.size() < 2 || t[0] != '[')
        return false;
    size_t close = t.find(']');
    name = trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return true;
}

// The key and value of a "key=value" line, or false.
static bool entryOf(const std::string &line, std::string &key, std::string &value)
{
    size_t equals = line.find('=');
    if (equals == std::string::npos)
        return false;
    key = trim(line.substr(0, equals));
    value = trim(line.substr(equals + 1));
    return true;
}

// Names given by the caller are trimmed as the file's are.
static bool sameName(const std::string &a, const char *b) { return strcasecmp(a.c_str(), trim(b).c_str()) == 0; }

// One pair of matching quotes around a value is dropped, for stored values and defaults alike.
static std::string unquote(const std::string &v)
{
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0])
        return v.substr(1, v.size() - 2);
    return v;
}

// A default loses its trailing blanks only (a lone blank stays); leading blanks are kept.
static std::string trimDefault(const char *fallback)
{
    std::string text = fallback ? fallback : "";
    while (text.size() > 1 && text.back() == ' ')
        text.pop_back();
    return text;
}

static DWORD copyOut(const std::string &text, LPSTR out, DWORD size)
{
    if (!out || size == 0)
        return 0;
    DWORD length = (DWORD)text.size();
    if (length > size - 1)
        length = size - 1;
    memcpy(out, text.data(), length);
    out[length] = '\0';
    return length;
}

DWORD WINAPI GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR out, DWORD size,
                                      LPCSTR file)
{
    std::string result = unquote(trimDefault(fallback));
    // A file that cannot be read gives the default, as a missing one does.
    if (section && key && !compatCallFails(COMPAT_PROFILE_READ)) {
        bool inSection = false;
        for (const std::string &line : readLines(compatResolveProfilePath(file))) {
            std::string name, k, v;
            if (sectionOf(line, name)) {
                inSection = sameName(name, section);
            } else if (inSection && entryOf(line, k, v) && sameName(k, key)) {
                result = unquote(v);
                break;
            }
        }
    }
    return copyOut(result, out, size);
}

static void makeDirectories(const std::string &path)
{
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0755);
}

static bool writeAll(int fd, const std::string &text)
{
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += (size_t)n;
    }
    return true;
}

// Puts text in place of the file at path: a temporary file in the same directory, renamed over it.
// Not flushed to disk first: a kill cannot undo a finished write, and eleven flushes a run would cost
// more than the settings are worth after a power cut. A symbolic link keeps pointing at the file it
// named, which is replaced; the file keeps its permissions. On any failure the old file stays as it
// was and the temporary goes.
static bool replaceFile(const std::string &path, const std::string &text)
{
    std::string target = path;
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved))
        target = resolved;
    else
        makeDirectories(path);
    struct stat old;
    mode_t mode;
    if (stat(target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    std::string temporary = target + ".XXXXXX";
    std::vector<char> name(temporary.begin(), temporary.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, text) && fchmod(fd, mode) == 0;
    ok = close(fd) == 0 && ok;
    if (ok && rename(name.data(), target.c_str()) == 0)
        return true;
    unlink(name.data());
    return false;
}

BOOL WINAPI WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file)
{
    if (compatCallFails(COMPAT_PROFILE_WRITE) || !section)
        return FALSE;
    // Win32 stores a value without its leading blanks; trailing ones are kept.
    while (value && (*value == ' ' || *value == '\t'))
        value++;
    std::string path = compatResolveProfilePath(file);
    bool unreadable = false;
    std::string raw;
    std::vector<std::string> lines = readLines(path, &raw, &unreadable);
    if (unreadable)
        return FALSE; // rewriting it from nothing would lose every other entry
    std::vector<std::string> output;
    bool inSection = false, sectionFound = false, written = false;
    size_t sectionEnd = 0; // where a new key of the section goes: after its last entry
    for (const std::string &line : lines) {
        std::string name, k, v;
        if (sectionOf(line, name)) {
            inSection = sameName(name, section);
            if (inSection) {
                sectionFound = true;
                if (!key)
                    continue; // deleting the whole section
            }
        } else if (inSection && !key) {
            continue;
        } else if (inSection && entryOf(line, k, v) && sameName(k, key)) {
            if (value && !written)
                output.push_back(k + "=" + value);
            written = true;
            sectionEnd = output.size();
            continue;
        }
        output.push_back(line);
        if (inSection && !trim(line).empty())
            sectionEnd = output.size();
    }
    if (key && value && !written) {
        if (!sectionFound) {
            output.push_back(std::string("[") + section + "]");
            sectionEnd = output.size();
        }
        output.insert(output.begin() + (std::ptrdiff_t)sectionEnd, std::string(key) + "=" + value);
    }
    std::string text;
    for (const std::string &line : output)
        text += line + "\r\n";
    // A run saves every key, most of them unchanged: a file that already reads so is left alone
    // (the rename would cost a flush to disk on some file systems, eleven times a run).
    if (text == raw && access(path.c_str(), F_OK) == 0)
        return TRUE;
    return replaceFile(path, text) ? TRUE : FALSE;
}
