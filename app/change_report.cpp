// The blocks of frames that writes changed, the regions found from them, and their description for
// the summary.
#include "change_report.h"
#include <cstring>

void changeLogStart(ChangeLog *log, uint32_t frames, uint32_t frameBytes)
{
    log->frames = frames;
    log->frameBytes = frameBytes;
    log->blockSlot.assign(((size_t)frames + CHANGE_BLOCK_FRAMES - 1) / CHANGE_BLOCK_FRAMES, -1);
    log->saved.clear();
}

bool changeLogHasBlock(const ChangeLog &log, uint32_t block)
{
    return block < log.blockSlot.size() && log.blockSlot[block] >= 0;
}

void changeLogSaveBlock(ChangeLog *log, uint32_t block, const uint8_t *current, size_t stride)
{
    if (block >= log->blockSlot.size() || log->blockSlot[block] >= 0)
        return;
    uint64_t first = (uint64_t)block * CHANGE_BLOCK_FRAMES;
    uint64_t end = first + CHANGE_BLOCK_FRAMES < log->frames ? first + CHANGE_BLOCK_FRAMES : log->frames;
    std::vector<uint8_t> frames((size_t)(end - first) * log->frameBytes);
    for (uint64_t f = first; f < end; f++)
        memcpy(frames.data() + (size_t)(f - first) * log->frameBytes, current + (size_t)f * stride, log->frameBytes);
    log->blockSlot[block] = (int32_t)log->saved.size();
    log->saved.push_back(std::move(frames));
}

const uint8_t *changeLogFrameBefore(const ChangeLog &log, uint32_t frame, const uint8_t *current, size_t stride)
{
    uint32_t block = frame / CHANGE_BLOCK_FRAMES;
    if (!changeLogHasBlock(log, block))
        return current + (size_t)frame * stride;
    const std::vector<uint8_t> &before = log.saved[(size_t)log.blockSlot[block]];
    return before.data() + (size_t)(frame - block * CHANGE_BLOCK_FRAMES) * log.frameBytes;
}

static void addChangedFrame(std::vector<ChangedRegion> *regions, uint32_t frame, uint32_t mergeGap)
{
    if (!regions->empty() && (uint64_t)frame - regions->back().last <= (uint64_t)mergeGap + 1u)
        regions->back().last = frame;
    else
        regions->push_back({frame, frame});
}

std::vector<ChangedRegion> changeLogRegions(const ChangeLog &log, const uint8_t *current, size_t stride,
                                            uint32_t firstFrame, uint32_t lastFrame, uint32_t mergeGap)
{
    // Where the frames lie back to back, a stretch that compares equal as a whole is passed over at once.
    const uint64_t piece = stride == log.frameBytes ? 32 : 1;
    std::vector<ChangedRegion> regions;
    // Blocks in order give the frames in order; a block never saved was never changed.
    for (size_t block = 0; block < log.blockSlot.size(); block++) {
        if (log.blockSlot[block] < 0)
            continue;
        const std::vector<uint8_t> &before = log.saved[(size_t)log.blockSlot[block]];
        uint64_t first = (uint64_t)block * CHANGE_BLOCK_FRAMES;
        uint64_t end = first + before.size() / log.frameBytes;
        first = first > firstFrame ? first : firstFrame;
        end = end < (uint64_t)lastFrame + 1 ? end : (uint64_t)lastFrame + 1;
        uint64_t blockStart = (uint64_t)block * CHANGE_BLOCK_FRAMES;
        for (uint64_t f = first; f < end; f += piece) {
            uint64_t n = end - f < piece ? end - f : piece;
            const uint8_t *was = before.data() + (size_t)(f - blockStart) * log.frameBytes;
            if (piece > 1 && memcmp(was, current + (size_t)f * stride, (size_t)n * log.frameBytes) == 0)
                continue;
            for (uint64_t g = f; g < f + n; g++)
                if (memcmp(was + (size_t)(g - f) * log.frameBytes, current + (size_t)g * stride, log.frameBytes) != 0)
                    addChangedFrame(&regions, (uint32_t)g, mergeGap);
        }
    }
    return regions;
}

static std::string position(uint32_t frame) { return std::to_string((uint64_t)frame + 1u); }

std::string describeRegions(const std::vector<ChangedRegion> &regions, uint32_t maxListed)
{
    if (regions.empty())
        return "no clicks repaired";
    std::string text = std::to_string(regions.size()) + (regions.size() == 1 ? " click" : " clicks") +
                       " repaired at ";
    for (size_t i = 0; i < regions.size(); i++) {
        if (i == maxListed) {
            text += ", ...";
            break;
        }
        if (i)
            text += ", ";
        text += position(regions[i].first);
        if (regions[i].last != regions[i].first)
            text += "-" + position(regions[i].last);
    }
    return text;
}
