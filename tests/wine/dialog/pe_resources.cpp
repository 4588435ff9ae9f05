// Walks a PE image file the way the loader would find a resource: DOS header -> "PE\0\0" -> COFF header
// -> optional header (PE32 or PE32+) -> resource data directory -> section table -> type, name and
// language directories -> data entry. The first failure is kept as the reason and every later read gives
// 0, so the walk needs no check after each step; offsets are 64-bit so no sum of file fields can wrap.
#include "pe_resources.h"
#include <cctype>
#include <cstdio>
#include <cstring>

struct Walk {
    const std::vector<uint8_t> *file;
    std::string error; // the first failure; empty while all is well
};

static void fail(Walk &w, const std::string &why)
{
    if (w.error.empty())
        w.error = why;
}

static uint32_t read(Walk &w, uint64_t at, uint32_t width, const char *what)
{
    if (!w.error.empty())
        return 0;
    if (at + width > w.file->size()) {
        fail(w, std::string(what) + " at offset " + std::to_string(at) + " lies past the end of the file (" +
                    std::to_string(w.file->size()) + " bytes)");
        return 0;
    }
    uint32_t value = 0;
    for (uint32_t i = 0; i < width; i++)
        value |= (uint32_t)(*w.file)[at + i] << (8 * i);
    return value;
}

static std::string hex(uint32_t value)
{
    char text[16];
    snprintf(text, sizeof text, "0x%X", (unsigned)value);
    return text;
}

struct Sections {
    uint64_t table; // file offset of the first section header
    uint32_t count;
};

// Only bytes present in the file count: the zero fill past a section's raw data has no file offset.
static uint64_t fileOffset(Walk &w, const Sections &s, uint32_t rva, uint32_t size, const char *what)
{
    for (uint32_t i = 0; i < s.count && w.error.empty(); i++) {
        uint64_t header = s.table + 40ull * i;
        uint32_t start = read(w, header + 12, 4, "section header");
        uint32_t rawSize = read(w, header + 16, 4, "section header");
        uint32_t rawOffset = read(w, header + 20, 4, "section header");
        if (rva >= start && (uint64_t)rva + size <= (uint64_t)start + rawSize)
            return (uint64_t)rawOffset + (rva - start);
    }
    fail(w, std::string(what) + " (RVA " + hex(rva) + ", " + std::to_string(size) + " bytes) lies in no section's file data");
    return 0;
}

// A resource directory string: a count of UTF-16 units, then the units, no terminator.
static bool sameName(Walk &w, uint64_t at, const char *name)
{
    uint32_t length = read(w, at, 2, "resource name");
    if (length != strlen(name))
        return false;
    for (uint32_t i = 0; i < length; i++) {
        uint32_t c = read(w, at + 2 + 2ull * i, 2, "resource name");
        if (c >= 0x80 || toupper((int)c) != toupper((unsigned char)name[i]))
            return false;
    }
    return w.error.empty();
}

// The OffsetToData field of the entry of the directory at ROOT + DIRECTORY that matches NAME or ID.
static uint32_t findEntry(Walk &w, uint64_t root, uint32_t directory, const char *name, uint32_t id,
                          const std::string &what)
{
    uint64_t at = root + directory;
    uint32_t count = read(w, at + 12, 2, "resource directory") + read(w, at + 14, 2, "resource directory");
    for (uint32_t i = 0; i < count && w.error.empty(); i++) {
        uint32_t key = read(w, at + 16 + 8ull * i, 4, "resource directory entry");
        uint32_t data = read(w, at + 20 + 8ull * i, 4, "resource directory entry");
        bool named = (key & 0x80000000u) != 0;
        if (name ? named && sameName(w, root + (key & 0x7FFFFFFFu), name) : !named && key == id)
            return data;
    }
    fail(w, "no " + what);
    return 0;
}

// A subdirectory's offset, or a failure when the entry points at a data entry instead.
static uint32_t subdirectory(Walk &w, uint32_t entry, const std::string &what)
{
    if (w.error.empty() && !(entry & 0x80000000u))
        fail(w, what + " is a data entry, not a directory");
    return entry & 0x7FFFFFFFu;
}

bool readWholeFile(const char *path, std::vector<uint8_t> &bytes)
{
    FILE *in = fopen(path, "rb");
    if (!in)
        return false;
    bytes.clear();
    uint8_t chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, in)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    bool failed = ferror(in) != 0; // a directory opens, then fails to read
    fclose(in);
    return !failed;
}

bool findPeResource(const std::vector<uint8_t> &file, uint32_t type, const char *name, uint32_t id,
                    uint32_t language, PeResource &found, std::string &error)
{
    Walk w = {&file, ""};
    if (read(w, 0, 2, "DOS header") != 0x5A4D)
        fail(w, "no MZ signature: not an executable image");
    uint64_t pe = read(w, 0x3C, 4, "DOS header e_lfanew");
    if (read(w, pe, 4, "PE signature") != 0x00004550)
        fail(w, "no PE signature at offset " + std::to_string(pe));
    Sections sections = {0, read(w, pe + 6, 2, "COFF header")};
    uint32_t optionalSize = read(w, pe + 20, 2, "COFF header");
    uint64_t optional = pe + 24;
    sections.table = optional + optionalSize;
    uint32_t magic = read(w, optional, 2, "optional header");
    uint64_t directories = optional + (magic == 0x20b ? 112 : 96); // PE32+ has 64-bit image base and stacks
    if (w.error.empty() && magic != 0x10b && magic != 0x20b)
        fail(w, "unknown optional header magic " + hex(magic));
    uint32_t directoryCount = read(w, directories - 4, 4, "optional header");
    if (w.error.empty() && (directoryCount <= 2 || directories + 3 * 8 > optional + optionalSize))
        fail(w, "the optional header has no resource data directory");
    uint32_t resourceRva = read(w, directories + 16, 4, "resource data directory");
    if (w.error.empty() && resourceRva == 0)
        fail(w, "the image has no resources");
    uint64_t root = fileOffset(w, sections, resourceRva, 16, "resource directory");

    std::string what = "resource type " + std::to_string(type);
    uint32_t names = subdirectory(w, findEntry(w, root, 0, nullptr, type, what), what);
    what += name ? std::string(" name ") + name : " id " + std::to_string(id);
    uint32_t languages = subdirectory(w, findEntry(w, root, names, name, id, what), what);
    what += " language " + std::to_string(language);
    uint32_t entry = findEntry(w, root, languages, nullptr, language, what);
    if (w.error.empty() && (entry & 0x80000000u))
        fail(w, what + " is a directory, not a data entry");
    uint32_t dataRva = read(w, root + entry, 4, "resource data entry");
    found.size = read(w, root + entry + 4, 4, "resource data entry");
    found.offset = fileOffset(w, sections, dataRva, found.size, "resource data");
    if (w.error.empty() && found.offset + found.size > file.size())
        fail(w, what + ": its data lies past the end of the file");
    error = w.error;
    return w.error.empty();
}
