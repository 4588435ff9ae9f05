// Import-table patching over the PE image of a loaded module: walks its import descriptors, finds the
// entry by name (hint/name table) or, without one, by the address the loader bound, and rewrites the
// IAT slot with the page made writable for the moment.
#include "import_hooks.h"
#include <cstring>

static IMAGE_NT_HEADERS *ntHeaders(BYTE *base)
{
    IMAGE_DOS_HEADER *dos = reinterpret_cast<IMAGE_DOS_HEADER *>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE)
        return nullptr;
    IMAGE_NT_HEADERS *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
    return nt->Signature == IMAGE_NT_SIGNATURE ? nt : nullptr;
}

static bool writeSlot(IMAGE_THUNK_DATA *slot, void *replacement)
{
    DWORD oldProtect = 0;
    if (!VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &oldProtect))
        return false;
    slot->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
    DWORD ignored = 0;
    VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, oldProtect, &ignored);
    FlushInstructionCache(GetCurrentProcess(), &slot->u1.Function, sizeof slot->u1.Function);
    return true;
}

// Whether entry i of one descriptor's tables imports functionName (real: its bound address).
static bool entryMatches(BYTE *base, IMAGE_THUNK_DATA *names, IMAGE_THUNK_DATA *slot, const char *functionName,
                         ULONG_PTR real)
{
    if (names && !IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
        IMAGE_IMPORT_BY_NAME *byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME *>(base + names->u1.AddressOfData);
        return strcmp(reinterpret_cast<const char *>(byName->Name), functionName) == 0;
    }
    return real && slot->u1.Function == real;
}

bool patchImport(HMODULE module, const char *dllName, const char *functionName, void *replacement, void **original)
{
    BYTE *base = reinterpret_cast<BYTE *>(module);
    IMAGE_NT_HEADERS *nt = base ? ntHeaders(base) : nullptr;
    if (!nt)
        return false;
    IMAGE_DATA_DIRECTORY directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress)
        return false;
    HMODULE exporter = GetModuleHandleA(dllName);
    ULONG_PTR real = exporter ? reinterpret_cast<ULONG_PTR>(GetProcAddress(exporter, functionName)) : 0;
    bool patched = false;
    IMAGE_IMPORT_DESCRIPTOR *descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + directory.VirtualAddress);
    for (; descriptor->Name; descriptor++) {
        if (lstrcmpiA(reinterpret_cast<const char *>(base + descriptor->Name), dllName) != 0)
            continue;
        IMAGE_THUNK_DATA *slot = reinterpret_cast<IMAGE_THUNK_DATA *>(base + descriptor->FirstThunk);
        IMAGE_THUNK_DATA *names = descriptor->OriginalFirstThunk
                                      ? reinterpret_cast<IMAGE_THUNK_DATA *>(base + descriptor->OriginalFirstThunk)
                                      : nullptr;
        for (; slot->u1.Function; slot++, names = names ? names + 1 : nullptr) {
            if (!entryMatches(base, names, slot, functionName, real))
                continue;
            void *previous = reinterpret_cast<void *>(slot->u1.Function);
            if (!writeSlot(slot, replacement))
                continue;
            // The first address found is the real one; a second slot for the same import holds it too.
            if (original && !patched)
                *original = previous;
            patched = true;
        }
    }
    return patched;
}
