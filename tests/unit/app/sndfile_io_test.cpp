// Native audio files through libsndfile: each depth comes back byte for byte in the host's layout,
// 16-bit WAV files come out exactly as the Windows host's own writer makes them (so both builds write
// the same output), and a failed write leaves an existing output alone.
#include <gtest/gtest.h>
#include <cstdio>
#include <sndfile.h>
#include "app/audio_file.h"
#include "app/wav_file.h"
#include "support/fake_host.h"

class SndfileIo : public PluginTest {
protected:
    // Samples that use every bit of their depth, both signs included.
    static HostAudio audioOf(int32_t channels, int32_t bits, bool isFloat, int32_t format, uint32_t frames)
    {
        HostAudio a = {};
        a.channels = channels;
        a.sampleRate = 44100;
        a.bitsPerSample = bits;
        a.isFloat = isFloat;
        a.frames = frames;
        a.fileFormat = format;
        uint32_t state = 99;
        for (uint32_t i = 0; i < frames * frameBytes(a); i++) {
            state = state * 1103515245u + 12345u;
            a.bytes.push_back((uint8_t)(state >> 16));
        }
        if (isFloat) // random bytes may be NaNs, whose bits a codec need not keep; use real values
            for (uint32_t i = 0; i < frames * (uint32_t)channels; i++) {
                double v = ((int32_t)(i * 7919u % 2001u) - 1000) / 1000.0;
                if (bits == 32) {
                    float f = (float)v;
                    memcpy(&a.bytes[i * 4], &f, 4);
                } else {
                    memcpy(&a.bytes[i * 8], &v, 8);
                }
            }
        return a;
    }
    static std::vector<uint8_t> fileBytes(const std::string &path)
    {
        std::vector<uint8_t> out;
        FILE *f = fopen(path.c_str(), "rb");
        if (!f)
            return out;
        int c;
        while ((c = fgetc(f)) != EOF)
            out.push_back((uint8_t)c);
        fclose(f);
        return out;
    }
};

