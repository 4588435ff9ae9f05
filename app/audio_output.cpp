// Writing the host's output file through a temporary file beside it, so a failure never leaves a
// partial file under the output's name.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include "audio_file.h"

static std::string temporaryBeside(const std::string &path) { return path + ".vantrope-part"; }

bool probeAudioOutput(const std::string &path, std::string *error)
{
    std::string temporary = temporaryBeside(path);
    FILE *file = fopen(temporary.c_str(), "wb");
    if (!file) {
        *error = strerror(errno);
        return false;
    }
    fclose(file);
    remove(temporary.c_str());
    return true;
}

bool writeAudioFileSafely(const std::string &path, const HostAudio &audio, std::string *error)
{
    std::string temporary = temporaryBeside(path);
    if (!writeAudioFile(temporary, audio, error)) {
        remove(temporary.c_str());
        return false;
    }
    if (!replaceFile(temporary, path, error)) {
        remove(temporary.c_str());
        return false;
    }
    return true;
}
