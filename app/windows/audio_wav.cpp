// Windows audio files: RIFF/WAVE PCM and float through the host's own byte code (wav_file), and the
// replacing rename.
#include <windows.h>
#include "app/audio_file.h"
#include "app/wav_file.h"

bool readAudioFile(const std::string &path, HostAudio *audio, std::string *error)
{
    return readWavFile(path, audio, error);
}

bool writeAudioFile(const std::string &path, const HostAudio &audio, std::string *error)
{
    return writeWavFile(path, audio, error);
}

bool replaceFile(const std::string &from, const std::string &to, std::string *error)
{
    if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        *error = "cannot rename the finished file into place (error " + std::to_string((unsigned)GetLastError()) + ")";
        return false;
    }
    return true;
}
