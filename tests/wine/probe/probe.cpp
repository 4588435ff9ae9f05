// The probe: loads the real Vantrope.xfm as an editor does (LoadLibraryA, GetProcAddress by name) and
// checks what crosses the boundary: the exports, QueryXfm's bytes, XfmSetup's length checks with the
// message boxes it raises (seen through a patched import of MessageBoxA) and the toolbar bitmap.
// Prints one line per check and "N passed, M failed"; exits 1 on any failure, 2 when it cannot start.
// State: the loaded module, the recorded message boxes and the scripted answer, all in this file.
#include <windows.h>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include "app/windows/import_hooks.h"

typedef int32_t(__stdcall *QueryXfmFn)(void *info);
typedef int32_t(__stdcall *InitFn)(int32_t unused);
typedef int32_t(__stdcall *SetupFn)(HWND window, HINSTANCE instance, void *wave);

// GetProcAddress gives a generic pointer; the plug-in's real signatures are the ones above.
template <typename Fn> static Fn entryAs(FARPROC address)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void *>(address));
}

struct RecordedBox {
    HWND owner;
    std::string text;
    std::string title;
    UINT type;
};

static int passedCount;
static int failedCount;
static std::vector<RecordedBox> boxes;  // every MessageBoxA call the plug-in made since the last clear
static int boxAnswer = IDYES;           // what the patched MessageBoxA answers

static void check(bool ok, const std::string &what, const std::string &detail = "")
{
    if (ok)
        passedCount++;
    else
        failedCount++;
    printf("%s: %s%s%s\n", ok ? "ok" : "FAILED", what.c_str(), detail.empty() ? "" : " -- ",
           detail.c_str());
}

static std::string quoted(const std::string &text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out + "\"";
}

static int WINAPI recordingMessageBox(HWND owner, LPCSTR text, LPCSTR title, UINT type)
{
    boxes.push_back(RecordedBox{owner, text ? text : "", title ? title : "", type});
    return boxAnswer;
}

static DWORD WINAPI watchdog(LPVOID)
{
    Sleep(60000);
    printf("FAILED: the probe did not finish within 60 s\n");
    fflush(stdout);
    ExitProcess(3);
    return 0;
}

static uint32_t readU32(const uint8_t *bytes, int offset)
{
    return (uint32_t)bytes[offset] | (uint32_t)bytes[offset + 1] << 8 | (uint32_t)bytes[offset + 2] << 16 |
           (uint32_t)bytes[offset + 3] << 24;
}

static void writeU32(uint8_t *bytes, int offset, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        bytes[offset + i] = (uint8_t)(value >> (8 * i));
}

// A text field: the expected text, then NUL bytes up to width (width 0: only the terminating NUL).
static void checkTextField(const uint8_t *info, int offset, int width, const char *expected,
                           const char *what)
{
    size_t length = strlen(expected);
    bool ok = memcmp(info + offset, expected, length + 1) == 0;
    for (int i = (int)length; i < width; i++)
        ok = ok && info[offset + i] == 0;
    char got[96];
    int n = 0;
    for (; n < 90 && info[offset + n] != 0; n++)
        got[n] = (char)info[offset + n];
    got[n] = 0;
    check(ok, what, "got " + quoted(got) + ", expected " + quoted(expected));
}

static void checkQueryXfm(QueryXfmFn queryXfm)
{
    uint8_t info[512];
    memset(info, 0xCC, sizeof info);
    int32_t result = queryXfm(info);
    char detail[64];
    snprintf(detail, sizeof detail, "got 0x%04X", (unsigned)(result & 0xFFFF));
    check((result & 0xFFFF) == 0x0480, "QueryXfm returns 0x0480 in the low 16 bits", detail);
    checkTextField(info, 0, 40, "Vantrope", "QueryXfm offset 0: name, NUL-padded to 40 bytes");
    int creditLength = 0;
    while (creditLength < 80 && info[40 + creditLength] != 0 && info[40 + creditLength] != 0xCC)
        creditLength++;
    check(creditLength > 0 && creditLength < 80 && info[40 + creditLength] == 0,
          "QueryXfm offset 40: a credit text, NUL-terminated within 80 bytes");
    checkTextField(info, 120, 0, "Vantrope", "QueryXfm offset 120: name again");
    uint32_t version = (uint32_t)info[190] | (uint32_t)info[191] << 8;
    snprintf(detail, sizeof detail, "got %u", (unsigned)version);
    check(version == 4, "QueryXfm offset 190: 16-bit 4", detail);
    snprintf(detail, sizeof detail, "got %u", (unsigned)readU32(info, 192));
    check(readU32(info, 192) == 17, "QueryXfm offset 192: 32-bit 17", detail);
    snprintf(detail, sizeof detail, "got %u", (unsigned)readU32(info, 196));
    check(readU32(info, 196) == 0, "QueryXfm offset 196: 32-bit 0", detail);
    check(info[200] == 0, "QueryXfm offset 200: empty text");
    check(info[248] == 0, "QueryXfm offset 248: empty text");
    check(info[249] == 0xCC, "QueryXfm writes nothing past the empty text at 248");
    memset(info, 0x00, sizeof info);
    check((queryXfm(info) & 0xFFFF) == 0x0480, "QueryXfm returns 0x0480 whatever the record held");
}

