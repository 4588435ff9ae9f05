// libsndfile 1.2 reads each part of a LIST (or INFO) chunk with 32-bit counts: a part whose size, added
// to what the LIST has given so far, passes 2^32 wraps round, looks as if it fits, and sends the reader
// back and forth for ever (found by fuzzing: any bytes must give a refusal, not a hang). Where
// libsndfile meets a LIST depends on how it walks the chunks before it (a ds64 table, resynching after
// a bad marker, chunks after the audio data), so every place the bytes "LIST" or "INFO" stand in the
// first and last mebibyte of the file is read the way libsndfile reads a LIST, and a part that would
// wrap makes the file refused. Real audio would need one of those words followed by a size within a
// few units of 2^32 to be refused; parts that are merely too long are left to libsndfile, which skips
// them.
#include "list_chunk_guard.h"
#include "huge_pages.h"
#include <sys/stat.h>
#include <cstdint>
#include <cstdio>
#include <cstring>

enum { WINDOW_BYTES = 1 << 20 };

// Bytes that say "LIST" or "INFO" at every turn could make the reading below take time in the square
// of the window; no real file comes near this many parts in a mebibyte, and one that does is refused.
enum { PARTS_READ_AT_MOST = 1 << 22 };

enum ListVerdict { LIST_HARMLESS, LIST_WRAPS, LIST_TOO_MANY_PARTS };

// The windows are read into one static stretch of a whole huge page, offered to the kernel as one: a
// mebibyte touched for the first time costs hundreds of small-page faults, a noticeable share of a
// whole run on some virtual machines.
alignas(HUGE_PAGE_BYTES) static uint8_t windowStorage[HUGE_PAGE_BYTES];

struct ByteWindow {
    const uint8_t *bytes; // windowStorage, size bytes of it read
    size_t size;
    uint64_t firstOffset; // where bytes[0] stands in the file
    uint64_t fileLength;
    bool bigEndian; // RIFX
};

static bool wordAt(const ByteWindow &window, uint64_t offset, uint32_t *word)
{
    if (offset < window.firstOffset || offset + 4 > window.firstOffset + window.size)
        return false;
    const uint8_t *b = window.bytes + (offset - window.firstOffset);
    *word = window.bigEndian ? (uint32_t)b[0] << 24 | (uint32_t)b[1] << 16 | (uint32_t)b[2] << 8 | b[3]
                             : (uint32_t)b[3] << 24 | (uint32_t)b[2] << 16 | (uint32_t)b[1] << 8 | b[0];
    return true;
}

static bool markerAt(const ByteWindow &window, uint64_t offset, const char *name)
{
    return offset >= window.firstOffset && offset + 4 <= window.firstOffset + window.size &&
           memcmp(window.bytes + (offset - window.firstOffset), name, 4) == 0;
}

// Whether one part of the LIST at `offset` would wrap libsndfile's count. The parts it reads as
// strings or labels refuse anything of 2048 bytes or more before they add, so only the parts it skips
// by their size can wrap.
static bool listWouldWrap(const ByteWindow &window, uint64_t offset, uint32_t *partsRead)
{
    uint32_t length;
    if (!wordAt(window, offset + 4, &length) || length <= 8)
        return false;
    uint64_t at = offset + 8;
    if (at + length > window.fileLength)
        length = (uint32_t)(window.fileLength - at);
    static const char *const stringParts[] = {"ISFT", "ICOP", "IARL", "IART", "ICMT", "ICRD", "IENG", "IGNR",
                                              "INAM", "IPRD", "ISBJ", "ISRC", "IAUT", "ITRK", "labl", "DISP",
                                              "ltxt", "note"};
    uint32_t given = 0;
    while (given < length && ++*partsRead <= PARTS_READ_AT_MOST) {
        uint32_t marker, size;
        if (!wordAt(window, at, &marker))
            return false;
        given += 4, at += 4;
        if (markerAt(window, at - 4, "adtl") || markerAt(window, at - 4, "INFO"))
            continue;
        if (marker == 0 || markerAt(window, at - 4, "data") || markerAt(window, at - 4, "exif"))
            return false; // libsndfile leaves the LIST here (or hands it to a reader of its own)
        if (!wordAt(window, at, &size))
            return false;
        given += 4, at += 4;
        size += size & 1u;
        bool stringPart = false;
        for (const char *name : stringParts)
            stringPart = stringPart || markerAt(window, at - 8, name);
        if (stringPart) {
            if (size >= 2048 || given + size > length)
                return false;
        } else {
            if ((uint32_t)(given + size) > length)
                return false;
            if ((uint64_t)given + size > UINT32_MAX)
                return true;
        }
        given += size, at += size;
    }
    return false;
}

