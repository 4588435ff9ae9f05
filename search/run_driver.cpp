// XfmDo, the search run: checks the selection, reads it into one buffer, loads the settings, runs the
// detector's passes with their end-of-pass steps (write-back, finish, best guess, multipass), steers
// the host, releases the buffer and saves the settings. The run's state lives in its own call frame.
#include "analysis/base_freq.h"
#include "analysis/click_span.h"
#include "analysis/range_table.h"
#include "host/navigation.h"
#include "plugin/click_params.h"
#include "plugin/messages.h"
#include "plugin/module_state.h"
#include "plugin/settings.h"
#include "plugin/xfm.h"
#include "repair/repair.h"
#include "ui/review.h"
#include "scan_pass.h"
#include "skip_list.h"
#include "stop_rules.h"
#include "ui/dialog_ids.h"

enum : uint32_t { FEWEST_SAMPLES = 41 };
// Automatic multipass runs settle within a few passes on real recordings; this many passes in a row
// without a review end the run whatever the last one changed.
enum : int32_t { QUIET_PASS_LIMIT = 32 };

static uint32_t selectionCount(const XfmWave *wave) { return wave->selEnd - wave->selStart + 1u; }

static void writeBack(XfmWave *wave, const SampleBuffer &buffer)
{
    wave->writeSamples(buffer.samples, (uint32_t)wave->bytesPerFrame * wave->selStart,
                       (uint32_t)wave->bytesPerFrame * buffer.count);
}

// The buffer is used as count 16-bit samples but sized and transferred in whole frames: a frame of less
// than two bytes, or a transfer that does not fit the host's 32-bit offsets, would run outside it.
static bool refuseUnsafeLayout(const XfmWave *wave, uint32_t count)
{
    if (wave->bytesPerFrame < 2) {
        showError(MSG_FRAME_TOO_SMALL);
        return true;
    }
    uint64_t end = (uint64_t)wave->bytesPerFrame * ((uint64_t)wave->selStart + count);
    if (end > 0xFFFFFFFFull) {
        showError(MSG_SELECTION_TOO_LONG);
        return true;
    }
    return false;
}

// Offers the pass's best guess once more; returns true when the pass counts as changed by it.
static bool reviewBestGuess(XfmWave *wave, SampleBuffer &buffer, RunState &run)
{
    int16_t *samples = buffer.samples;
    uint32_t count = buffer.count;
    uint32_t guess = run.bestGuess;
    locateClickSpan(samples, count, guess, clickParams);
    int32_t verdict = verifyBaseFrequency(buffer, guess, clickParams);
    wsprintfA(textBuffer, MSG_BEST_GUESS, (int32_t)(wave->selStart + guess + 1u),
              verdict ? MSG_VERIFY_OK : MSG_VERIFY_REJECT);
    int32_t code = runReview(wave, samples, count, (int32_t)guess, textBuffer, &clickParams, 0, run.passNumber);
    run.lastResult = code;
    run.lastStop = guess;
    if (code == ID_REPAIR || code == ID_AUTO_REPAIR) {
        if (repairInBuffer(buffer, clickParams)) {
            writeBack(wave, buffer);
            return true;
        }
        showInformation(MSG_CANT_REPAIR);
        if (run.changed)
            writeBack(wave, buffer);
        return false;
    }
    if (code == ID_SKIP) {
        addSkipped((int32_t)guess);
        return true;
    }
    return false;
}

// FNV-1a over the sample values: tells whether a pass left the buffer exactly as it found it.
static uint64_t bufferChecksum(const int16_t *samples, uint32_t count)
{
    uint64_t hash = 14695981039346656037ull;
    for (uint32_t i = 0; i < count; i++) {
        hash ^= (uint16_t)samples[i];
        hash *= 1099511628211ull;
    }
    return hash;
}

// Whether the scan's changes call for another pass. A pass that showed no review and whose automatic
// repairs left every sample as it was would find the very same candidates again, and an automatic
// multipass run would never end; such a pass does not count. Nor does one after a long row of passes
// without a review: repairs that keep nudging a few samples by one (dense clicks, a click at the
// buffer's end) never give the same buffer twice, and the host would hang. A pass with a review keeps
// its flag, so that "Find &Next" in multipass still starts a new pass over an unchanged buffer.
static bool scanChangedForNextPass(const int16_t *samples, uint32_t count, const RunState &run, uint64_t before)
{
    if (!run.changed)
        return false;
    if (run.reviewsShown > 0)
        return true;
    if (!clickParams.multipass)
        return true; // not asked for: no next pass follows either way
    if (run.quietPasses >= QUIET_PASS_LIMIT)
        return false;
    return bufferChecksum(samples, count) != before;
}

