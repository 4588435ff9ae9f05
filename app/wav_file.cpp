// RIFF/WAVE reading and writing with explicit little-endian byte code and fixed-width types. The chunk
// walk reads through one interface from a memory image or an open file, so a file's samples land in
// HostAudio's buffer in one read.
#include "wav_file.h"
#include <cerrno>
#include <cstring>
#include "interrupts.h"

enum { WRITE_BLOCK_BYTES = 1 << 20 };

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

// Where the chunk walk reads: a memory image, or else an open file; size is the bytes there are.
struct WavSource {
    const std::vector<uint8_t> *image;
    FILE *file;
    uint64_t size;
};

static bool seekTo(FILE *file, uint64_t offset)
{
#ifdef _WIN32
    return _fseeki64(file, (int64_t)offset, SEEK_SET) == 0;
#else
    return fseeko(file, (off_t)offset, SEEK_SET) == 0;
#endif
}

// Reads count bytes at offset, which the caller has checked lie inside the source.
static bool readAt(const WavSource &source, uint64_t offset, void *out, size_t count)
{
    if (count == 0)
        return true;
    if (source.image) {
        memcpy(out, source.image->data() + offset, count);
        return true;
    }
    return seekTo(source.file, offset) && fread(out, 1, count, source.file) == count;
}

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

// The data chunk at chunk (its body's offset) of chunkSize bytes: frames, the promise, and the samples
// themselves when withSamples.
static bool takeData(const WavSource &source, uint64_t chunk, uint32_t chunkSize, bool withSamples, HostAudio *audio,
                     std::string *error)
{
    uint64_t available = source.size - chunk;
    uint64_t length = chunkSize < available ? chunkSize : available;
    uint32_t frame = frameBytes(*audio);
    uint64_t frames = length / frame;
    if (frames * frame > 0xFFFFFFFFull) {
        *error = "too long: the audio data exceeds 4 GB";
        return false;
    }
    audio->frames = (uint32_t)frames;
    audio->claimedFrames = chunkSize / frame;
    if (!withSamples)
        return true;
    audio->bytes.resize((size_t)(frames * frame));
    if (!readAt(source, chunk, audio->bytes.data(), audio->bytes.size())) {
        *error = "read error";
        return false;
    }
    return checkAudioShape(*audio, error);
}

static bool parseWavSource(const WavSource &source, bool withSamples, HostAudio *audio, std::string *error)
{
    uint8_t head[12];
    if (source.size < 12 || !readAt(source, 0, head, 12) || memcmp(head, "RIFF", 4) != 0 ||
        memcmp(head + 8, "WAVE", 4) != 0) {
        *error = "not a RIFF/WAVE file";
        return false;
    }
    *audio = HostAudio();
    bool haveFormat = false;
    uint64_t pos = 12;
    while (pos + 8 <= source.size) {
        uint8_t header[8];
        if (!readAt(source, pos, header, 8)) {
            *error = "read error";
            return false;
        }
        uint32_t chunkSize = read32(header + 4);
        uint64_t available = source.size - (pos + 8);
        if (memcmp(header, "fmt ", 4) == 0) {
            if (chunkSize > available) {
                *error = "the format chunk is cut off";
                return false;
            }
            // Only the first 40 bytes carry anything read; a longer chunk's rest is stepped over.
            uint8_t body[64] = {0};
            if (!readAt(source, pos + 8, body, chunkSize < sizeof body ? chunkSize : sizeof body)) {
                *error = "read error";
                return false;
            }
            if (!parseFormat(body, chunkSize, audio, error))
                return false;
            haveFormat = true;
        } else if (memcmp(header, "data", 4) == 0) {
            if (!haveFormat) {
                *error = "the data chunk comes before the format chunk";
                return false;
            }
            return takeData(source, pos + 8, chunkSize, withSamples, audio, error);
        }
        // Chunks are padded to an even length.
        pos += 8 + (uint64_t)chunkSize + (chunkSize & 1u);
    }
    *error = haveFormat ? "no data chunk" : "no format chunk";
    return false;
}

