// Native audio files through libsndfile: any format it reads (WAV, FLAC, AIFF, Ogg, MP3, ...), held
// as the host's interleaved little-endian frames, and written in the format chosen for OUT. 16-bit
// and float samples go straight between libsndfile and the host's buffer (this machine's order is the
// buffer's), other depths through a small block. A file's tags, broadcast-wave record and cue points
// travel with it. Writes go to a new file (the caller renames it into place) or, for what cannot be
// replaced (a device, a FIFO, standard output), through a finished image in memory.
#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <vector>
#include "app/audio_file.h"
#include "app/interrupts.h"
#include "app/wav_file.h"
#include "audio_metadata.h"
#include "huge_pages.h"
#include "list_chunk_guard.h"
#include "sndfile_probe.h"

enum { BLOCK_FRAMES = 65536 };

// The buffer's byte order is little-endian; where the machine's is too, libsndfile's shorts, floats
// and doubles are the buffer's bytes.
static const bool NATIVE_ORDER_IS_BUFFER_ORDER = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;

// The depth the host presents: the file's real one. Encodings without a depth of their own are
// decoded to 16 bits, as an editor opens them.
static void chooseDepth(int32_t format, HostAudio *audio)
{
    audio->isFloat = false;
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_DPCM_8:
        audio->bitsPerSample = 8;
        break;
    case SF_FORMAT_PCM_24:
    case SF_FORMAT_DWVW_24:
    case SF_FORMAT_ALAC_20:
    case SF_FORMAT_ALAC_24:
        audio->bitsPerSample = 24;
        break;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_ALAC_32:
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

// Whether the host's samples are libsndfile's shorts, floats or doubles byte for byte.
static bool directSamples(const HostAudio &audio)
{
    return NATIVE_ORDER_IS_BUFFER_ORDER && (audio.bitsPerSample == 16 || audio.isFloat);
}

// Reads count frames to out, straight or through ints. Returns the frames read.
static sf_count_t readBlock(SNDFILE *file, const HostAudio &audio, uint8_t *out, sf_count_t count,
                            std::vector<int32_t> *ints)
{
    if (directSamples(audio)) {
        if (!audio.isFloat)
            return sf_readf_short(file, reinterpret_cast<short *>(out), count);
        if (audio.bitsPerSample == 32)
            return sf_readf_float(file, reinterpret_cast<float *>(out), count);
        return sf_readf_double(file, reinterpret_cast<double *>(out), count);
    }
    sf_count_t got = sf_readf_int(file, ints->data(), count);
    uint32_t sample = sampleBytes(audio);
    for (size_t i = 0; i < (size_t)(got > 0 ? got : 0) * (size_t)audio.channels; i++)
        storeInt(out + i * sample, (*ints)[i], audio.bitsPerSample);
    return got;
}

// Reads every frame into the buffer, sized once from what the header promises (bounded, since a
// damaged header may promise anything; a compressed file decodes to more than its own size).
static bool readFrames(SNDFILE *file, sf_count_t promised, uint64_t fileSize, HostAudio *audio, std::string *error)
{
    const uint32_t frame = frameBytes(*audio);
    uint64_t expected = promised > 0 ? (uint64_t)promised * frame : 0;
    uint64_t bound = fileSize * 16u + ((uint64_t)1 << 20);
    audio->bytes.reserve(hugePageCapacity((size_t)(expected < bound ? expected : bound)));
    adviseHugePages(audio->bytes.data(), audio->bytes.capacity());
    std::vector<int32_t> ints(directSamples(*audio) ? 0 : (size_t)BLOCK_FRAMES * (size_t)audio->channels);
    std::vector<uint8_t> beyond; // frames past what the header promised, which would make the buffer grow
    for (;;) {
        size_t at = audio->bytes.size();
        if ((uint64_t)at > 0xFFFFFFFFull)
            break;
        size_t room = (audio->bytes.capacity() - at) / frame;
        sf_count_t got;
        if (room == 0) {
            beyond.resize((size_t)BLOCK_FRAMES * frame);
            got = readBlock(file, *audio, beyond.data(), BLOCK_FRAMES, &ints);
            if (got > 0)
                audio->bytes.insert(audio->bytes.end(), beyond.begin(), beyond.begin() + (std::ptrdiff_t)((size_t)got * frame));
        } else {
            sf_count_t want = room < (size_t)BLOCK_FRAMES ? (sf_count_t)room : (sf_count_t)BLOCK_FRAMES;
            audio->bytes.resize(at + (size_t)want * frame);
            got = readBlock(file, *audio, audio->bytes.data() + at, want, &ints);
            audio->bytes.resize(at + (size_t)(got > 0 ? got : 0) * frame);
        }
        if (got <= 0)
            break;
    }
    if (audio->bytes.size() > 0xFFFFFFFFull) {
        *error = "too long: the audio data exceeds 4 GB";
        return false;
    }
    audio->frames = (uint32_t)(audio->bytes.size() / frame);
    return true;
}

static uint64_t sizeOfFile(const std::string &path)
{
    struct stat facts;
    return stat(path.c_str(), &facts) == 0 && S_ISREG(facts.st_mode) ? (uint64_t)facts.st_size : 0;
}

bool readAudioFile(const std::string &path, HostAudio *audio, std::string *error)
{
    if (!listChunksAreSafe(path, error))
        return false;
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
    if (ok)
        readAudioMetadata(file, audio);
    ok = ok && readFrames(file, info.frames, sizeOfFile(path), audio, error);
    sf_close(file);
    if (!ok || !checkAudioShape(*audio, error))
        return false;
    // libsndfile gives a cut-off WAV file's real length; its header's promise is read here.
    uint64_t promised = info.frames > 0 ? (uint64_t)info.frames : 0;
    int32_t major = info.format & SF_FORMAT_TYPEMASK;
    uint64_t wavPromise = 0;
    if ((major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX) && wavClaimedFrames(path, &wavPromise) &&
        wavPromise > promised)
        promised = wavPromise;
    audio->claimedFrames = promised > audio->frames ? promised : audio->frames;
    return true;
}

// Writes the frames in blocks, straight from the host's buffer or converted back from its bytes;
// stops at an interrupt.
static bool writeFrames(SNDFILE *file, const HostAudio &audio, std::string *error)
{
    uint32_t sample = sampleBytes(audio);
    size_t channels = (size_t)audio.channels;
    std::vector<int32_t> ints(directSamples(audio) ? 0 : (size_t)BLOCK_FRAMES * channels);
    for (uint32_t first = 0; first < audio.frames; first += BLOCK_FRAMES) {
        if (interruptSignal()) {
            *error = "interrupted";
            return false;
        }
        uint32_t count = audio.frames - first < (uint32_t)BLOCK_FRAMES ? audio.frames - first : (uint32_t)BLOCK_FRAMES;
        const uint8_t *in = audio.bytes.data() + (size_t)first * channels * sample;
        sf_count_t put;
        if (directSamples(audio) && !audio.isFloat) {
            put = sf_writef_short(file, reinterpret_cast<const short *>(in), count);
        } else if (directSamples(audio) && audio.bitsPerSample == 32) {
            put = sf_writef_float(file, reinterpret_cast<const float *>(in), count);
        } else if (directSamples(audio)) {
            put = sf_writef_double(file, reinterpret_cast<const double *>(in), count);
        } else {
            for (size_t i = 0; i < (size_t)count * channels; i++)
                ints[i] = loadInt(in + i * sample, audio.bitsPerSample);
            put = sf_writef_int(file, ints.data(), count);
        }
        if (put != (sf_count_t)count) {
            *error = std::string("write error: ") + sf_strerror(file);
            return false;
        }
    }
    return true;
}

static bool checkFormat(const HostAudio &audio, SF_INFO *info, std::string *error)
{
    if (!checkAudioShape(audio, error))
        return false;
    memset(info, 0, sizeof *info);
    info->channels = audio.channels;
    info->samplerate = audio.sampleRate;
    info->format = audio.fileFormat;
    if (!sf_format_check(info)) {
        *error = "this file format cannot be written";
        return false;
    }
    return true;
}

// libsndfile's reason for a failed open, without its "Error : " in front.
static std::string openError()
{
    std::string reason = sf_strerror(nullptr);
    return reason.compare(0, 8, "Error : ") == 0 ? reason.substr(8) : reason;
}

// The whole encoding of an open SNDFILE: metadata, frames, and the header libsndfile finishes at close.
static bool encode(SNDFILE *file, const HostAudio &audio, std::string *error)
{
    writeAudioMetadata(file, audio);
    bool ok = writeFrames(file, audio, error);
    if (sf_close(file) != 0 && ok) {
        *error = "write error while closing";
        ok = false;
    }
    return ok;
}

bool writeAudioFile(const std::string &path, const HostAudio &audio, const std::string &modelPath,
                    std::string *error)
{
    SF_INFO info;
    if (!checkFormat(audio, &info, error))
        return false;
    // Never through a link planted at the name; the file gets the model's permissions (and owner,
    // where this process may give it), else the usual ones for a new file.
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        *error = strerror(errno);
        return false;
    }
    struct stat model;
    if (!modelPath.empty() && stat(modelPath.c_str(), &model) == 0) {
        if (fchown(fd, model.st_uid, model.st_gid) != 0 && fchown(fd, (uid_t)-1, model.st_gid) != 0) {
            // Another owner needs privileges this process lacks; the permissions still follow.
        }
        fchmod(fd, model.st_mode & 07777);
    }
    SNDFILE *file = sf_open_fd(fd, SFM_WRITE, &info, SF_FALSE);
    if (!file) {
        *error = openError();
        close(fd);
        return false;
    }
    bool ok = encode(file, audio, error);
    if (close(fd) != 0 && ok) {
        *error = std::string("write error: ") + strerror(errno);
        ok = false;
    }
    return ok;
}

