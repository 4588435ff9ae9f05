// Loading and saving ClickParams from and to "Vantrope.ini", section Coeffs, through the platform's
// private-profile routines and the shared text buffer.
#pragma once
#include <cstdint>

// The text-to-number rule of the settings file: leading white space, one optional sign, decimal digits
// up to the first non-digit; no digits gives 0; overflow wraps in 32 bits. Inline, so that the host
// program reads a settings file by the plug-in's own rule without linking the plug-in.
inline int32_t parseSettingText(const char *text)
{
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        text++;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; text++)
        value = value * 10u + (uint32_t)(*text - '0');
    return (int32_t)(negative ? 0u - value : value);
}

// Reads the eleven keys into clickParams and enforces the load ranges. Uses textBuffer.
void loadSettings();

// Writes the eleven keys from clickParams, in key order, as signed decimal text. Uses textBuffer.
void saveSettings();
