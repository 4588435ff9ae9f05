// The XfmWave callbacks over the host's whole-file buffer. A selection of one channel of several is
// presented as mono: byte offsets count that channel's samples only, and the callbacks gather and
// scatter them from the interleaved frames; a mono file's channel is the buffer itself. 24- and
// 32-bit and float audio is presented as 16-bit samples converted on the way (sample_depth.h), and a
// write changes only the samples whose 16-bit value it changed. A write keeps the first bytes of
// every block it changes, so the summary needs no copy of the whole audio. Owns the selection, the
// cancel flag, the change log and the pass and progress state.
#include "host_session.h"
#include <csignal>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include "sample_depth.h"
#include "transcript.h"

static HostAudio *audio = nullptr;
static HostSelection selection = {0, 0, 0};
static uint32_t viewFrameBytes = 0;    // bytesPerFrame as presented
static bool viewIsConverted = false;   // high-resolution audio presented as 16-bit samples
static uint32_t viewChannels = 1;      // samples per presented frame
static uint32_t hostStride = 0;        // bytes from one view frame to the next in the host's buffer
static uint32_t channelOffset = 0;     // bytes of a host frame before the presented channel
static ChangeLog changes;
static volatile sig_atomic_t cancelRequested = 0;
static bool fileEnded = false;         // a person ended the review of the whole file
static int32_t cancelFlag = 0;
static int32_t passes = 0;
static bool drawProgress = false;
static int32_t drawnPercent = -1;
static bool pluginHasRead = false;
static bool outOfMemory = false;

// The view's bytes lie back to back in the host's buffer: all channels, or the only one.
static bool viewIsContiguous() { return hostStride == viewFrameBytes; }

static uint8_t *viewFrameAt(uint64_t frame) { return audio->bytes.data() + channelOffset + (size_t)(frame * hostStride); }

// Byte b of the presented view, as an offset into the host's interleaved buffer.
static size_t hostByte(uint64_t b)
{
    return (size_t)(b / viewFrameBytes * hostStride + channelOffset + b % viewFrameBytes);
}

static uint64_t viewSize() { return (uint64_t)audio->frames * viewFrameBytes; }

static void logTransfer(const char *event, uint32_t offset, uint32_t bytes)
{
    if (!transcriptActive())
        return;
    transcriptEvent(std::string("{\"event\":\"") + event + "\",\"offset\":" + std::to_string(offset) +
                    ",\"bytes\":" + std::to_string(bytes) + "}");
}

enum Transfer { TO_VIEW, FROM_VIEW, COMPARE };

static bool moveByte(uint8_t *view, uint8_t *host, int32_t how)
{
    if (how == TO_VIEW)
        *view = *host;
    else if (how == FROM_VIEW)
        *host = *view;
    return how == COMPARE && *view != *host;
}

// Copies view bytes first .. first + count - 1 of a strided view to (TO_VIEW) or from (FROM_VIEW) the
// host's buffer, or reports whether they differ (COMPARE): whole samples one at a time, a stretch that
// starts or ends inside a sample byte by byte.
static bool transferChannel(uint8_t *view, uint64_t first, uint32_t count, int32_t how)
{
    const uint32_t sample = viewFrameBytes;
    uint8_t *host = audio->bytes.data();
    uint32_t i = 0;
    for (; i < count && (first + i) % sample != 0; i++)
        if (moveByte(view + i, host + hostByte(first + i), how))
            return true;
    uint8_t *at = host + hostByte(first + i);
    for (; i + sample <= count; i += sample, at += hostStride) {
        if (how == TO_VIEW)
            memcpy(view + i, at, sample);
        else if (how == FROM_VIEW)
            memcpy(at, view + i, sample);
        else if (memcmp(view + i, at, sample) != 0)
            return true;
    }
    for (; i < count; i++)
        if (moveByte(view + i, host + hostByte(first + i), how))
            return true;
    return false;
}

static bool viewDiffers(const uint8_t *source, uint64_t first, uint32_t count)
{
    if (viewIsContiguous())
        return memcmp(source, audio->bytes.data() + hostByte(first), count) != 0;
    return transferChannel(const_cast<uint8_t *>(source), first, count, COMPARE);
}

