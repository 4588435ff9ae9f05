// Reads dialog 105 back from the built Vantrope.xfm (FindResourceExA in US English, LoadResource,
// LockResource) and compares the extended template's header and every item, field by field, with the
// item table the stand-in and the resource script share. Prints one line per mismatch and a summary;
// exits 1 on any mismatch, 2 when the module or the resource cannot be read. State: the counters.
#include <windows.h>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include "ui/dialog_template.h"

static int32_t passedCount;
static int32_t failedCount;

static void expectNumber(const std::string &what, uint32_t got, uint32_t expected)
{
    if (got == expected) {
        passedCount++;
        return;
    }
    failedCount++;
    printf("FAILED: %s: got 0x%08X, expected 0x%08X\n", what.c_str(), (unsigned)got, (unsigned)expected);
}

static void expectText(const std::string &what, const std::string &got, const std::string &expected)
{
    if (got == expected) {
        passedCount++;
        return;
    }
    failedCount++;
    printf("FAILED: %s: got \"%s\", expected \"%s\"\n", what.c_str(), got.c_str(), expected.c_str());
}

// A cursor over the template's bytes; reads never pass its end (a short read gives zeros and is
// counted as a failure once).
struct Reader {
    const uint8_t *bytes; // the locked resource
    uint32_t size;        // its size in bytes
    uint32_t at;          // offset of the next read
    bool overrun;         // a read went past the end
};

static uint32_t readBytes(Reader &r, uint32_t count)
{
    if (r.at + count > r.size) {
        r.overrun = true;
        r.at = r.size;
        return 0;
    }
    uint32_t value = 0;
    for (uint32_t i = 0; i < count; i++)
        value |= (uint32_t)r.bytes[r.at + i] << (8 * i);
    r.at += count;
    return value;
}

static uint32_t word(Reader &r) { return readBytes(r, 2); }
static uint32_t dword(Reader &r) { return readBytes(r, 4); }

// A NUL-terminated UTF-16 string of ASCII characters (anything else shows as '?').
static std::string wideText(Reader &r)
{
    std::string text;
    for (uint32_t c = word(r); c != 0 && !r.overrun; c = word(r))
        text += c < 0x80 ? (char)c : '?';
    return text;
}

// A name-or-ordinal field: "" for none, "#N" for an ordinal, else the name.
static std::string nameOrOrdinal(Reader &r)
{
    uint32_t first = word(r);
    if (first == 0)
        return "";
    if (first == 0xFFFF)
        return "#" + std::to_string(word(r));
    r.at -= 2;
    return wideText(r);
}

static void checkHeader(Reader &r)
{
    const DialogTemplateHeader &h = reviewDialogHeader;
    expectNumber("version", word(r), h.version);
    expectNumber("signature", word(r), h.signature);
    expectNumber("help id", dword(r), h.helpId);
    expectNumber("extended style", dword(r), h.exStyle);
    expectNumber("style", dword(r), h.style);
    expectNumber("item count", word(r), h.itemCount);
    expectNumber("x", (uint16_t)word(r), (uint16_t)h.x);
    expectNumber("y", (uint16_t)word(r), (uint16_t)h.y);
    expectNumber("cx", (uint16_t)word(r), (uint16_t)h.cx);
    expectNumber("cy", (uint16_t)word(r), (uint16_t)h.cy);
    expectText("menu", nameOrOrdinal(r), "");
    expectText("dialog class", nameOrOrdinal(r), "");
    expectText("caption", wideText(r), h.caption);
    expectNumber("font size", word(r), h.pointSize);
    expectNumber("font weight", word(r), h.weight);
    expectNumber("italic", readBytes(r, 1), h.italic);
    expectNumber("character set", readBytes(r, 1), h.charset);
    expectText("typeface", wideText(r), h.typeface);
}

static void checkItem(Reader &r, int32_t index)
{
    const DialogItemTemplate &e = reviewDialogItems[index];
    r.at = (r.at + 3u) & ~3u; // every item starts on a DWORD boundary
    std::string item = "item " + std::to_string(index + 1) + " ";
    expectNumber(item + "help id", dword(r), e.helpId);
    expectNumber(item + "extended style", dword(r), e.exStyle);
    expectNumber(item + "style", dword(r), e.style);
    expectNumber(item + "x", (uint16_t)word(r), (uint16_t)e.x);
    expectNumber(item + "y", (uint16_t)word(r), (uint16_t)e.y);
    expectNumber(item + "cx", (uint16_t)word(r), (uint16_t)e.cx);
    expectNumber(item + "cy", (uint16_t)word(r), (uint16_t)e.cy);
    expectNumber(item + "id", dword(r), e.id);
    expectText(item + "class", nameOrOrdinal(r), "#" + std::to_string(e.classOrdinal));
    expectText(item + "text", nameOrOrdinal(r), e.text);
    expectNumber(item + "creation data", word(r), 0);
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: template_check PATH-OF-Vantrope.xfm\n");
        return 2;
    }
    HMODULE module = LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = module ? FindResourceExA(module, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(reviewDialogHeader.resourceId),
                                           reviewDialogHeader.language)
                         : nullptr;
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void *bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) {
        printf("FAILED: %s: no dialog %u in language %u (error %u)\n", argv[1], (unsigned)reviewDialogHeader.resourceId,
               (unsigned)reviewDialogHeader.language, (unsigned)GetLastError());
        return 2;
    }
    Reader r = {static_cast<const uint8_t *>(bytes), (uint32_t)SizeofResource(module, found), 0, false};
    checkHeader(r);
    for (int32_t i = 0; i < REVIEW_DIALOG_ITEM_COUNT && !r.overrun; i++)
        checkItem(r, i);
    expectNumber("bytes left after the last item", r.overrun ? 0xFFFFFFFFu : r.size - r.at, 0);
    printf("%d passed, %d failed\n", (int)passedCount, (int)failedCount);
    return failedCount ? 1 : 0;
}
