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

std::string jsonEscape(const char *text)
{
    static const char hex[] = "0123456789abcdef";
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
        if (c < 0x20 || c >= 0x7F) {
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += (char)c;
        }
    }
    return out;
}

std::string jsonString(const char *text) { return "\"" + jsonEscape(text) + "\""; }
