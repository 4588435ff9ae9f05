// The Windows host platform: Vantrope.xfm loaded from the program's folder with LoadLibraryA and
// GetProcAddress, its user32 imports observed and its profile calls redirected through import-table
// patches, a real frame window with a child, the console and its interrupts. Owns the observed
// imports' original addresses.
#include <io.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include "app/host_platform.h"
#include "app/interrupts.h"
#include "app/message_host.h"
#include "import_hooks.h"
#include "profile_redirect.h"
#include "range_observers.h"

typedef int(WINAPI *MessageBoxProc)(HWND owner, LPCSTR text, LPCSTR title, UINT flags);

static MessageBoxProc realMessageBox = MessageBoxA;

// The plug-in's MessageBoxA, as the host sees it.
static int WINAPI observedMessageBox(HWND owner, LPCSTR text, LPCSTR title, UINT flags)
{
    return hostMessageBox(owner, text, title, flags);
}

struct ObservedImport {
    const char *dll;      // module the plug-in imports from
    const char *function; // imported name
    void *replacement;    // the host's observer
    void **original;      // receives the real address
};

// Every user32 call the host watches; further observers join this table.
static ObservedImport observedImports[] = {
    {"user32.dll", "MessageBoxA", reinterpret_cast<void *>(observedMessageBox),
     reinterpret_cast<void **>(&realMessageBox)},
    {"user32.dll", "SetClipboardData", reinterpret_cast<void *>(observedSetClipboardData),
     reinterpret_cast<void **>(&realSetClipboardData)},
    {"user32.dll", "PostMessageA", reinterpret_cast<void *>(observedPostMessage),
     reinterpret_cast<void **>(&realPostMessage)},
    {"user32.dll", "keybd_event", reinterpret_cast<void *>(observedKeybdEvent),
     reinterpret_cast<void **>(&realKeybdEvent)},
    {"kernel32.dll", "GetPrivateProfileStringA", reinterpret_cast<void *>(redirectedGetProfileString),
     reinterpret_cast<void **>(&realGetProfileString)},
    {"kernel32.dll", "WritePrivateProfileStringA", reinterpret_cast<void *>(redirectedWriteProfileString),
     reinterpret_cast<void **>(&realWriteProfileString)},
};

static std::string folderOfProgram()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return "";
    std::string folder(path, length);
    size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? "" : folder.substr(0, slash + 1);
}

// GetProcAddress's result as a typed entry point; the detour through void (*)(void) is the
// conversion the compiler accepts between unrelated function types.
template <typename Proc> static Proc entryPoint(HMODULE module, const char *name)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}

bool platformLoadPlugin(PluginTable *table, std::string *error)
{
    std::string path = folderOfProgram() + "Vantrope.xfm";
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) {
        *error = path + ": cannot load the plug-in (error " + std::to_string((unsigned)GetLastError()) + ")";
        return false;
    }
    table->queryXfm = entryPoint<QueryXfmProc>(module, "QueryXfm");
    table->xfmInit = entryPoint<XfmInitProc>(module, "XfmInit");
    table->xfmSetup = entryPoint<XfmSetupProc>(module, "XfmSetup");
    table->xfmDo = entryPoint<XfmDoProc>(module, "XfmDo");
    table->xfmDestroy = entryPoint<XfmInitProc>(module, "XfmDestroy");
    table->instance = reinterpret_cast<HINSTANCE>(module);
    if (!table->queryXfm || !table->xfmInit || !table->xfmSetup || !table->xfmDo || !table->xfmDestroy) {
        *error = path + ": the plug-in lacks one of QueryXfm, XfmInit, XfmSetup, XfmDo, XfmDestroy";
        return false;
    }
    for (ObservedImport &entry : observedImports)
        patchImport(module, entry.dll, entry.function, entry.replacement, entry.original);
    return true;
}

bool platformSetSettingsDir(const std::string &dir, std::string *error) { return profileRedirectTo(dir, error); }

static LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// Registers the class unless it exists already (a system class, or the host's own from before).
static bool ensureClass(const char *name)
{
    WNDCLASSA existing;
    if (GetClassInfoA(GetModuleHandleA(nullptr), name, &existing) || GetClassInfoA(nullptr, name, &existing))
        return true;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = hostWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    return RegisterClassA(&windowClass) != 0;
}

bool platformCreateHostWindows(const std::string &frameClass, HWND *frame, HWND *child, std::string *error)
{
    HINSTANCE self = GetModuleHandleA(nullptr);
    *frame = *child = nullptr;
    if (ensureClass(frameClass.c_str()) && ensureClass("VantropeHostView")) {
        *frame = CreateWindowExA(0, frameClass.c_str(), "Vantrope host", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 800, 600, nullptr, nullptr, self, nullptr);
        if (*frame)
            *child = CreateWindowExA(0, "VantropeHostView", "", WS_CHILD | WS_VISIBLE, 0, 0, 780, 560, *frame,
                                     nullptr, self, nullptr);
    }
    if (!*frame || !*child) {
        *error = "cannot create the host's windows (error " + std::to_string((unsigned)GetLastError()) + ")";
        return false;
    }
    return true;
}

void platformDestroyHostWindows(HWND frame) { DestroyWindow(frame); }

int32_t platformAskPerson(HWND owner, const char *text, const char *title, uint32_t flags)
{
    return realMessageBox(owner, text, title, flags);
}

// The C runtime calls every character device a terminal, /dev/null under Wine included; only a handle
// the console accepts a mode query for is one a person types into.
static bool isConsole(DWORD which)
{
    DWORD mode = 0;
    HANDLE handle = GetStdHandle(which);
    return handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode) != 0;
}

bool platformStdinIsTerminal() { return _isatty(_fileno(stdin)) != 0 && isConsole(STD_INPUT_HANDLE); }

bool platformStdoutIsTerminal() { return _isatty(_fileno(stdout)) != 0 && isConsole(STD_OUTPUT_HANDLE); }

bool platformStderrIsTerminal() { return _isatty(_fileno(stderr)) != 0 && isConsole(STD_ERROR_HANDLE); }

// The runtime calls this on a thread of its own. While OUT is written the writer notices the noted
// signal between blocks and removes its temporary file itself, since the open file cannot be
// removed from here.
static void onInterrupt(int signalNumber)
{
    signal(signalNumber, onInterrupt);
    if (!interruptNoted(signalNumber) || interruptsPhase() == PHASE_WRITING)
        return;
    fputs(interruptLine(LINE_NOT_WRITTEN), stderr);
    fflush(stderr);
    _exit(interruptExitStatus());
}

void platformWatchInterrupts()
{
    signal(SIGINT, onInterrupt);
    signal(SIGTERM, onInterrupt);
}
