// RIFF/WAVE reading and writing with explicit little-endian byte code and fixed-width types.
#include "wav_file.h"
#include <cerrno>
#include <cstdio>
#include <cstring>

static uint32_t read16(const uint8_t *p) { return (uint32_t)p[0] | ((uint32_t)p[1] << 8); }

static uint32_t read32(const uint8_t *p)
{
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

static void put16(std::vector<uint8_t> *out, uint32_t v)
{
    out->push_back((uint8_t)(v & 0xFF));
    out->push_back((uint8_t)((v >> 8) & 0xFF));
}

static void put32(std::vector<uint8_t> *out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

static void putTag(std::vector<uint8_t> *out, const char *tag) { out->insert(out->end(), tag, tag + 4); }

// The "fmt " chunk's fields. The extensible header carries the real format in its sub-format's first
// two bytes.
static bool parseFormat(const uint8_t *chunk, uint32_t size, HostAudio *audio, std::string *error)
{
    if (size < 16) {
        *error = "the format chunk is too short";
        return false;
    }
    uint32_t tag = read16(chunk);
    if (tag == WAV_FORMAT_EXTENSIBLE && size >= 40)
        tag = read16(chunk + 24);
    if (tag != WAV_FORMAT_PCM && tag != WAV_FORMAT_FLOAT) {
        *error = "not PCM or float audio (format tag " + std::to_string(tag) + ")";
        return false;
    }
    audio->channels = (int32_t)read16(chunk + 2);
    audio->sampleRate = (int32_t)read32(chunk + 4);
    uint32_t blockAlign = read16(chunk + 12);
    audio->bitsPerSample = (int32_t)read16(chunk + 14);
    audio->isFloat = tag == WAV_FORMAT_FLOAT;
    audio->fileFormat = (int32_t)tag;
    if (audio->channels < 1 || audio->sampleRate < 1) {
        *error = "bad channel count or sample rate";
        return false;
    }
    if (audio->bitsPerSample < 8 || audio->bitsPerSample % 8 || blockAlign != frameBytes(*audio)) {
        *error = "unsupported sample layout (" + std::to_string(audio->bitsPerSample) + " bits in blocks of " +
                 std::to_string(blockAlign) + " bytes)";
        return false;
    }
    return true;
}

bool parseWav(const std::vector<uint8_t> &image, HostAudio *audio, std::string *error)
{
    const uint8_t *bytes = image.data();
    size_t size = image.size();
    if (size < 12 || memcmp(bytes, "RIFF", 4) != 0 || memcmp(bytes + 8, "WAVE", 4) != 0) {
        *error = "not a RIFF/WAVE file";
        return false;
    }
    *audio = HostAudio();
    bool haveFormat = false;
    size_t pos = 12;
    while (pos + 8 <= size) {
        const uint8_t *chunk = bytes + pos + 8;
        uint32_t chunkSize = read32(bytes + pos + 4);
        size_t available = size - (pos + 8);
        if (memcmp(bytes + pos, "fmt ", 4) == 0) {
            if (chunkSize > available) {
                *error = "the format chunk is cut off";
                return false;
            }
            if (!parseFormat(chunk, chunkSize, audio, error))
                return false;
            haveFormat = true;
        } else if (memcmp(bytes + pos, "data", 4) == 0) {
            if (!haveFormat) {
                *error = "the data chunk comes before the format chunk";
                return false;
            }
            size_t length = chunkSize < available ? chunkSize : available;
            uint32_t frame = frameBytes(*audio);
            uint64_t frames = length / frame;
            if (frames * frame > 0xFFFFFFFFull) {
                *error = "too long: the audio data exceeds 4 GB";
                return false;
            }
            audio->frames = (uint32_t)frames;
            audio->bytes.assign(chunk, chunk + (size_t)(frames * frame));
            return checkAudioShape(*audio, error);
        }
        // Chunks are padded to an even length.
        pos += 8 + (size_t)chunkSize + (chunkSize & 1u);
    }
    *error = haveFormat ? "no data chunk" : "no format chunk";
    return false;
}

bool buildWav(const HostAudio &audio, std::vector<uint8_t> *image, std::string *error)
{
    if (!checkAudioShape(audio, error))
        return false;
    uint32_t dataSize = (uint32_t)audio.bytes.size();
    uint32_t pad = dataSize & 1u;
    if ((uint64_t)dataSize + pad + 36u > 0xFFFFFFFFull) {
        *error = "too long for a RIFF/WAVE file";
        return false;
    }
    uint32_t frame = frameBytes(audio);
    image->clear();
    image->reserve(44 + (size_t)dataSize + pad);
    putTag(image, "RIFF");
    put32(image, 36u + dataSize + pad);
    putTag(image, "WAVE");
    putTag(image, "fmt ");
    put32(image, 16);
    put16(image, audio.isFloat ? WAV_FORMAT_FLOAT : WAV_FORMAT_PCM);
    put16(image, (uint32_t)audio.channels);
    put32(image, (uint32_t)audio.sampleRate);
    put32(image, (uint32_t)audio.sampleRate * frame);
    put16(image, frame);
    put16(image, (uint32_t)audio.bitsPerSample);
    putTag(image, "data");
    put32(image, dataSize);
    image->insert(image->end(), audio.bytes.begin(), audio.bytes.end());
    if (pad)
        image->push_back(0);
    return true;
}

bool readWavFile(const std::string &path, HostAudio *audio, std::string *error)
{
    FILE *file = fopen(path.c_str(), "rb");
    if (!file) {
        *error = strerror(errno);
        return false;
    }
    std::vector<uint8_t> image;
    uint8_t block[65536];
    size_t got;
    while ((got = fread(block, 1, sizeof block, file)) > 0)
        image.insert(image.end(), block, block + got);
    bool failed = ferror(file) != 0;
    fclose(file);
    if (failed) {
        *error = "read error";
        return false;
    }
    return parseWav(image, audio, error);
}

bool writeWavFile(const std::string &path, const HostAudio &audio, std::string *error)
{
    std::vector<uint8_t> image;
    if (!buildWav(audio, &image, error))
        return false;
    FILE *file = fopen(path.c_str(), "wb");
    if (!file) {
        *error = strerror(errno);
        return false;
    }
    bool written = fwrite(image.data(), 1, image.size(), file) == image.size();
    bool closed = fclose(file) == 0;
    if (!written || !closed) {
        *error = "write error (disk full?)";
        return false;
    }
    return true;
}
