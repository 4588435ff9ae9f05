// Compares an extended dialog template's header and every item, field by field, with the item table the
// stand-in and the resource script share; one line per mismatch. Kept apart from how the bytes were
// found so that the Wine run and the native file reader check exactly the same things.
#include "template_compare.h"
#include <cstdio>
#include "ui/dialog_template.h"

void expectNumber(CheckCounts &counts, const std::string &what, uint32_t got, uint32_t expected)
{
    if (got == expected) {
        counts.passed++;
        return;
    }
    counts.failed++;
    printf("FAILED: %s: got 0x%08X, expected 0x%08X\n", what.c_str(), (unsigned)got, (unsigned)expected);
}

void expectText(CheckCounts &counts, const std::string &what, const std::string &got, const std::string &expected)
{
    if (got == expected) {
        counts.passed++;
        return;
    }
    counts.failed++;
    printf("FAILED: %s: got \"%s\", expected \"%s\"\n", what.c_str(), got.c_str(), expected.c_str());
}

// A cursor over the template's bytes; reads never pass its end (a short read gives zeros, and the
// final "bytes left" check turns an overrun into a failure).
struct Reader {
    const uint8_t *bytes; // the template
    uint32_t size;        // its size in bytes
    uint32_t at;          // offset of the next read
    bool overrun;         // a read went past the end
};

static uint32_t readBytes(Reader &r, uint32_t count)
{
    if ((uint64_t)r.at + count > r.size) {
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

static void checkHeader(CheckCounts &c, Reader &r)
{
    const DialogTemplateHeader &h = reviewDialogHeader;
    expectNumber(c, "version", word(r), h.version);
    expectNumber(c, "signature", word(r), h.signature);
    expectNumber(c, "help id", dword(r), h.helpId);
    expectNumber(c, "extended style", dword(r), h.exStyle);
    expectNumber(c, "style", dword(r), h.style);
    expectNumber(c, "item count", word(r), h.itemCount);
    expectNumber(c, "x", (uint16_t)word(r), (uint16_t)h.x);
    expectNumber(c, "y", (uint16_t)word(r), (uint16_t)h.y);
    expectNumber(c, "cx", (uint16_t)word(r), (uint16_t)h.cx);
    expectNumber(c, "cy", (uint16_t)word(r), (uint16_t)h.cy);
    expectText(c, "menu", nameOrOrdinal(r), "");
    expectText(c, "dialog class", nameOrOrdinal(r), "");
    expectText(c, "caption", wideText(r), h.caption);
    expectNumber(c, "font size", word(r), h.pointSize);
    expectNumber(c, "font weight", word(r), h.weight);
    expectNumber(c, "italic", readBytes(r, 1), h.italic);
    expectNumber(c, "character set", readBytes(r, 1), h.charset);
    expectText(c, "typeface", wideText(r), h.typeface);
}

static void checkItem(CheckCounts &c, Reader &r, int32_t index)
{
    const DialogItemTemplate &e = reviewDialogItems[index];
    r.at = (r.at + 3u) & ~3u; // every item starts on a DWORD boundary; a read past the end still stops
    std::string item = "item " + std::to_string(index + 1) + " ";
    expectNumber(c, item + "help id", dword(r), e.helpId);
    expectNumber(c, item + "extended style", dword(r), e.exStyle);
    expectNumber(c, item + "style", dword(r), e.style);
    expectNumber(c, item + "x", (uint16_t)word(r), (uint16_t)e.x);
    expectNumber(c, item + "y", (uint16_t)word(r), (uint16_t)e.y);
    expectNumber(c, item + "cx", (uint16_t)word(r), (uint16_t)e.cx);
    expectNumber(c, item + "cy", (uint16_t)word(r), (uint16_t)e.cy);
    expectNumber(c, item + "id", dword(r), e.id);
    expectText(c, item + "class", nameOrOrdinal(r), "#" + std::to_string(e.classOrdinal));
    expectText(c, item + "text", nameOrOrdinal(r), e.text);
    expectNumber(c, item + "creation data", word(r), 0);
}

CheckCounts compareDialogTemplate(const uint8_t *bytes, uint32_t size)
{
    CheckCounts counts = {0, 0};
    Reader r = {bytes, size, 0, false};
    checkHeader(counts, r);
    for (int32_t i = 0; i < REVIEW_DIALOG_ITEM_COUNT && !r.overrun; i++)
        checkItem(counts, r, i);
    expectNumber(counts, "bytes left after the last item", r.overrun ? 0xFFFFFFFFu : r.size - r.at, 0);
    return counts;
}
