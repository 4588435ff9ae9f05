// Fuzz target: any bytes as the host's input file. Both readers the host has (libsndfile's natively,
// the RIFF/WAVE parser on Windows) must either give audio whose shape holds together or refuse with a
// one-line reason; never crash, never read outside the bytes, never give audio and a reason at once.
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "app/audio_file.h"
#include "app/wav_file.h"

static std::string path;

// The scratch file goes when the process ends normally (a fault keeps it for a look).
static void removeInput() { unlink(path.c_str()); }

static const std::string &inputPath()
{
    if (path.empty()) {
        const char *base = getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/vantrope-fuzz-audio-XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        int fd = mkstemp(name.data());
        if (fd < 0)
            abort();
        close(fd);
        path = name.data();
        atexit(removeInput);
    }
    return path;
}

static void check(const char *reader, bool ok, const HostAudio &audio, const std::string &error)
{
    if (ok) {
        std::string shape;
        if (!checkAudioShape(audio, &shape)) {
            fprintf(stderr, "%s: audio given with a broken shape: %s\n", reader, shape.c_str());
            abort();
        }
        if (audio.claimedFrames < audio.frames) {
            fprintf(stderr, "%s: fewer frames claimed than read\n", reader);
            abort();
        }
        return;
    }
    if (error.empty() || error.find('\n') != std::string::npos) {
        fprintf(stderr, "%s: refusal without a one-line reason: \"%s\"\n", reader, error.c_str());
        abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<uint8_t> image(data, data + size);
    HostAudio audio;
    std::string error;
    bool ok = parseWav(image, &audio, &error);
    check("parseWav", ok, audio, error);

    FILE *file = fopen(inputPath().c_str(), "wb");
    if (!file || (size && fwrite(data, 1, size, file) != size) || fclose(file) != 0)
        abort();
    HostAudio read;
    error.clear();
    ok = readAudioFile(inputPath(), &read, &error);
    check("readAudioFile", ok, read, error);
    return 0;
}
