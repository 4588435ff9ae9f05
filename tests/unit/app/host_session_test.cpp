// The host's XfmWave over its interleaved whole-file buffer: one channel presented as mono (reads
// gather, writes scatter, the other channels untouched), all channels at once, reads and writes at
// the edges of the recording, and the transcript lines of each callback.
#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include "app/host_session.h"
#include "app/transcript.h"
#include "support/fake_host.h"

class HostSession : public PluginTest {
protected:
    void TearDown() override
    {
        transcriptClose();
        PluginTest::TearDown();
    }
    // channels x frames 16-bit samples, sample (f, c) = 1000 * c + f.
    static HostAudio recording(int32_t channels, uint32_t frames, int32_t bits = 16)
    {
        HostAudio a = {};
        a.channels = channels;
        a.sampleRate = 44100;
        a.bitsPerSample = bits;
        a.frames = frames;
        for (uint32_t f = 0; f < frames; f++)
            for (int32_t c = 0; c < channels; c++)
                for (uint32_t b = 0; b < sampleBytes(a); b++)
                    a.bytes.push_back((uint8_t)(((1000u * (uint32_t)c + f) >> (8 * (b % 2))) & 0xFF));
        return a;
    }
    static int16_t sampleAt(const HostAudio &a, uint32_t frame, int32_t channel)
    {
        size_t at = (size_t)frame * frameBytes(a) + (size_t)channel * 2;
        return (int16_t)(a.bytes[at] | (a.bytes[at + 1] << 8));
    }
    std::string openLog()
    {
        std::string path = profileDir + "/t.jsonl", error;
        EXPECT_TRUE(transcriptOpen(path, &error)) << error;
        return path;
    }
    static std::string contents(const std::string &path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(HostSession, OneChannelIsPresentedAsMono)
{
    HostAudio audio = recording(3, 50);
    XfmWave wave;
    memset(&wave, 0x5A, sizeof wave);
    sessionPrepare(&audio, {2, 10, 19}, &wave, false);
    EXPECT_EQ(wave.channels, 1);
    EXPECT_EQ(wave.bitsPerSample, 16);
    EXPECT_EQ(wave.bytesPerFrame, 2);
    EXPECT_EQ(wave.sampleRate, 44100);
    EXPECT_EQ(wave.selStart, 10u);
    EXPECT_EQ(wave.selEnd, 19u);
    EXPECT_EQ(wave.reserved12, 0u) << "fields the plug-in does not read are zeroed, not left over";
    EXPECT_EQ(*wave.cancelFlag, 0);
    // The plug-in's read of its selection: channel 2's samples 10..19 and nothing else.
    int16_t buffer[12];
    for (int16_t &s : buffer)
        s = -1;
    EXPECT_EQ(wave.readSamples(buffer, 2 * 10, 2 * 10) & 0xFFFF, 0);
    for (uint32_t i = 0; i < 10; i++)
        EXPECT_EQ(buffer[i], (int16_t)(1000 + 10 + i)) << "sample " << i;
    EXPECT_EQ(buffer[10], -1) << "read past the requested bytes";
    // Writing back changes channel 2 only.
    for (uint32_t i = 0; i < 10; i++)
        buffer[i] = (int16_t)(-5 - (int32_t)i);
    wave.writeSamples(buffer, 2 * 10, 2 * 10);
    for (uint32_t f = 0; f < 50; f++) {
        EXPECT_EQ(sampleAt(audio, f, 0), (int16_t)f) << "channel 1, frame " << f;
        EXPECT_EQ(sampleAt(audio, f, 2), (int16_t)(2000 + f)) << "channel 3, frame " << f;
        int16_t want = f >= 10 && f < 20 ? (int16_t)(-5 - (int32_t)(f - 10)) : (int16_t)(1000 + f);
        EXPECT_EQ(sampleAt(audio, f, 1), want) << "channel 2, frame " << f;
    }
}

TEST_F(HostSession, AllChannelsAreOneInterleavedSelection)
{
    HostAudio audio = recording(2, 30);
    XfmWave wave;
    sessionPrepare(&audio, {0, 0, 29}, &wave, false);
    EXPECT_EQ(wave.channels, 2);
    EXPECT_EQ(wave.bytesPerFrame, 4);
    std::vector<uint8_t> buffer(4 * 30);
    EXPECT_EQ(wave.readSamples(buffer.data(), 0, 4 * 30) & 0xFFFF, 0);
    EXPECT_EQ(buffer, audio.bytes);
}

TEST_F(HostSession, HighResolutionIsShownAsSixteenBitsAndWrittenBackSampleBySample)
{
    // 24-bit stereo: sample (f, c) = 256 x (100 x c + f) + 77, just below a half step.
    HostAudio audio = {};
    audio.channels = 2;
    audio.sampleRate = 48000;
    audio.bitsPerSample = 24;
    audio.frames = 10;
    for (uint32_t f = 0; f < 10; f++)
        for (uint32_t c = 0; c < 2; c++) {
            uint32_t value = 256u * (100u * c + f) + 77u;
            for (uint32_t b = 0; b < 3; b++)
                audio.bytes.push_back((uint8_t)(value >> (8 * b)));
        }
    const HostAudio before = audio;
    XfmWave wave;
    sessionPrepare(&audio, {2, 0, 9}, &wave, false);
    EXPECT_EQ(wave.bitsPerSample, 16);
    EXPECT_EQ(wave.bytesPerFrame, 2);
    int16_t buffer[10];
    ASSERT_EQ(wave.readSamples(buffer, 0, 20) & 0xFFFF, 0);
    for (int32_t f = 0; f < 10; f++)
        EXPECT_EQ(buffer[f], 100 + f) << "frame " << f;
    // A pass writes everything back; only the two samples it changed change, to their 24-bit values.
    buffer[3] = -2;
    buffer[7] = 32767;
    wave.writeSamples(buffer, 0, 20);
    // A write that starts inside a sample takes the bytes it covers.
    uint8_t high = 0x01;
    wave.writeSamples(&high, 2 * 5 + 1, 1);
    for (uint32_t f = 0; f < 10; f++) {
        size_t at = (size_t)f * 6;
        EXPECT_EQ(memcmp(audio.bytes.data() + at, before.bytes.data() + at, 3), 0) << "channel 1, frame " << f;
        const uint8_t *now = audio.bytes.data() + at + 3;
        int32_t value = (int32_t)((uint32_t)(now[0] | now[1] << 8 | now[2] << 16) << 8) >> 8;
        int32_t want = f == 3 ? -512 : f == 7 ? 32767 * 256 : f == 5 ? 256 * 0x169 : 256 * (100 + (int32_t)f) + 77;
        EXPECT_EQ(value, want) << "channel 2, frame " << f;
    }
    std::vector<ChangedRegion> regions = sessionChangedRegions(0);
    ASSERT_EQ(regions.size(), 3u);
    EXPECT_EQ(regions[0].first, 3u);
    EXPECT_EQ(regions[2].last, 7u);
    EXPECT_EQ(sessionFrameBefore(3)[0], before.bytes[3 * 6 + 3]) << "the bytes before the run are kept";
    // 8-bit audio keeps its own depth, which the plug-in refuses as it would from an editor.
    HostAudio eight = recording(1, 10, 8);
    sessionPrepare(&eight, {1, 0, 9}, &wave, false);
    EXPECT_EQ(wave.bitsPerSample, 8);
    EXPECT_EQ(wave.bytesPerFrame, 1);
}

TEST_F(HostSession, TransfersPastTheRecordingFailOrAreCut)
{
    HostAudio audio = recording(2, 20);
    HostAudio untouched = audio;
    XfmWave wave;
    sessionPrepare(&audio, {1, 0, 19}, &wave, false);
    int16_t buffer[24] = {};
    EXPECT_NE(wave.readSamples(buffer, 0, 42) & 0xFFFF, 0) << "a read past the end must fail";
    EXPECT_NE(wave.readSamples(buffer, 0xFFFFFFF0u, 32) & 0xFFFF, 0) << "offset and count must not wrap";
    EXPECT_EQ(wave.readSamples(buffer, 0, 40) & 0xFFFF, 0);
    for (int16_t &s : buffer)
        s = 7;
    wave.writeSamples(buffer, 36, 12); // frames 18..23: only 18 and 19 exist
    EXPECT_EQ(sampleAt(audio, 18, 0), 7);
    EXPECT_EQ(sampleAt(audio, 19, 0), 7);
    EXPECT_EQ(sampleAt(audio, 19, 1), sampleAt(untouched, 19, 1));
    EXPECT_EQ(audio.bytes.size(), untouched.bytes.size());
    wave.writeSamples(buffer, 0xFFFFFFF0u, 32);
    EXPECT_EQ(audio.bytes.size(), untouched.bytes.size());
}

TEST_F(HostSession, EveryCallbackLeavesItsTranscriptLine)
{
    std::string path = openLog();
    HostAudio audio = recording(1, 100);
    XfmWave wave;
    sessionPrepare(&audio, {1, 4, 99}, &wave, false);
    int16_t buffer[96];
    wave.readSamples(buffer, 8, 192);
    wave.setStatus("Looking for Click(s) in the Selection", 0);
    wave.progress(128, 96);
    wave.writeSamples(buffer, 8, 192);
    EXPECT_EQ(sessionPasses(), 0);
    wave.finish(&wave);
    wave.finish(&wave);
    EXPECT_EQ(sessionPasses(), 2);
    EXPECT_EQ(contents(path), "{\"event\":\"read\",\"offset\":8,\"bytes\":192}\n"
                              "{\"event\":\"status\",\"text\":\"Looking for Click(s) in the Selection\"}\n"
                              "{\"event\":\"progress\",\"index\":128,\"count\":96}\n"
                              "{\"event\":\"write\",\"offset\":8,\"bytes\":192}\n"
                              "{\"event\":\"finish\"}\n{\"event\":\"finish\"}\n");
    sessionPrepare(&audio, {1, 4, 99}, &wave, false);
    EXPECT_EQ(sessionPasses(), 0) << "each selection counts its own passes";
}

// The summary's regions come from the blocks the writes changed, without a copy of the audio: over
// random passes (some changing samples back to what they were) they must be what comparing the whole
// selection before and after finds.
TEST_F(HostSession, ChangedRegionsAreWhatAWholeComparisonFinds)
{
    uint32_t state = 7;
    auto next = [&state](uint32_t range) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % range;
    };
    for (int32_t trial = 0; trial < 40; trial++) {
        int32_t channels = 1 + (int32_t)next(3);
        HostAudio audio = recording(channels, 3000 + next(3000));
        HostSelection sel = {(int32_t)next((uint32_t)channels + 1), next(500), 0};
        sel.end = sel.start + 100 + next(audio.frames - sel.start - 100);
        HostAudio before = audio;
        XfmWave wave;
        sessionPrepare(&audio, sel, &wave, false);
        uint32_t unit = wave.bytesPerFrame, count = sel.end - sel.start + 1;
        std::vector<uint8_t> buffer(count * unit), first;
        for (int32_t pass = 0; pass < 3; pass++) {
            ASSERT_EQ(wave.readSamples(buffer.data(), sel.start * unit, count * unit) & 0xFFFF, 0);
            if (pass == 0)
                first = buffer;
            // The last pass also puts some earlier edits back as they were.
            for (uint32_t edits = next(6); edits > 0; edits--) {
                uint32_t at = next(count * unit), length = 1 + next(20);
                for (uint32_t b = at; b < at + length && b < count * unit; b++)
                    buffer[b] = pass == 2 && next(2) ? first[b] : (uint8_t)next(256);
            }
            wave.writeSamples(buffer.data(), sel.start * unit, count * unit);
        }
        // The slow, obvious comparison of every frame of the selection.
        uint32_t offset = sel.channel ? (uint32_t)(sel.channel - 1) * 2 : 0, width = unit;
        std::string want, got;
        std::vector<ChangedRegion> regions;
        for (uint32_t f = sel.start; f <= sel.end; f++) {
            size_t at = (size_t)f * frameBytes(audio) + offset;
            if (memcmp(before.bytes.data() + at, audio.bytes.data() + at, width) == 0)
                continue;
            if (!regions.empty() && f - regions.back().last <= 5)
                regions.back().last = f;
            else
                regions.push_back({f, f});
        }
        for (const ChangedRegion &r : regions)
            want += std::to_string(r.first) + "-" + std::to_string(r.last) + " ";
        for (const ChangedRegion &r : sessionChangedRegions(4))
            got += std::to_string(r.first) + "-" + std::to_string(r.last) + " ";
        EXPECT_EQ(got, want) << "trial " << trial;
    }
}