bool parseWav(const std::vector<uint8_t> &image, HostAudio *audio, std::string *error)
{
    WavSource source = {&image, nullptr, image.size()};
    return parseWavSource(source, true, audio, error);
}

bool buildWavHeader(const HostAudio &audio, std::vector<uint8_t> *header, std::string *error)
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
    header->clear();
    putTag(header, "RIFF");
    put32(header, 36u + dataSize + pad);
    putTag(header, "WAVE");
    putTag(header, "fmt ");
    put32(header, 16);
    put16(header, audio.isFloat ? WAV_FORMAT_FLOAT : WAV_FORMAT_PCM);
    put16(header, (uint32_t)audio.channels);
    put32(header, (uint32_t)audio.sampleRate);
    put32(header, (uint32_t)audio.sampleRate * frame);
    put16(header, frame);
    put16(header, (uint32_t)audio.bitsPerSample);
    putTag(header, "data");
    put32(header, dataSize);
    return true;
}

bool buildWav(const HostAudio &audio, std::vector<uint8_t> *image, std::string *error)
{
    if (!buildWavHeader(audio, image, error))
        return false;
    image->insert(image->end(), audio.bytes.begin(), audio.bytes.end());
    if (audio.bytes.size() & 1u)
        image->push_back(0);
    return true;
}

// Opens path and measures it for the chunk walk. Returns the open file, or null with the reason.
static FILE *openSource(const std::string &path, WavSource *source, std::string *error)
{
    FILE *file = fopen(path.c_str(), "rb");
    if (!file) {
        *error = strerror(errno);
        return nullptr;
    }
#ifdef _WIN32
    bool measured = _fseeki64(file, 0, SEEK_END) == 0;
    int64_t size = measured ? _ftelli64(file) : -1;
#else
    bool measured = fseeko(file, 0, SEEK_END) == 0;
    int64_t size = measured ? (int64_t)ftello(file) : -1;
#endif
    if (size < 0) {
        fclose(file);
        *error = "cannot tell the file's size";
        return nullptr;
    }
    *source = {nullptr, file, (uint64_t)size};
    return file;
}

bool readWavFile(const std::string &path, HostAudio *audio, std::string *error)
{
    WavSource source;
    FILE *file = openSource(path, &source, error);
    if (!file)
        return false;
    bool ok = parseWavSource(source, true, audio, error);
    fclose(file);
    return ok;
}

bool wavClaimedFrames(const std::string &path, uint64_t *frames)
{
    WavSource source;
    std::string error;
    FILE *file = openSource(path, &source, &error);
    if (!file)
        return false;
    HostAudio layout;
    bool ok = parseWavSource(source, false, &layout, &error);
    fclose(file);
    if (ok)
        *frames = layout.claimedFrames;
    return ok;
}

bool writeWavStream(FILE *stream, const HostAudio &audio, std::string *error)
{
    std::vector<uint8_t> header;
    if (!buildWavHeader(audio, &header, error))
        return false;
    bool written = fwrite(header.data(), 1, header.size(), stream) == header.size();
    const uint8_t *data = audio.bytes.data();
    size_t left = audio.bytes.size();
    while (written && left > 0) {
        if (interruptSignal()) {
            *error = "interrupted";
            return false;
        }
        size_t block = left < (size_t)WRITE_BLOCK_BYTES ? left : (size_t)WRITE_BLOCK_BYTES;
        written = fwrite(data, 1, block, stream) == block;
        data += block;
        left -= block;
    }
    if (written && (audio.bytes.size() & 1u))
        written = fputc(0, stream) != EOF;
    if (written)
        written = fflush(stream) == 0;
    if (!written)
        *error = std::string("write error: ") + strerror(errno);
    return written;
}

bool writeWavFile(const std::string &path, const HostAudio &audio, std::string *error)
{
    FILE *file = fopen(path.c_str(), "wb");
    if (!file) {
        *error = strerror(errno);
        return false;
    }
    bool written = writeWavStream(file, audio, error);
    bool closed = fclose(file) == 0;
    if (written && !closed) {
        *error = "write error (disk full?)";
        return false;
    }
    return written;
}
