// Writing the host's output file through a temporary file beside it, so a failure never leaves a
// partial file under the output's name.
#include <cstdio>
#include "audio_file.h"

bool writeAudioFileSafely(const std::string &path, const HostAudio &audio, std::string *error)
{
    std::string temporary = path + ".vantrope-part";
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