// The passes of one run over the buffer. Returns when the run is over; the caller releases and saves.
static void runPasses(XfmWave *wave, SampleBuffer &buffer, RunState &run, bool &refused)
{
    const int16_t *samples = buffer.samples;
    uint32_t count = buffer.count;
    for (;;) {
        run.passNumber++;
        if (wave->setStatus)
            wave->setStatus(MSG_STATUS_LOOKING, 0);
        if (wave->channels != 1) {
            showError(MSG_ONLY_MONO);
            if (wave->finish)
                wave->finish(wave);
            refused = true;
            return;
        }
        run.reviewsShown = 0;
        // The checksum only matters for a multipass run whose pass shows no review, and without a
        // review the switch cannot change during the pass: a single-pass run skips both scans.
        uint64_t before = clickParams.multipass ? bufferChecksum(samples, count) : 0;
        runScanPass(buffer, run);
        run.quietPasses = run.reviewsShown > 0 ? 0 : run.quietPasses + 1;
        bool scanChanged = scanChangedForNextPass(samples, count, run, before);

        if (run.changed)
            writeBack(wave, buffer);
        int32_t cancelled = wave->cancelFlag ? *wave->cancelFlag : 0;
        if (wave->finish)
            wave->finish(wave);
        if (cancelled)
            return;
        bool guessChanged = false;
        if (run.lastStop == 0) {
            if (run.bestGuess == 0) {
                showOwnedError(hostWindow, MSG_NOTHING_FOUND);
                return;
            }
            guessChanged = reviewBestGuess(wave, buffer, run);
        }
        if (clickParams.multipass && (scanChanged || guessChanged) && run.lastResult != ID_CLOSE) {
            run.changed = false;
            continue;
        }
        if (run.lastResult == ID_STOP_HERE || clickParams.rangeDialog)
            steerHost((int32_t)(wave->selStart + run.lastStop + 1u));
        return;
    }
}

// The run's one block: the samples, and after them (4-byte aligned) the range tables that speed up the
// verification. When the larger block cannot be had the run goes on with the samples alone; only when
// that fails too is there no memory. *tables is left null when the block holds no tables.
static int16_t *allocateSamples(uint32_t bytes, uint32_t count, void **tables)
{
    *tables = nullptr;
    uint64_t tableOffset = ((uint64_t)bytes + 3u) & ~(uint64_t)3u;
    uint32_t tableBytes = rangeTableBytes(count);
    uint64_t total = tableOffset + tableBytes;
    if (tableBytes != 0 && total <= 0xFFFFFFFFull) {
        char *block = (char *)GlobalAlloc(GMEM_FIXED, (SIZE_T)total);
        if (block) {
            *tables = block + tableOffset;
            return (int16_t *)block;
        }
    }
    return (int16_t *)GlobalAlloc(GMEM_FIXED, bytes);
}

int32_t WINAPI XfmDo(XfmWave *wave)
{
    clickParams.wave = wave;
    if (wave->bitsPerSample != 16) {
        showError(MSG_ONLY_16_BIT);
        return 0;
    }
    uint32_t count = selectionCount(wave);
    if (count <= FEWEST_SAMPLES) {
        showError(MSG_TOO_FEW_SAMPLES);
        saveSettings();
        return 1;
    }
    if (refuseUnsafeLayout(wave, count))
        return 0;
    uint32_t bytes = (uint32_t)wave->bytesPerFrame * count;
    void *tables = nullptr;
    int16_t *samples = allocateSamples(bytes, count, &tables);
    if (!samples) {
        showError(MSG_NO_MEMORY);
        return 0;
    }
    if ((wave->readSamples(samples, (uint32_t)wave->bytesPerFrame * wave->selStart, bytes) & 0xFFFF) != 0) {
        showError(MSG_CANT_READ);
        GlobalFree(samples);
        return 0;
    }
    loadSettings();
    RangeTable table;
    buildRangeTable(table, samples, count, tables); // without tables this leaves it empty
    SampleBuffer buffer = {samples, count, tables ? &table : nullptr};

    RunState run = {};
    bool refused = false;
    runPasses(wave, buffer, run, refused);
    GlobalFree(samples);
    if (refused)
        return 0;
    saveSettings();
    return 1;
}
