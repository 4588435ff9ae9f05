// The host's transcript: one JSON object per line for everything that crosses the host interface, in
// order. Any app file may add events. Owns the open transcript file (module state: one per process).
#pragma once
#include <cstdint>
#include <string>

// Opens (truncates) the transcript file. Returns true, or false with the reason in *error.
bool transcriptOpen(const std::string &path, std::string *error);

// Flushes and closes the transcript; later events are dropped.
void transcriptClose();

// True while a transcript file is open.
bool transcriptActive();

// Writes one event, a complete JSON object without the line end, and flushes it so that a crash
// still leaves every earlier line. Does nothing while no transcript is open.
void transcriptEvent(const std::string &json);

// The text's bytes escaped for use inside a JSON string: quote, backslash and control characters
// (and 0x7F) escaped; well-formed UTF-8 sequences kept as they are, since JSON text is UTF-8; any
// other byte from 0x80 up read as Windows-1252, the plug-in's single-byte code page, and written
// as a \uXXXX escape. The same bytes give the same text in both builds.
std::string jsonEscape(const char *text);

// jsonEscape(text) in double quotes; a null text gives "".
std::string jsonString(const char *text);
