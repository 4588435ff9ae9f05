// Module-level state of the plug-in frame: what XfmSetup recorded about the host, and the shared
// 1024-byte text buffer used for INI values, candidate messages and the dialog caption.
#pragma once
#include <cstdint>
#include "platform.h"

enum { TEXT_BUFFER_SIZE = 1024 };

extern HWND hostWindow;          // window given to XfmSetup; owner of the dialog, target of steering
extern HINSTANCE hostInstance;   // module instance given to XfmSetup; the dialog template comes from it
extern int32_t hostKind;         // HostKind recognised by XfmSetup
extern char textBuffer[TEXT_BUFFER_SIZE];

// HostKind of the window's parent (or of the window itself when it has none): 2 for class
// "COOL2000SS", 1 for "COOL96", compared byte by byte; 0 otherwise, for a null window or no class.
int32_t detectHost(HWND window);
