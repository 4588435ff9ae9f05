// The XfmWave callbacks over the host's whole-file buffer. A selection of one channel is presented as
// mono: byte offsets count that channel's samples only, and the callbacks gather and scatter them
// from the interleaved frames. Owns the selection, the cancel flag and the pass and progress state.
#include "host_session.h"
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include "transcript.h"

static HostAudio *audio = nullptr;
static HostSelection selection = {0, 0, 0};
static uint32_t viewFrameBytes = 0;    // bytesPerFrame as presented
static volatile sig_atomic_t cancelRequested = 0;
static int32_t cancelFlag = 0;
static int32_t passes = 0;
static bool drawProgress = false;
static int32_t drawnPercent = -1;

// Byte b of the presented view, as an offset into the host's interleaved buffer.
static size_t hostByte(uint64_t b)
{
    if (selection.channel == 0)
        return (size_t)b;
    uint64_t frame = b / viewFrameBytes;
    uint64_t within = b % viewFrameBytes;
    return (size_t)(frame * frameBytes(*audio) + (uint64_t)(selection.channel - 1) * viewFrameBytes + within);
}

static uint64_t viewSize() { return (uint64_t)audio->frames * viewFrameBytes; }

static void logTransfer(const char *event, uint32_t offset, uint32_t bytes)
{
    if (!transcriptActive())
        return;
    transcriptEvent(std::string("{\"event\":\"") + event + "\",\"offset\":" + std::to_string(offset) +
                    ",\"bytes\":" + std::to_string(bytes) + "}");
}

// Copies view bytes first .. first + count - 1 of a one-channel view to (toView) or from the host's
// interleaved buffer: whole samples one at a time, a stretch that starts or ends inside a sample byte
// by byte.
static void transferChannel(uint8_t *view, uint64_t first, uint32_t count, bool toView)
{
    const uint32_t sample = viewFrameBytes;
    const uint32_t frame = frameBytes(*audio);
    uint8_t *host = audio->bytes.data();
    uint32_t i = 0;
    for (; i < count && (first + i) % sample != 0; i++) {
        size_t at = hostByte(first + i);
        if (toView)
            view[i] = host[at];
        else
            host[at] = view[i];
    }
    uint8_t *frameAt = host + hostByte(first + i);
    if (sample == 2) {
        for (; i + 2 <= count; i += 2, frameAt += frame) {
            if (toView)
                memcpy(view + i, frameAt, 2);
            else
                memcpy(frameAt, view + i, 2);
        }
    } else {
        for (; i + sample <= count; i += sample, frameAt += frame) {
            if (toView)
                memcpy(view + i, frameAt, sample);
            else
                memcpy(frameAt, view + i, sample);
        }
    }
    for (; i < count; i++) {
        size_t at = hostByte(first + i);
        if (toView)
            view[i] = host[at];
        else
            host[at] = view[i];
    }
}

static int32_t XFM_STDCALL hostReadSamples(void *buffer, uint32_t byteOffset, uint32_t byteCount)
{
    logTransfer("read", byteOffset, byteCount);
    // A request past the end of the recording fails as a whole, the way a read error would.
    if ((uint64_t)byteOffset + byteCount > viewSize() || (byteCount && !buffer))
        return 1;
    if (byteCount == 0)
        return 0;
    uint8_t *target = (uint8_t *)buffer;
    if (selection.channel == 0)
        memcpy(target, audio->bytes.data() + byteOffset, byteCount);
    else
        transferChannel(target, byteOffset, byteCount, true);
    return 0;
}

static int32_t XFM_STDCALL hostWriteSamples(void *buffer, uint32_t byteOffset, uint32_t byteCount)
{
    logTransfer("write", byteOffset, byteCount);
    if (!buffer)
        return 1;
    // Only the part inside the recording is taken; the host never grows its file for a plug-in.
    uint64_t end = (uint64_t)byteOffset + byteCount;
    if (end > viewSize())
        end = viewSize();
    if (end <= byteOffset)
        return 0;
    uint8_t *source = (uint8_t *)buffer;
    uint32_t taken = (uint32_t)(end - byteOffset);
    if (selection.channel == 0)
        memcpy(audio->bytes.data() + byteOffset, source, taken);
    else
        transferChannel(source, byteOffset, taken, false);
    return 0;
}

static void drawBar(int32_t index, int32_t count)
{
    if (count <= 0)
        return;
    int64_t done = index < 0 ? 0 : (int64_t)index;
    int32_t percent = (int32_t)(done * 100 / count);
    if (percent > 100)
        percent = 100;
    if (percent == drawnPercent)
        return;
    drawnPercent = percent;
    char bar[41];
    for (int32_t i = 0; i < 40; i++)
        bar[i] = i < percent * 40 / 100 ? '#' : '-';
    bar[40] = '\0';
    std::string where = selection.channel ? "channel " + std::to_string(selection.channel) : "all channels";
    fprintf(stderr, "\r%s, pass %d [%s] %3d%%", where.c_str(), (int)passes + 1, bar, (int)percent);
    fflush(stderr);
}

void sessionClearProgress()
{
    if (drawnPercent < 0)
        return;
    fprintf(stderr, "\r%72s\r", "");
    fflush(stderr);
    drawnPercent = -1;
}

static int32_t XFM_STDCALL hostProgress(int32_t index, int32_t count)
{
    if (transcriptActive())
        transcriptEvent("{\"event\":\"progress\",\"index\":" + std::to_string(index) + ",\"count\":" +
                    std::to_string(count) + "}");
    if (cancelRequested)
        cancelFlag = 1;
    if (drawProgress)
        drawBar(index, count);
    return 0;
}

static int32_t XFM_STDCALL hostSetStatus(const char *text, int32_t zero)
{
    (void)zero;
    if (transcriptActive())
        transcriptEvent("{\"event\":\"status\",\"text\":" + jsonString(text) + "}");
    return 0;
}

static int32_t XFM_CDECL hostFinish(XfmWave *wave)
{
    (void)wave;
    if (transcriptActive())
        transcriptEvent("{\"event\":\"finish\"}");
    sessionClearProgress();
    passes++;
    return 0;
}

void sessionPrepare(HostAudio *newAudio, const HostSelection &newSelection, XfmWave *wave, bool progressBar)
{
    audio = newAudio;
    selection = newSelection;
    uint32_t frame = frameBytes(*audio);
    viewFrameBytes = selection.channel == 0 ? frame : sampleBytes(*audio);
    passes = 0;
    drawProgress = progressBar;
    drawnPercent = -1;
    cancelFlag = cancelRequested ? 1 : 0;
    memset(wave, 0, sizeof *wave);
    wave->channels = (int16_t)(selection.channel == 0 ? audio->channels : 1);
    wave->bitsPerSample = (int16_t)audio->bitsPerSample;
    wave->bytesPerFrame = (uint16_t)viewFrameBytes;
    wave->sampleRate = audio->sampleRate;
    wave->selStart = selection.start;
    wave->selEnd = selection.end;
    wave->readSamples = hostReadSamples;
    wave->writeSamples = hostWriteSamples;
    wave->cancelFlag = &cancelFlag;
    wave->progress = hostProgress;
    wave->setStatus = hostSetStatus;
    wave->finish = hostFinish;
}

int32_t sessionPasses() { return passes; }

void sessionRequestCancel()
{
    cancelRequested = 1;
    cancelFlag = 1;
}

bool sessionCancelled() { return cancelRequested != 0; }