// ---- A finished image in memory, for targets that cannot be sought in or replaced.

struct MemoryFile {
    std::vector<uint8_t> bytes;
    sf_count_t position;
};

static sf_count_t memoryLength(void *user) { return (sf_count_t)static_cast<MemoryFile *>(user)->bytes.size(); }

static sf_count_t memorySeek(sf_count_t offset, int whence, void *user)
{
    MemoryFile *m = static_cast<MemoryFile *>(user);
    sf_count_t base = whence == SEEK_CUR ? m->position : whence == SEEK_END ? (sf_count_t)m->bytes.size() : 0;
    if (base + offset < 0)
        return -1;
    m->position = base + offset;
    return m->position;
}

static sf_count_t memoryRead(void *out, sf_count_t count, void *user)
{
    MemoryFile *m = static_cast<MemoryFile *>(user);
    sf_count_t left = (sf_count_t)m->bytes.size() - m->position;
    sf_count_t n = count < left ? count : (left > 0 ? left : 0);
    if (n > 0)
        memcpy(out, m->bytes.data() + m->position, (size_t)n);
    m->position += n;
    return n;
}

static sf_count_t memoryWrite(const void *in, sf_count_t count, void *user)
{
    MemoryFile *m = static_cast<MemoryFile *>(user);
    if ((size_t)(m->position + count) > m->bytes.size())
        m->bytes.resize((size_t)(m->position + count));
    memcpy(m->bytes.data() + m->position, in, (size_t)count);
    m->position += count;
    return count;
}