static void checkEntryPoints(HMODULE module, FARPROC init, FARPROC destroy)
{
    check(init != nullptr && destroy != nullptr, "XfmInit and XfmDestroy are exported by name");
    if (!init || !destroy)
        return;
    check(init == destroy, "XfmInit and XfmDestroy are one routine");
    check(entryAs<InitFn>(init)(0) == 1, "XfmInit returns 1");
    check(entryAs<InitFn>(destroy)(0x12345678) == 1, "XfmDestroy returns 1");
    static const char *const byOrdinal[] = {"QueryXfm", "XfmInit", "XfmSetup", "XfmDo", "XfmDestroy"};
    for (int i = 0; i < 5; i++) {
        FARPROC named = GetProcAddress(module, byOrdinal[i]);
        FARPROC numbered = GetProcAddress(module, MAKEINTRESOURCEA(i + 2));
        check(named != nullptr && named == numbered,
              std::string(byOrdinal[i]) + " is ordinal " + std::to_string(i + 2));
    }
}

struct SetupCase {
    uint32_t selStart;
    uint32_t selEnd;
    int answer;          // what the user answers a question
    const char *box;     // the text of the one expected box, or null for none
    UINT icon;           // its icon
    UINT buttons;        // its buttons
    int32_t expected;    // XfmSetup's result
    const char *what;
};

static const char *const VERY_LONG = "You selected very long area.\nContinue?";
static const char *const TOO_LONG = "Sorry, the selection is too long.";

static const SetupCase setupCases[] = {
    {5000, 5000 + 3527999u, IDNO, nullptr, 0, 0, 1, "3,528,000 samples pass without a question"},
    {5000, 5000 + 3528000u, IDNO, VERY_LONG, MB_ICONQUESTION, MB_YESNO, 0, "3,528,001 samples, answer No"},
    {5000, 5000 + 3528000u, IDYES, VERY_LONG, MB_ICONQUESTION, MB_YESNO, 1, "3,528,001 samples, answer Yes"},
    {0, 2147483645u, IDYES, VERY_LONG, MB_ICONQUESTION, MB_YESNO, 1, "2,147,483,646 samples still ask"},
    {0, 2147483646u, IDYES, TOO_LONG, MB_ICONERROR, MB_OK, 0, "2,147,483,647 samples are refused"},
    {7, 4294967295u, IDYES, TOO_LONG, MB_ICONERROR, MB_OK, 0, "a selection up to the last position is refused"},
    {1000, 999, IDNO, nullptr, 0, 0, 1, "selEnd one below selStart: count 0 is accepted"},
    {1000, 998, IDYES, TOO_LONG, MB_ICONERROR, MB_OK, 0, "selEnd two below selStart wraps and is refused"},
};

static std::string describeBoxes()
{
    std::string out;
    for (const RecordedBox &box : boxes) {
        char flags[32];
        snprintf(flags, sizeof flags, " type 0x%X", (unsigned)box.type);
        out += "[" + quoted(box.text) + " title " + quoted(box.title) + flags + "]";
    }
    return out.empty() ? "no box" : out;
}