TEST_F(SndfileIo, EveryDepthRoundTripsExactly)
{
    struct Row {
        const char *what;
        int32_t channels, bits;
        bool isFloat;
        int32_t format;
    };
    const Row rows[] = {
        {"wav 16 mono", 1, 16, false, SF_FORMAT_WAV | SF_FORMAT_PCM_16},
        {"wav 16 x5", 5, 16, false, SF_FORMAT_WAV | SF_FORMAT_PCM_16},
        {"wav u8", 2, 8, false, SF_FORMAT_WAV | SF_FORMAT_PCM_U8},
        {"aiff s8", 1, 8, false, SF_FORMAT_AIFF | SF_FORMAT_PCM_S8},
        {"wav 24", 2, 24, false, SF_FORMAT_WAV | SF_FORMAT_PCM_24},
        {"wav 32", 1, 32, false, SF_FORMAT_WAV | SF_FORMAT_PCM_32},
        {"wav float", 2, 32, true, SF_FORMAT_WAV | SF_FORMAT_FLOAT},
        {"wav double", 1, 64, true, SF_FORMAT_WAV | SF_FORMAT_DOUBLE},
        {"aiff 16 big-endian", 2, 16, false, SF_FORMAT_AIFF | SF_FORMAT_PCM_16},
        {"flac 16", 2, 16, false, SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {"flac 24", 1, 24, false, SF_FORMAT_FLAC | SF_FORMAT_PCM_24},
    };
    for (const Row &row : rows) {
        HostAudio a = audioOf(row.channels, row.bits, row.isFloat, row.format, 5000);
        std::string path = profileDir + "/round", error;
        ASSERT_TRUE(writeAudioFile(path, a, "", &error)) << row.what << ": " << error;
        HostAudio b;
        ASSERT_TRUE(readAudioFile(path, &b, &error)) << row.what << ": " << error;
        EXPECT_EQ(b.channels, a.channels) << row.what;
        EXPECT_EQ(b.bitsPerSample, a.bitsPerSample) << row.what;
        EXPECT_EQ(b.isFloat, a.isFloat) << row.what;
        EXPECT_EQ(b.fileFormat, a.fileFormat) << row.what;
        EXPECT_EQ(b.frames, a.frames) << row.what;
        EXPECT_TRUE(b.bytes == a.bytes) << row.what << ": samples changed on the way";
    }
}

TEST_F(SndfileIo, SixteenBitWavIsWhatTheWindowsWriterWrites)
{
    for (int32_t channels : {1, 2, 3, 6}) {
        HostAudio a = audioOf(channels, 16, false, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1001);
        std::string path = profileDir + "/same.wav", error;
        ASSERT_TRUE(writeAudioFile(path, a, "", &error)) << error;
        std::vector<uint8_t> own;
        ASSERT_TRUE(buildWav(a, &own, &error)) << error;
        EXPECT_TRUE(fileBytes(path) == own) << channels << " channels: the two builds would write different files";
    }
}

TEST_F(SndfileIo, TheWindowsWritersFilesReadBackNatively)
{
    HostAudio a = audioOf(2, 16, false, WAV_FORMAT_PCM, 777);
    std::string path = profileDir + "/own.wav", error;
    ASSERT_TRUE(writeWavFile(path, a, &error)) << error;
    HostAudio b;
    ASSERT_TRUE(readAudioFile(path, &b, &error)) << error;
    EXPECT_TRUE(b.bytes == a.bytes);
    EXPECT_EQ(b.fileFormat, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
}

TEST_F(SndfileIo, AFailedWriteLeavesTheOldOutputAndNoTemporary)
{
    std::string path = profileDir + "/out.wav", error;
    OutputTarget target = {OUTPUT_NEW_FILE, path, path};
    HostAudio good = audioOf(1, 16, false, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 100);
    ASSERT_TRUE(writeAudioOutput(target, good, &error)) << error;
    std::vector<uint8_t> before = fileBytes(path);
    EXPECT_TRUE(fileBytes(path + ".vantrope-part").empty()) << "the temporary file stayed";
    target.kind = OUTPUT_REPLACE_FILE;
    HostAudio unwritable = good;
    unwritable.fileFormat = SF_FORMAT_WAV | SF_FORMAT_VORBIS; // no such combination
    EXPECT_FALSE(writeAudioOutput(target, unwritable, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fileBytes(path) == before) << "the old output was damaged";
    EXPECT_TRUE(fileBytes(path + ".vantrope-part").empty()) << "the temporary file stayed";
    EXPECT_TRUE(probeAudioOutput(target, &error)) << error;
    target.path = profileDir + "/no/dir/out.wav";
    EXPECT_FALSE(probeAudioOutput(target, &error));
}

TEST_F(SndfileIo, UnreadableFilesSayWhy)
{
    HostAudio a;
    std::string error;
    EXPECT_FALSE(readAudioFile(profileDir + "/missing.wav", &a, &error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    FILE *f = fopen((profileDir + "/junk.wav").c_str(), "wb");
    fputs("not audio at all", f);
    fclose(f);
    EXPECT_FALSE(readAudioFile(profileDir + "/junk.wav", &a, &error));
    EXPECT_FALSE(error.empty());
}

// A LIST part whose size would wrap the reader's 32-bit count is refused before libsndfile sees it,
// wherever the LIST stands; real tags, and audio that happens to spell "LIST", are read as before.
TEST_F(SndfileIo, OnlyAListPartThatWouldWrapIsRefused)
{
    auto u32 = [](std::vector<uint8_t> *b, uint32_t v) {
        for (int i = 0; i < 4; i++)
            b->push_back((uint8_t)(v >> (8 * i)));
    };
    auto text = [](std::vector<uint8_t> *b, const char *t) { b->insert(b->end(), t, t + strlen(t)); };
    // A mono 16-bit WAVE file: its samples' bytes, then `tail` (chunks after the audio).
    auto wave = [&](const std::vector<uint8_t> &sampleBytes, const std::vector<uint8_t> &tail) {
        std::vector<uint8_t> b;
        text(&b, "RIFF");
        u32(&b, (uint32_t)(4 + 24 + 8 + sampleBytes.size() + tail.size()));
        text(&b, "WAVEfmt ");
        u32(&b, 16);
        for (uint32_t v : {0x00010001u, 8000u, 16000u, 0x00100002u})
            u32(&b, v);
        text(&b, "data");
        u32(&b, (uint32_t)sampleBytes.size());
        b.insert(b.end(), sampleBytes.begin(), sampleBytes.end());
        b.insert(b.end(), tail.begin(), tail.end());
        return b;
    };
    auto list = [&](uint32_t partSize) {
        std::vector<uint8_t> b;
        text(&b, "LIST");
        u32(&b, 4 + 8 + 6 + 8 + 8);
        text(&b, "INFOINAM");
        u32(&b, 6);
        text(&b, "Title");
        b.push_back(0);
        text(&b, "Ixyz");
        u32(&b, partSize);
        u32(&b, 0), u32(&b, 0);
        return b;
    };
    std::vector<uint8_t> quiet(400, 0), spelled = quiet;
    memcpy(&spelled[100], "LIST\x20\0\0\0INFOabcd\xf0\xff\xff\xff", 20); // a part too long, not wrapping
    struct Case {
        const char *name;
        std::vector<uint8_t> bytes;
        bool read;
    } cases[] = {
        {"tags after the audio", wave(quiet, list(8)), true},
        {"a part just too long", wave(quiet, list(9)), true},
        {"a part that wraps", wave(quiet, list(0xfffffff0u)), false},
        {"an odd size that wraps when rounded up", wave(quiet, list(0xffffffe9u)), false},
        {"audio that spells LIST", wave(spelled, {}), true},
    };
    for (const Case &c : cases) {
        std::string path = profileDir + "/list.wav", error;
        FILE *f = fopen(path.c_str(), "wb");
        fwrite(c.bytes.data(), 1, c.bytes.size(), f);
        fclose(f);
        HostAudio a;
        EXPECT_EQ(readAudioFile(path, &a, &error), c.read) << c.name << ": " << error;
        if (!c.read) {
            EXPECT_EQ(error, "malformed LIST chunk: a part of it runs past its end") << c.name;
        }
    }
}
