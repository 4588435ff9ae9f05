// Checks the built plug-in's resources without loading or running it, so that the i686 Vantrope.xfm is
// checked on machines that cannot execute 32-bit code: dialog 105 against the shared item table, and the
// toolbar bitmap against ui/toolbar_icon.bmp, both read straight from the PE file on disk. One line per
// mismatch and a summary; exits 1 on any mismatch, 2 when a file or a resource cannot be read.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>
#include "pe_resources.h"
#include "template_compare.h"
#include "ui/dialog_template.h"

enum : uint32_t {
    RESOURCE_BITMAP = 2,
    RESOURCE_DIALOG = 5,
    FILE_HEADER_SIZE = 14, // BITMAPFILEHEADER: the resource compiler stores the .bmp without it
    INFO_HEADER_SIZE = 40  // BITMAPINFOHEADER
};

struct Bytes {
    const uint8_t *data;
    uint32_t size;
};

// A little-endian field; 0 past the end (the size check has already failed then).
static uint32_t field(const Bytes &b, uint64_t at, uint32_t width)
{
    uint32_t value = 0;
    if (at + width > b.size)
        return 0;
    for (uint32_t i = 0; i < width; i++)
        value |= (uint32_t)b.data[at + i] << (8 * i);
    return value;
}

static uint32_t paletteColours(const Bytes &b)
{
    uint32_t used = field(b, 32, 4), bits = field(b, 14, 2);
    uint32_t colours = used ? used : bits <= 8 ? 1u << bits : 0;
    return colours < 256 ? colours : 256;
}

static std::string hexBytes(const Bytes &b, uint64_t from, uint64_t count)
{
    std::string text;
    char pair[3];
    for (uint64_t i = from; i < from + count && i < b.size; i++) {
        snprintf(pair, sizeof pair, "%02X", (unsigned)b.data[i]);
        text += pair;
    }
    return text;
}

struct HeaderField {
    const char *name;
    uint32_t at, width;
};

static const HeaderField infoHeader[] = {
    {"header size", 0, 4},  {"width", 4, 4},  {"height", 8, 4},   {"planes", 12, 2},
    {"bit count", 14, 2},   {"compression", 16, 4}, {"image size", 20, 4},
    {"horizontal pixels per metre", 24, 4}, {"vertical pixels per metre", 28, 4},
    {"colours used", 32, 4}, {"important colours", 36, 4},
};

static void compareBitmap(CheckCounts &c, const Bytes &got, const Bytes &expected)
{
    expectNumber(c, "bitmap size in bytes", got.size, expected.size);
    for (const HeaderField &f : infoHeader)
        expectNumber(c, std::string("bitmap ") + f.name, field(got, f.at, f.width), field(expected, f.at, f.width));
    // The plain facts too, so that a changed .bmp cannot pass by matching a plug-in built from it.
    expectNumber(c, "bitmap is 20 pixels wide", field(got, 4, 4), 20);
    expectNumber(c, "bitmap is 20 pixels high", field(got, 8, 4), 20);
    expectNumber(c, "bitmap has 4 bits per pixel", field(got, 14, 2), 4);
    expectNumber(c, "bitmap has 16 colours", paletteColours(got), 16);
    uint32_t colours = paletteColours(expected);
    for (uint32_t i = 0; i < colours; i++)
        expectNumber(c, "bitmap palette entry " + std::to_string(i), field(got, INFO_HEADER_SIZE + 4 * i, 4),
                     field(expected, INFO_HEADER_SIZE + 4 * i, 4));
    // Rows as the file lays them out (bottom row first, each padded to 4 bytes); the count comes from the
    // bytes present, not from the header, so a bad header cannot make the loop run long.
    uint64_t pixels = INFO_HEADER_SIZE + 4 * colours;
    uint64_t stride = ((uint64_t)field(expected, 4, 4) * field(expected, 14, 2) + 31) / 32 * 4;
    stride = stride ? stride : 1;
    uint64_t longer = got.size > expected.size ? got.size : expected.size;
    for (uint64_t row = 0; pixels + row * stride < longer; row++)
        expectText(c, "bitmap pixel row " + std::to_string(row), hexBytes(got, pixels + row * stride, stride),
                   hexBytes(expected, pixels + row * stride, stride));
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: resource_check PATH-OF-Vantrope.xfm PATH-OF-toolbar_icon.bmp\n");
        return 2;
    }
    std::vector<uint8_t> image, bmp;
    for (int32_t i = 1; i <= 2; i++)
        if (!readWholeFile(argv[i], i == 1 ? image : bmp)) {
            printf("FAILED: %s: cannot be read\n", argv[i]);
            return 2;
        }
    if (bmp.size() < FILE_HEADER_SIZE + INFO_HEADER_SIZE || bmp[0] != 'B' || bmp[1] != 'M') {
        printf("FAILED: %s: not a bitmap file\n", argv[2]);
        return 2;
    }
    // The resource script gives every resource the same language.
    const DialogTemplateHeader &h = reviewDialogHeader;
    PeResource dialog, bitmap;
    std::string error;
    if (!findPeResource(image, RESOURCE_DIALOG, nullptr, h.resourceId, h.language, dialog, error) ||
        !findPeResource(image, RESOURCE_BITMAP, "VANTROPE_TOOLBARICON", 0, h.language, bitmap, error)) {
        printf("FAILED: %s: %s\n", argv[1], error.c_str());
        return 2;
    }
    CheckCounts counts = compareDialogTemplate(image.data() + dialog.offset, dialog.size);
    compareBitmap(counts, {image.data() + bitmap.offset, bitmap.size},
                  {bmp.data() + FILE_HEADER_SIZE, (uint32_t)(bmp.size() - FILE_HEADER_SIZE)});
    printf("%d passed, %d failed\n", (int)counts.passed, (int)counts.failed);
    return counts.failed ? 1 : 0;
}