static void checkSetupCase(SetupFn setup, HWND window, HINSTANCE instance, const SetupCase &c)
{
    // Only the fields a host must fill for XfmSetup; the rest stays 0xCC so a stray read shows.
    uint8_t wave[64];
    memset(wave, 0xCC, sizeof wave);
    wave[0] = 1, wave[1] = 0;   // channels
    wave[2] = 16, wave[3] = 0;  // bitsPerSample
    wave[4] = 2, wave[5] = 0;   // bytesPerFrame
    writeU32(wave, 8, 44100);
    writeU32(wave, 16, c.selStart);
    writeU32(wave, 20, c.selEnd);
    boxes.clear();
    boxAnswer = c.answer;
    int32_t result = setup(window, instance, wave);
    char got[48];
    snprintf(got, sizeof got, "result %d, expected %d; ", (int)result, (int)c.expected);
    bool ok = result == c.expected;
    if (!c.box) {
        ok = ok && boxes.empty();
    } else {
        const RecordedBox *box = boxes.size() == 1 ? &boxes[0] : nullptr;
        ok = ok && box && box->text == c.box && box->title == "Vantrope" && box->owner == window &&
             (box->type & MB_ICONMASK) == c.icon && (box->type & MB_TYPEMASK) == c.buttons;
    }
    check(ok, std::string("XfmSetup: ") + c.what, got + describeBoxes());
}

static void checkSetup(SetupFn setup, HMODULE module)
{
    void *original = nullptr;
    bool patched = patchImport(module, "USER32.dll", "MessageBoxA", (void *)recordingMessageBox, &original);
    check(patched && original != nullptr, "the plug-in imports USER32!MessageBoxA (patched for the probe)");
    if (!patched)
        return;
    HWND window = CreateWindowExA(0, "STATIC", "probe host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    check(window != nullptr, "a host window for XfmSetup");
    for (const SetupCase &c : setupCases)
        checkSetupCase(setup, window, (HINSTANCE)module, c);
    if (window)
        DestroyWindow(window);
}

static void checkToolbarBitmap(HMODULE module)
{
    HRSRC found = FindResourceA(module, "VANTROPE_TOOLBARICON", MAKEINTRESOURCEA(2));
    check(found != nullptr, "bitmap resource VANTROPE_TOOLBARICON is present");
    if (!found)
        return;
    DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const uint8_t *bytes = loaded ? (const uint8_t *)LockResource(loaded) : nullptr;
    check(bytes != nullptr && size >= sizeof(BITMAPINFOHEADER), "the bitmap can be loaded and locked");
    if (!bytes || size < sizeof(BITMAPINFOHEADER))
        return;
    BITMAPINFOHEADER header;
    memcpy(&header, bytes, sizeof header);
    char detail[160];
    snprintf(detail, sizeof detail, "biSize %u, %dx%d, %u planes, %u bpp, compression %u, %u colours used",
             (unsigned)header.biSize, (int)header.biWidth, (int)header.biHeight, (unsigned)header.biPlanes,
             (unsigned)header.biBitCount, (unsigned)header.biCompression, (unsigned)header.biClrUsed);
    check(header.biSize == 40 && header.biWidth == 20 && (header.biHeight == 20 || header.biHeight == -20) &&
              header.biPlanes == 1 && header.biBitCount == 4 && header.biCompression == BI_RGB &&
              (header.biClrUsed == 0 || header.biClrUsed == 16),
          "the toolbar bitmap is 20x20, 4 bits per pixel, 16 colours", detail);
    // 16 palette entries, then 20 rows of 10 bytes each padded to 12.
    uint32_t needed = 40 + 16 * 4 + 20 * 12;
    snprintf(detail, sizeof detail, "resource %u bytes, needs %u", (unsigned)size, (unsigned)needed);
    check(size >= needed, "the bitmap holds its palette and all its pixels", detail);
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: probe PATH-TO-Vantrope.xfm\n");
        return 2;
    }
    setvbuf(stdout, nullptr, _IONBF, 0);
    CreateThread(nullptr, 0, watchdog, nullptr, 0, nullptr);
    HMODULE module = LoadLibraryA(argv[1]);
    if (!module) {
        printf("FAILED: LoadLibraryA(%s), error %u\n", argv[1], (unsigned)GetLastError());
        return 2;
    }
    FARPROC queryXfm = GetProcAddress(module, "QueryXfm");
    FARPROC setup = GetProcAddress(module, "XfmSetup");
    check(queryXfm != nullptr && setup != nullptr && GetProcAddress(module, "XfmDo") != nullptr,
          "QueryXfm, XfmSetup and XfmDo are exported by name");
    checkEntryPoints(module, GetProcAddress(module, "XfmInit"), GetProcAddress(module, "XfmDestroy"));
    if (queryXfm)
        checkQueryXfm(entryAs<QueryXfmFn>(queryXfm));
    if (setup)
        checkSetup(entryAs<SetupFn>(setup), module);
    checkToolbarBitmap(module);
    printf("%d passed, %d failed\n", passedCount, failedCount);
    return failedCount == 0 ? 0 : 1;
}
