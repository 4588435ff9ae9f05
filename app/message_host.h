// The host's side of the plug-in's message boxes: every box is recorded in the transcript (text,
// title, icon, owner, answer) and answered by the script, automatically, or by a person. Both
// builds' box observers call hostMessageBox. Owns the script and the host's window handles.
#pragma once
#include <cstdint>
#include "box_script.h"
#include "plugin/platform.h"

// Sets the script for the boxes to come and the host windows that count as owner "host".
void messageHostConfigure(const BoxScript &script, HWND frame, HWND child);

// Answers one box the plug-in asked for and records it. Returns the button pressed.
int32_t hostMessageBox(HWND owner, const char *text, const char *title, uint32_t flags);
