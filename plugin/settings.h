// Loading and saving ClickParams from and to "Vantrope.ini", section Coeffs, through the platform's
// private-profile routines and the shared text buffer.
#pragma once
#include <cstdint>

// The text-to-number rule of the settings file: leading white space, one optional sign, decimal digits
// up to the first non-digit; no digits gives 0; overflow wraps in 32 bits.
int32_t parseSettingText(const char *text);

// Reads the eleven keys into clickParams and enforces the load ranges. Uses textBuffer.
void loadSettings();

// Writes the eleven keys from clickParams, in key order, as signed decimal text. Uses textBuffer.
void saveSettings();
