// Windows audio files: RIFF/WAVE PCM and float through the host's own byte code (wav_file), the
// replacing rename, and standard output. OUT is always a RIFF/WAVE file here: another extension is
// refused rather than given WAV data.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <cctype>
#include "app/audio_file.h"
#include "app/wav_file.h"

bool readAudioFile(const std::string &path, HostAudio *audio, std::string *error)
{
    return readWavFile(path, audio, error);
}

static std::string extensionOf(const std::string &name)
{
    size_t separator = name.find_last_of("\\/:");
    size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator) || dot + 1 == name.size())
        return "";
    std::string extension = name.substr(dot + 1);
    for (char &c : extension)
        c = (char)tolower((unsigned char)c);
    return extension;
}

bool chooseOutputFormat(const std::string &outName, bool lossyAllowed, HostAudio *audio, std::string *error)
{
    (void)lossyAllowed;
    (void)audio;
    std::string extension = outName == "-" ? "" : extensionOf(outName);
    if (extension.empty() || extension == "wav" || extension == "wave")
        return true;
    *error = outName + ": the Windows build writes RIFF/WAVE files only; name OUT .wav";
    return false;
}

bool writeAudioFile(const std::string &path, const HostAudio &audio, const std::string &modelPath,
                    std::string *error)
{
    if (!writeWavFile(path, audio, error))
        return false;
    // A replaced file keeps its attributes (read-only excepted, which would stop the rename).
    DWORD attributes = modelPath.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(modelPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesA(path.c_str(), attributes & ~(DWORD)(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
    return true;
}

bool writeAudioStream(const std::string &path, const HostAudio &audio, std::string *error)
{
    if (!path.empty())
        return writeWavFile(path, audio, error);
    _setmode(_fileno(stdout), _O_BINARY);
    return writeWavStream(stdout, audio, error);
}

bool replaceFile(const std::string &from, const std::string &to, std::string *error)
{
    if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        *error = "cannot rename the finished file into place (error " + std::to_string((unsigned)GetLastError()) + ")";
        return false;
    }
    return true;
}