static sf_count_t memoryTell(void *user) { return static_cast<MemoryFile *>(user)->position; }

static bool writeAll(int fd, const std::vector<uint8_t> &bytes, std::string *error)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR && !interruptSignal())
            continue;
        if (n <= 0) {
            *error = std::string("write error: ") + strerror(n < 0 ? errno : EIO);
            return false;
        }
        done += (size_t)n;
    }
    return true;
}

bool sndfileCanWrite(const HostAudio &audio, std::string *error)
{
    SF_INFO info;
    if (!checkFormat(audio, &info, error))
        return false;
    SF_VIRTUAL_IO io = {memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    MemoryFile image = {{}, 0};
    SNDFILE *file = sf_open_virtual(&io, SFM_WRITE, &info, &image);
    if (!file) {
        *error = openError();
        return false;
    }
    sf_close(file);
    return true;
}

bool writeAudioStream(const std::string &path, const HostAudio &audio, std::string *error)
{
    SF_INFO info;
    if (!checkFormat(audio, &info, error))
        return false;
    SF_VIRTUAL_IO io = {memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    MemoryFile image = {{}, 0};
    image.bytes.reserve(audio.bytes.size() + 4096);
    SNDFILE *file = sf_open_virtual(&io, SFM_WRITE, &info, &image);
    if (!file) {
        *error = openError();
        return false;
    }
    if (!encode(file, audio, error))
        return false;
    int fd = path.empty() ? 1 : open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *error = strerror(errno);
        return false;
    }
    bool ok = writeAll(fd, image.bytes, error);
    if (!path.empty() && close(fd) != 0 && ok) {
        *error = std::string("write error: ") + strerror(errno);
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
