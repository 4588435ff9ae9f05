// The one product header that brings in the Win32 API. On Windows this is the real <windows.h>;
// natively the build puts compat/ on the include path and the same name resolves to the stand-in.
#pragma once
#include <windows.h>
