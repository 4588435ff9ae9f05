// RIFF/WAVE reading and writing: the exact header, round trips over channel counts and depths, the
// chunks a reader must step over, cut-off files, and files it must refuse without reading past the end.
#include <gtest/gtest.h>
#include <cstdio>
#include "app/wav_file.h"
#include "support/fake_host.h"

typedef std::vector<uint8_t> Bytes;

static HostAudio pcm(int32_t channels, int32_t bits, uint32_t frames, int32_t rate = 8000)
{
    HostAudio a = {};
    a.channels = channels;
    a.sampleRate = rate;
    a.bitsPerSample = bits;
    a.isFloat = false;
    a.frames = frames;
    a.fileFormat = WAV_FORMAT_PCM;
    for (uint32_t i = 0; i < frames * frameBytes(a); i++)
        a.bytes.push_back((uint8_t)(i * 37u + 11u));
    return a;
}

static void add16(Bytes *b, uint32_t v) { b->insert(b->end(), {(uint8_t)v, (uint8_t)(v >> 8)}); }
static void add32(Bytes *b, uint32_t v) { add16(b, v & 0xFFFF), add16(b, v >> 16); }
static void addTag(Bytes *b, const char *t) { b->insert(b->end(), t, t + 4); }

// A format chunk body: tag, channels, rate, byte rate, block align, bits.
static Bytes formatBody(uint32_t tag, uint32_t channels, uint32_t rate, uint32_t bits, uint32_t align)
{
    Bytes f;
    add16(&f, tag), add16(&f, channels), add32(&f, rate), add32(&f, rate * align), add16(&f, align), add16(&f, bits);
    return f;
}

