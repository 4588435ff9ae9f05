// Finds a resource in a PE image (PE32 or PE32+) read from disk, so that the plug-in's resources can be
// checked on a machine that cannot load or run it. Every read is bounds-checked: a truncated or
// malformed file gives an error message, never a read outside the bytes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct PeResource {
    uint64_t offset; // file offset of the resource's bytes; offset + size never passes the file's end
    uint32_t size;   // their count
};

// False when the file cannot be opened or read.
bool readWholeFile(const char *path, std::vector<uint8_t> &bytes);

// Resource TYPE / (NAME, or ID when NAME is null) / LANGUAGE. Names match regardless of ASCII case, as
// the resource calls do (the resource compiler stores them in capitals). False with the reason in ERROR.
bool findPeResource(const std::vector<uint8_t> &file, uint32_t type, const char *name, uint32_t id,
                    uint32_t language, PeResource &found, std::string &error);
