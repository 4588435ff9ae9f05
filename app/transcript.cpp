// The host's transcript file and the JSON string escaper. Owns the open file; written in binary mode
// so that both builds produce the same bytes.
#include "transcript.h"
#include <cerrno>
#include <cstdio>
#include <cstring>

static FILE *transcriptFile = nullptr;

bool transcriptOpen(const std::string &path, std::string *error)
{
    transcriptClose();
    transcriptFile = fopen(path.c_str(), "wb");
    if (!transcriptFile) {
        *error = path + ": cannot write the transcript: " + strerror(errno);
        return false;
    }
    return true;
}

void transcriptClose()
{
    if (transcriptFile)
        fclose(transcriptFile);
    transcriptFile = nullptr;
}

bool transcriptActive() { return transcriptFile != nullptr; }

void transcriptEvent(const std::string &json)
{
    if (!transcriptFile)
        return;
    fwrite(json.data(), 1, json.size(), transcriptFile);
    fputc('\n', transcriptFile);
    fflush(transcriptFile);
}

// The length of the well-formed UTF-8 sequence at p (2 to 4 bytes), or 0 when the byte there starts
// none: overlong forms, surrogates and values past U+10FFFF are not well-formed.
static int32_t utf8Length(const unsigned char *p)
{
    unsigned char c = p[0];
    int32_t length = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
    if (length == 0)
        return 0;
    // The second byte's range excludes the overlong, surrogate and too-large forms.
    unsigned char low = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
    unsigned char high = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
    if (p[1] < low || p[1] > high)
        return 0;
    for (int32_t i = 2; i < length; i++)
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    return length;
}

// Windows-1252, the plug-in's single-byte code page, from 0x80 to 0x9F; the five bytes it leaves
// undefined keep their own value. From 0xA0 up it agrees with Latin-1.
static const uint16_t windows1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

static void appendUnicodeEscape(std::string *out, uint32_t code)
{
    static const char hex[] = "0123456789abcdef";
    *out += "\\u";
    for (int32_t shift = 12; shift >= 0; shift -= 4)
        *out += hex[(code >> shift) & 15];
}

std::string jsonEscape(const char *text)
{
    std::string out;
    if (!text)
        return out;
    for (const unsigned char *p = (const unsigned char *)text; *p; p++) {
        unsigned char c = *p;
        switch (c) {
        case '"': out += "\\\""; continue;
        case '\\': out += "\\\\"; continue;
        case '\n': out += "\\n"; continue;
        case '\r': out += "\\r"; continue;
        case '\t': out += "\\t"; continue;
        case '\b': out += "\\b"; continue;
        case '\f': out += "\\f"; continue;
        default: break;
        }
        if (c < 0x20 || c == 0x7F) {
            appendUnicodeEscape(&out, c);
        } else if (c < 0x80) {
            out += (char)c;
        } else if (int32_t length = utf8Length(p)) {
            // Text typed or named in UTF-8 (file names, fields set by a script) stays as it is.
            out.append((const char *)p, (size_t)length);
            p += length - 1;
        } else {
            appendUnicodeEscape(&out, c < 0xA0 ? windows1252[c - 0x80] : c);
        }
    }
    return out;
}

std::string jsonString(const char *text) { return "\"" + jsonEscape(text) + "\""; }
