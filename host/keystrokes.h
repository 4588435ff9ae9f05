// Synthetic keystrokes that type into whatever window has the keyboard focus: a paste of a number
// and a single key tap. Used by the steering timer.
#pragma once
#include <cstdint>

// Copies value to the clipboard, then sends Ctrl down, V down, V up, Ctrl up. Touches no module state.
void pasteValue(int32_t value);

// Sends a key-down and a key-up event for one key. Touches no module state.
void tapKey(uint8_t virtualKey, uint8_t scanCode);
