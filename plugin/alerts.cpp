// The plug-in's message boxes.
#include "alerts.h"
#include "messages.h"

void showError(const char *text) { MessageBoxA(nullptr, text, MSG_TITLE, MB_OK | MB_ICONERROR); }
void showOwnedError(HWND owner, const char *text) { MessageBoxA(owner, text, MSG_TITLE, MB_OK | MB_ICONERROR); }
void showInformation(const char *text) { MessageBoxA(nullptr, text, MSG_TITLE, MB_OK | MB_ICONINFORMATION); }