// A file image from chunks, each given as its tag and body (odd bodies padded).
static Bytes image(const std::vector<std::pair<const char *, Bytes>> &chunks)
{
    Bytes body;
    addTag(&body, "WAVE");
    for (const auto &c : chunks) {
        addTag(&body, c.first);
        add32(&body, (uint32_t)c.second.size());
        body.insert(body.end(), c.second.begin(), c.second.end());
        if (c.second.size() & 1)
            body.push_back(0);
    }
    Bytes file;
    addTag(&file, "RIFF");
    add32(&file, (uint32_t)body.size());
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

TEST(WavFile, WritesTheCanonicalHeader)
{
    HostAudio a = pcm(2, 16, 3);
    Bytes got;
    std::string error;
    ASSERT_TRUE(buildWav(a, &got, &error)) << error;
    Bytes want;
    addTag(&want, "RIFF"), add32(&want, 48), addTag(&want, "WAVE");
    addTag(&want, "fmt "), add32(&want, 16);
    Bytes f = formatBody(1, 2, 8000, 16, 4);
    want.insert(want.end(), f.begin(), f.end());
    addTag(&want, "data"), add32(&want, 12);
    want.insert(want.end(), a.bytes.begin(), a.bytes.end());
    EXPECT_EQ(got, want);
}

TEST(WavFile, RoundTripsChannelCountsAndDepths)
{
    struct Row {
        int32_t channels, bits;
        bool isFloat;
        uint32_t frames;
    };
    const Row rows[] = {{1, 16, false, 5}, {2, 16, false, 4}, {3, 16, false, 3}, {6, 16, false, 2},
                        {1, 8, false, 3},  {2, 24, false, 3}, {1, 32, false, 2}, {2, 32, true, 2},
                        {1, 64, true, 2},  {1, 8, false, 0}};
    for (const Row &row : rows) {
        HostAudio a = pcm(row.channels, row.bits, row.frames, 44100);
        a.isFloat = row.isFloat;
        a.fileFormat = row.isFloat ? WAV_FORMAT_FLOAT : WAV_FORMAT_PCM;
        Bytes file;
        HostAudio b;
        std::string error;
        ASSERT_TRUE(buildWav(a, &file, &error)) << error;
        EXPECT_EQ(file.size() % 2, 0u) << "RIFF chunks are padded to even length";
        ASSERT_TRUE(parseWav(file, &b, &error)) << row.channels << "x" << row.bits << ": " << error;
        EXPECT_EQ(b.channels, a.channels);
        EXPECT_EQ(b.bitsPerSample, a.bitsPerSample);
        EXPECT_EQ(b.isFloat, a.isFloat);
        EXPECT_EQ(b.sampleRate, 44100);
        EXPECT_EQ(b.frames, a.frames);
        EXPECT_EQ(b.bytes, a.bytes) << row.channels << "x" << row.bits;
    }
}

TEST(WavFile, StepsOverOtherChunksWithTheirPadding)
{
    Bytes data = {1, 0, 2, 0, 3, 0};
    Bytes file = image({{"LIST", Bytes(5, 'x')}, {"fmt ", formatBody(1, 1, 22050, 16, 2)}, {"junk", Bytes(3, 0)},
                        {"data", data}, {"id3 ", Bytes(4, 9)}});
    HostAudio a;
    std::string error;
    ASSERT_TRUE(parseWav(file, &a, &error)) << error;
    EXPECT_EQ(a.sampleRate, 22050);
    EXPECT_EQ(a.frames, 3u);
    EXPECT_EQ(a.bytes, data);
}

TEST(WavFile, ReadsTheExtensibleHeaderBySubFormat)
{
    Bytes f = formatBody(WAV_FORMAT_EXTENSIBLE, 2, 48000, 24, 6);
    add16(&f, 22), add16(&f, 24), add32(&f, 3); // cbSize, valid bits, channel mask
    add16(&f, 1);                               // sub-format GUID: PCM
    f.insert(f.end(), 14, 0x10);
    Bytes data(12, 7);
    HostAudio a;
    std::string error;
    ASSERT_TRUE(parseWav(image({{"fmt ", f}, {"data", data}}), &a, &error)) << error;
    EXPECT_EQ(a.channels, 2);
    EXPECT_EQ(a.bitsPerSample, 24);
    EXPECT_EQ(a.fileFormat, WAV_FORMAT_PCM) << "written back as plain PCM";
    EXPECT_EQ(a.frames, 2u);
}

TEST(WavFile, CutOffDataKeepsItsWholeFrames)
{
    Bytes file = image({{"fmt ", formatBody(1, 2, 8000, 16, 4)}, {"data", Bytes(10, 5)}});
    // Claim more data than there is, as a recorder that never finished its header leaves it.
    file[40] = 0xFF, file[41] = 0xFF, file[42] = 0xFF, file[43] = 0xFF;
    file.resize(file.size() - 1); // the pad byte goes, and the last frame is incomplete
    HostAudio a;
    std::string error;
    ASSERT_TRUE(parseWav(file, &a, &error)) << error;
    EXPECT_EQ(a.frames, 2u);
    EXPECT_EQ(a.bytes.size(), 8u);
}

TEST(WavFile, RefusesWhatItCannotReadSafely)
{
    Bytes data(8, 1);
    struct Row {
        const char *what;
        Bytes file;
        const char *reason;
    };
    Bytes shortFormat = formatBody(1, 1, 8000, 16, 2);
    shortFormat.resize(14);
    Bytes cutFormat = image({{"fmt ", formatBody(1, 1, 8000, 16, 2)}});
    cutFormat.resize(30);
    const Row rows[] = {
        {"empty", {}, "not a RIFF/WAVE file"},
        {"other RIFF", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}, "not a RIFF/WAVE file"},
        {"no chunks", image({}), "no format chunk"},
        {"no data", image({{"fmt ", formatBody(1, 1, 8000, 16, 2)}}), "no data chunk"},
        {"data first", image({{"data", data}, {"fmt ", formatBody(1, 1, 8000, 16, 2)}}), "before the format"},
        {"short format", image({{"fmt ", shortFormat}, {"data", data}}), "too short"},
        {"cut-off format", cutFormat, "cut off"},
        {"ADPCM", image({{"fmt ", formatBody(2, 1, 8000, 4, 256)}, {"data", data}}), "format tag 2"},
        {"zero bits", image({{"fmt ", formatBody(1, 1, 8000, 0, 0)}, {"data", data}}), "unsupported sample layout"},
        {"12 bits", image({{"fmt ", formatBody(1, 1, 8000, 12, 2)}, {"data", data}}), "unsupported sample layout"},
        {"bad align", image({{"fmt ", formatBody(1, 2, 8000, 16, 2)}, {"data", data}}), "unsupported sample layout"},
        {"no channels", image({{"fmt ", formatBody(1, 0, 8000, 16, 0)}, {"data", data}}), "channel count"},
        {"16-bit float", image({{"fmt ", formatBody(3, 1, 8000, 16, 2)}, {"data", data}}), "unsupported sample format"},
    };
    for (const Row &row : rows) {
        HostAudio a;
        std::string error;
        EXPECT_FALSE(parseWav(row.file, &a, &error)) << row.what;
        EXPECT_NE(error.find(row.reason), std::string::npos) << row.what << ": got \"" << error << "\"";
    }
}

class WavFileOnDisk : public PluginTest {};

TEST_F(WavFileOnDisk, WritesAndReadsBackAFile)
{
    HostAudio a = pcm(2, 16, 100, 44100);
    std::string path = profileDir + "/t.wav", error;
    ASSERT_TRUE(writeWavFile(path, a, &error)) << error;
    HostAudio b;
    ASSERT_TRUE(readWavFile(path, &b, &error)) << error;
    EXPECT_EQ(b.bytes, a.bytes);
    EXPECT_FALSE(readWavFile(profileDir + "/missing.wav", &b, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(writeWavFile(profileDir + "/no/such/dir.wav", a, &error));
}