// Saves, before a write of view bytes first .. first + count - 1, every block of frames that the write
// changes and that no earlier write changed.
static void noteChanges(const uint8_t *source, uint64_t first, uint32_t count)
{
    const uint64_t blockBytes = (uint64_t)CHANGE_BLOCK_FRAMES * viewFrameBytes;
    const uint64_t end = first + count;
    for (uint64_t block = first / blockBytes; block * blockBytes < end; block++) {
        if (changeLogHasBlock(changes, (uint32_t)block))
            continue;
        uint64_t from = block * blockBytes > first ? block * blockBytes : first;
        uint64_t to = (block + 1) * blockBytes < end ? (block + 1) * blockBytes : end;
        if (viewDiffers(source + (from - first), from, (uint32_t)(to - from)))
            changeLogSaveBlock(&changes, (uint32_t)block, viewFrameAt(0), hostStride);
    }
}

// ---- High-resolution audio presented as 16-bit samples: view byte b is a byte of view sample b / 2.

static uint8_t *hostSampleAt(uint64_t viewSample)
{
    return viewFrameAt(viewSample / viewChannels) + (size_t)(viewSample % viewChannels) * sampleBytes(*audio);
}

static int16_t shownAt(uint64_t viewSample)
{
    return presentSample(hostSampleAt(viewSample), audio->bitsPerSample, audio->isFloat);
}

static void readConverted(uint8_t *target, uint64_t first, uint32_t count)
{
    for (uint32_t i = 0; i < count;) {
        uint64_t b = first + i;
        uint16_t shown = (uint16_t)shownAt(b / 2);
        for (uint32_t half = (uint32_t)(b % 2); half < 2 && i < count; half++, i++)
            target[i] = (uint8_t)(shown >> (8 * half));
    }
}

// Only samples whose 16-bit value the write changes are touched: the others keep their own bits, so a
// repair changes the file exactly where the plug-in changed the audio it was shown.
static void writeConverted(const uint8_t *source, uint64_t first, uint32_t count)
{
    for (uint32_t i = 0; i < count;) {
        uint64_t b = first + i, viewSample = b / 2;
        uint16_t shown = (uint16_t)shownAt(viewSample), wanted = shown;
        for (uint32_t half = (uint32_t)(b % 2); half < 2 && i < count; half++, i++)
            wanted = (uint16_t)((wanted & ~(0xFFu << (8 * half))) | (uint32_t)source[i] << (8 * half));
        if (wanted == shown)
            continue;
        uint32_t block = (uint32_t)(viewSample / viewChannels / CHANGE_BLOCK_FRAMES);
        if (!changeLogHasBlock(changes, block))
            changeLogSaveBlock(&changes, block, viewFrameAt(0), hostStride);
        storePresented(hostSampleAt(viewSample), audio->bitsPerSample, audio->isFloat, (int16_t)wanted);
    }
}

static int32_t XFM_STDCALL hostReadSamples(void *buffer, uint32_t byteOffset, uint32_t byteCount)
{
    try {
        logTransfer("read", byteOffset, byteCount);
    } catch (const std::bad_alloc &) {
        outOfMemory = true;
    }
    // A request past the end of the recording fails as a whole, the way a read error would.
    if ((uint64_t)byteOffset + byteCount > viewSize() || (byteCount && !buffer))
        return 1;
    pluginHasRead = true;
    if (byteCount == 0)
        return 0;
    uint8_t *target = (uint8_t *)buffer;
    if (viewIsConverted)
        readConverted(target, byteOffset, byteCount);
    else if (viewIsContiguous())
        memcpy(target, audio->bytes.data() + hostByte(byteOffset), byteCount);
    else
        transferChannel(target, byteOffset, byteCount, TO_VIEW);
    return 0;
}

