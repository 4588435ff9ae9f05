// The recorder of what the stand-in's input calls hand across the host boundary: clipboard texts,
// posted commands and key events, as JSON objects for the host's transcript. Owns the observer and
// the input log.
#include <cstdio>
#include "compat_host.h"
#include "input_queue.h"

static CompatInputObserver observer = nullptr;
static void *observerContext = nullptr;
static std::vector<std::string> inputLog;

void compatResetInputRecord()
{
    observer = nullptr;
    observerContext = nullptr;
    inputLog.clear();
}

void compatSetInputObserver(CompatInputObserver o, void *context)
{
    observer = o;
    observerContext = context;
}

const std::vector<std::string> &compatInputLog() { return inputLog; }

void compatRecordInput(const char *kind, const std::string &json)
{
    inputLog.push_back(json);
    if (observer)
        observer(kind, json, observerContext);
}

std::string compatJsonString(const std::string &text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char escape[8];
                snprintf(escape, sizeof escape, "\\u%04x", c);
                out += escape;
            } else {
                out += (char)c;
            }
        }
    }
    return out + "\"";
}
