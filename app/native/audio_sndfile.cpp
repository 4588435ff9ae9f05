// Native audio files through libsndfile: any format it reads (WAV, FLAC, AIFF, ...), held as the
// host's interleaved little-endian frames, and written back in the format and encoding it came in.
#include <sndfile.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include "app/audio_file.h"

enum { BLOCK_FRAMES = 4096 };

// The depth the host presents: the file's real one. Encodings without a depth of their own are
// decoded to 16 bits, as an editor opens them.
static void chooseDepth(int32_t format, HostAudio *audio)
{
    audio->isFloat = false;
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
        audio->bitsPerSample = 8;
        break;
    case SF_FORMAT_PCM_24:
        audio->bitsPerSample = 24;
        break;
    case SF_FORMAT_PCM_32:
        audio->bitsPerSample = 32;
        break;
    case SF_FORMAT_FLOAT:
        audio->bitsPerSample = 32;
        audio->isFloat = true;
        break;
    case SF_FORMAT_DOUBLE:
        audio->bitsPerSample = 64;
        audio->isFloat = true;
        break;
    default:
        audio->bitsPerSample = 16;
        break;
    }
}

static void putLittle(uint8_t *out, uint64_t value, uint32_t bytes)
{
    for (uint32_t i = 0; i < bytes; i++)
        out[i] = (uint8_t)(value >> (8 * i));
}

static uint64_t getLittle(const uint8_t *in, uint32_t bytes)
{
    uint64_t value = 0;
    for (uint32_t i = 0; i < bytes; i++)
        value |= (uint64_t)in[i] << (8 * i);
    return value;
}

// One integer sample as libsndfile's left-justified 32-bit value, to and from the host's bytes.
static void storeInt(uint8_t *out, int32_t value, int32_t bits)
{
    switch (bits) {
    case 8:
        out[0] = (uint8_t)(value / (1 << 24) + 128);
        break;
    case 16:
        putLittle(out, (uint64_t)(uint32_t)(value / (1 << 16)), 2);
        break;
    case 24:
        putLittle(out, (uint64_t)(uint32_t)(value / (1 << 8)), 3);
        break;
    default:
        putLittle(out, (uint64_t)(uint32_t)value, 4);
        break;
    }
}

static int32_t loadInt(const uint8_t *in, int32_t bits)
{
    switch (bits) {
    case 8:
        return (int32_t)((uint32_t)((int32_t)in[0] - 128) << 24);
    case 16:
        return (int32_t)((uint32_t)getLittle(in, 2) << 16);
    case 24:
        return (int32_t)((uint32_t)getLittle(in, 3) << 8);
    default:
        return (int32_t)(uint32_t)getLittle(in, 4);
    }
}

// Reads every frame, block by block, as the representation the depth needs.
static bool readFrames(SNDFILE *file, HostAudio *audio, std::string *error)
{
    uint32_t sample = sampleBytes(*audio);
    size_t perBlock = (size_t)BLOCK_FRAMES * (size_t)audio->channels;
    std::vector<int32_t> ints(perBlock);
    std::vector<float> floats(audio->isFloat && audio->bitsPerSample == 32 ? perBlock : 0);
    std::vector<double> doubles(audio->isFloat && audio->bitsPerSample == 64 ? perBlock : 0);
    for (;;) {
        sf_count_t got;
        if (!floats.empty())
            got = sf_readf_float(file, floats.data(), BLOCK_FRAMES);
        else if (!doubles.empty())
            got = sf_readf_double(file, doubles.data(), BLOCK_FRAMES);
        else
            got = sf_readf_int(file, ints.data(), BLOCK_FRAMES);
        if (got <= 0)
            break;
        size_t values = (size_t)got * (size_t)audio->channels;
        if ((uint64_t)audio->bytes.size() + values * sample > 0xFFFFFFFFull) {
            *error = "too long: the audio data exceeds 4 GB";
            return false;
        }
        size_t at = audio->bytes.size();
        audio->bytes.resize(at + values * sample);
        for (size_t i = 0; i < values; i++) {
            uint8_t *out = audio->bytes.data() + at + i * sample;
            if (!floats.empty())
                memcpy(out, &floats[i], 4);
            else if (!doubles.empty())
                memcpy(out, &doubles[i], 8);
            else
                storeInt(out, ints[i], audio->bitsPerSample);
        }
    }
    audio->frames = (uint32_t)(audio->bytes.size() / frameBytes(*audio));
    return true;
}

bool readAudioFile(const std::string &path, HostAudio *audio, std::string *error)
{
    SF_INFO info;
    memset(&info, 0, sizeof info);
    SNDFILE *file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        FILE *probe = fopen(path.c_str(), "rb");
        *error = probe ? sf_strerror(nullptr) : strerror(errno);
        if (probe)
            fclose(probe);
        return false;
    }
    *audio = HostAudio();
    audio->channels = info.channels;
    audio->sampleRate = info.samplerate;
    audio->fileFormat = info.format;
    chooseDepth(info.format, audio);
    bool ok = audio->channels >= 1 && audio->channels <= 65535;
    if (!ok)
        *error = "bad channel count";
    ok = ok && readFrames(file, audio, error);
    sf_close(file);
    return ok && checkAudioShape(*audio, error);
}

// Writes the frames in blocks, converting back from the host's bytes.
static bool writeFrames(SNDFILE *file, const HostAudio &audio)
{
    uint32_t sample = sampleBytes(audio);
    size_t channels = (size_t)audio.channels;
    std::vector<int32_t> ints((size_t)BLOCK_FRAMES * channels);
    std::vector<float> floats(ints.size());
    std::vector<double> doubles(ints.size());
    for (uint32_t first = 0; first < audio.frames; first += BLOCK_FRAMES) {
        uint32_t count = audio.frames - first < (uint32_t)BLOCK_FRAMES ? audio.frames - first : (uint32_t)BLOCK_FRAMES;
        const uint8_t *in = audio.bytes.data() + (size_t)first * channels * sample;
        size_t values = (size_t)count * channels;
        sf_count_t put;
        if (audio.isFloat && audio.bitsPerSample == 32) {
            memcpy(floats.data(), in, values * 4);
            put = sf_writef_float(file, floats.data(), count);
        } else if (audio.isFloat) {
            memcpy(doubles.data(), in, values * 8);
            put = sf_writef_double(file, doubles.data(), count);
        } else {
            for (size_t i = 0; i < values; i++)
                ints[i] = loadInt(in + i * sample, audio.bitsPerSample);
            put = sf_writef_int(file, ints.data(), count);
        }
        if (put != (sf_count_t)count)
            return false;
    }
    return true;
}

bool writeAudioFile(const std::string &path, const HostAudio &audio, std::string *error)
{
    if (!checkAudioShape(audio, error))
        return false;
    SF_INFO info;
    memset(&info, 0, sizeof info);
    info.channels = audio.channels;
    info.samplerate = audio.sampleRate;
    info.format = audio.fileFormat;
    if (!sf_format_check(&info)) {
        *error = "this file format cannot be written";
        return false;
    }
    SNDFILE *file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        *error = sf_strerror(nullptr);
        return false;
    }
    bool ok = writeFrames(file, audio);
    if (!ok)
        *error = std::string("write error: ") + sf_strerror(file);
    if (sf_close(file) != 0 && ok) {
        *error = "write error while closing";
        ok = false;
    }
    return ok;
}

bool replaceFile(const std::string &from, const std::string &to, std::string *error)
{
    if (rename(from.c_str(), to.c_str()) != 0) {
        *error = strerror(errno);
        return false;
    }
    return true;
}