static int32_t XFM_STDCALL hostWriteSamples(void *buffer, uint32_t byteOffset, uint32_t byteCount)
{
    try {
        logTransfer("write", byteOffset, byteCount);
    } catch (const std::bad_alloc &) {
        outOfMemory = true;
    }
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
    try {
        if (viewIsConverted) {
            writeConverted(source, byteOffset, taken);
            return 0;
        }
        noteChanges(source, byteOffset, taken);
    } catch (const std::bad_alloc &) {
        outOfMemory = true;
        if (viewIsConverted)
            return 0;
    }
    if (viewIsContiguous())
        memcpy(audio->bytes.data() + hostByte(byteOffset), source, taken);
    else
        transferChannel(source, byteOffset, taken, FROM_VIEW);
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
    char where[32];
    if (selection.channel)
        snprintf(where, sizeof where, "channel %d", (int)selection.channel);
    else
        snprintf(where, sizeof where, "all channels");
    fprintf(stderr, "\r%s, pass %d [%s] %3d%%", where, (int)passes + 1, bar, (int)percent);
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
    try {
        if (transcriptActive())
            transcriptEvent("{\"event\":\"progress\",\"index\":" + std::to_string(index) + ",\"count\":" +
                            std::to_string(count) + "}");
    } catch (const std::bad_alloc &) {
        outOfMemory = true;
    }
    if (cancelRequested)
        cancelFlag = 1;
    if (drawProgress)
        drawBar(index, count);
    return 0;
}

static int32_t XFM_STDCALL hostSetStatus(const char *text, int32_t zero)
{
    (void)zero;
    try {
        if (transcriptActive())
            transcriptEvent("{\"event\":\"status\",\"text\":" + jsonString(text) + "}");
    } catch (const std::bad_alloc &) {
        outOfMemory = true;
    }
    return 0;
}

static int32_t XFM_CDECL hostFinish(XfmWave *wave)
{
    (void)wave;
    try {
        if (transcriptActive())
            transcriptEvent("{\"event\":\"finish\"}");
    } catch (const std::bad_alloc &) {
        outOfMemory = true;
    }
    sessionClearProgress();
    passes++;
    return 0;
}

void sessionPrepare(HostAudio *newAudio, const HostSelection &newSelection, XfmWave *wave, bool progressBar)
{
    audio = newAudio;
    selection = newSelection;
    uint32_t frame = frameBytes(*audio);
    // The change log keeps the host's own bytes of the presented channel(s), whatever the plug-in sees.
    uint32_t hostViewFrameBytes = selection.channel == 0 ? frame : sampleBytes(*audio);
    viewIsConverted = presentedAsSixteen(*audio);
    viewChannels = selection.channel == 0 ? (uint32_t)audio->channels : 1u;
    viewFrameBytes = viewIsConverted ? 2u * viewChannels : hostViewFrameBytes;
    hostStride = frame;
    channelOffset = selection.channel == 0 ? 0 : (uint32_t)(selection.channel - 1) * sampleBytes(*audio);
    changeLogStart(&changes, audio->frames, hostViewFrameBytes);
    passes = 0;
    drawProgress = progressBar;
    drawnPercent = -1;
    cancelFlag = cancelRequested ? 1 : 0;
    memset(wave, 0, sizeof *wave);
    wave->channels = (int16_t)(selection.channel == 0 ? audio->channels : 1);
    wave->bitsPerSample = (int16_t)(viewIsConverted ? 16 : audio->bitsPerSample);
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

const HostAudio *sessionAudio() { return audio; }

HostSelection sessionSelection() { return selection; }

int32_t sessionPasses() { return passes; }

void sessionRequestCancel()
{
    cancelRequested = 1;
    cancelFlag = 1;
}

bool sessionCancelled() { return cancelRequested != 0; }

void sessionStartFile() { fileEnded = false; }

void sessionEndFile()
{
    fileEnded = true;
    cancelFlag = 1;
}

bool sessionFileEnded() { return fileEnded; }

const uint8_t *sessionFrameBefore(uint32_t frame)
{
    return changeLogFrameBefore(changes, frame, viewFrameAt(0), hostStride);
}

const uint8_t *sessionFrameNow(uint32_t frame) { return viewFrameAt(frame); }

std::vector<ChangedRegion> sessionChangedRegions(uint32_t mergeGap)
{
    return changeLogRegions(changes, viewFrameAt(0), hostStride, selection.start, selection.end, mergeGap);
}

bool sessionPluginHasRead() { return pluginHasRead; }

bool sessionOutOfMemory() { return outOfMemory; }
