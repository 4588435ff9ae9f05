// Import-table patching: makes a loaded module call a replacement instead of one function it imports,
// so the host sees exactly what the plug-in asks user32 for. Owns no state.
#pragma once
#include <windows.h>

// Replaces module's import of dllName!functionName with replacement; stores the old address in
// *original when non-null. Returns true when an entry was patched.
bool patchImport(HMODULE module, const char *dllName, const char *functionName, void *replacement, void **original);
