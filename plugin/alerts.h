// The plug-in's message boxes, all titled "Vantrope".
#pragma once
#include "platform.h"

// Error icon, no owner window: the run's refusals and failures.
void showError(const char *text);
// Error icon, owned by the given window.
void showOwnedError(HWND owner, const char *text);
// Information icon, no owner window: "Can't repair this.".
void showInformation(const char *text);