static ListVerdict readListsIn(const ByteWindow &window)
{
    uint32_t partsRead = 0;
    const uint8_t *bytes = window.bytes, *end = bytes + window.size;
    for (const char *word : {"LIST", "INFO"}) {
        // memchr finds the first letter at memory speed; audio holds it at about one place in 256.
        for (const uint8_t *p = bytes; end - p >= 8 && (p = (const uint8_t *)memchr(p, word[0], (size_t)(end - p) - 7));
             p++) {
            if (memcmp(p, word, 4) != 0)
                continue;
            if (listWouldWrap(window, window.firstOffset + (uint64_t)(p - bytes), &partsRead))
                return LIST_WRAPS;
            if (partsRead > PARTS_READ_AT_MOST)
                return LIST_TOO_MANY_PARTS;
        }
    }
    return LIST_HARMLESS;
}

static bool readWindow(FILE *file, uint64_t offset, uint64_t fileLength, bool bigEndian, ByteWindow *window)
{
    static bool advised = false;
    if (!advised)
        madvise(windowStorage, sizeof windowStorage, MADV_HUGEPAGE); // advice only
    advised = true;
    uint64_t count = fileLength - offset < (uint64_t)WINDOW_BYTES ? fileLength - offset : (uint64_t)WINDOW_BYTES;
    window->bytes = windowStorage;
    window->size = 0;
    window->firstOffset = offset;
    window->fileLength = fileLength;
    window->bigEndian = bigEndian;
    if (fseeko(file, (off_t)offset, SEEK_SET) != 0 || fread(windowStorage, 1, count, file) != count)
        return false;
    window->size = (size_t)count;
    return true;
}

bool listChunksAreSafe(const std::string &path, std::string *error)
{
    struct stat facts;
    if (stat(path.c_str(), &facts) != 0 || !S_ISREG(facts.st_mode))
        return true; // not a file that can be read twice; libsndfile reads it as it comes
    FILE *file = fopen(path.c_str(), "rb");
    if (!file)
        return true;
    uint64_t fileLength = (uint64_t)facts.st_size;
    ByteWindow window;
    ListVerdict verdict = LIST_HARMLESS;
    if (readWindow(file, 0, fileLength, false, &window) && window.size >= 12 &&
        markerAt(window, 8, "WAVE") &&
        (markerAt(window, 0, "RIFF") || markerAt(window, 0, "RIFX") || markerAt(window, 0, "RF64") ||
         markerAt(window, 0, "BW64"))) {
        bool bigEndian = markerAt(window, 0, "RIFX");
        window.bigEndian = bigEndian;
        verdict = readListsIn(window);
        if (verdict == LIST_HARMLESS && fileLength > WINDOW_BYTES &&
            readWindow(file, fileLength - WINDOW_BYTES, fileLength, bigEndian, &window))
            verdict = readListsIn(window);
    }
    fclose(file);
    if (verdict == LIST_WRAPS)
        *error = "malformed LIST chunk: a part of it runs past its end";
    if (verdict == LIST_TOO_MANY_PARTS)
        *error = "malformed LIST chunks: too many parts to check";
    return verdict == LIST_HARMLESS;
}
