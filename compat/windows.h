// The stand-in for <windows.h>: exactly the Win32 subset the plug-in calls, with 32-bit Windows semantics.
// The native build puts this folder on the include path, so product code includes <windows.h> unchanged.
#pragma once
#include "win_types.h"
#include "win_kernel.h"
#include "win_user.h"
#include "win_gdi.h"
