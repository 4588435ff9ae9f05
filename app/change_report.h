// What the plug-in changed, as the host sees it: the first bytes of every stretch of frames that a
// write changed, kept as the writes arrive (so the host needs no second copy of the audio), the
// changed stretches found from them at the end, and the summary line. Pure; the log is the caller's.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct ChangedRegion {
    uint32_t first; // first changed frame, 0-based
    uint32_t last;  // last changed frame, inclusive
};

// Frames are kept in blocks of this many: small enough that a few clicks keep little, large enough
// that the block table stays small.
enum { CHANGE_BLOCK_FRAMES = 1024 };

struct ChangeLog {
    uint32_t frames;                         // frames of the view the writes go to
    uint32_t frameBytes;                     // bytes of one frame of that view, 1..65535
    std::vector<int32_t> blockSlot;          // per block: its index in saved, -1 while no write changed it
    std::vector<std::vector<uint8_t>> saved; // each changed block's frames as they were before that write
};

// Starts an empty log for a view of frames frames of frameBytes bytes each.
void changeLogStart(ChangeLog *log, uint32_t frames, uint32_t frameBytes);

// Whether block (frames block * CHANGE_BLOCK_FRAMES onwards) was saved already.
bool changeLogHasBlock(const ChangeLog &log, uint32_t block);

// Saves block's frames as they are now, read at current + frame * stride (frameBytes each), before a
// write changes them. Only the first save of a block counts.
void changeLogSaveBlock(ChangeLog *log, uint32_t block, const uint8_t *current, size_t stride);

// Frame's bytes as they were before the first write that changed its block: the saved copy, or the
// frame as it is now (at current + frame * stride) when no write changed its block.
const uint8_t *changeLogFrameBefore(const ChangeLog &log, uint32_t frame, const uint8_t *current, size_t stride);

// Frames in firstFrame..lastFrame whose bytes now (at current + frame * stride) differ from what they
// were before the first write that changed their block. Stretches closer than mergeGap unchanged
// frames are one region, since a repaired span may keep a sample or two by chance.
std::vector<ChangedRegion> changeLogRegions(const ChangeLog &log, const uint8_t *current, size_t stride,
                                            uint32_t firstFrame, uint32_t lastFrame, uint32_t mergeGap);

// "N clicks repaired at P, Q-R" in positions as the plug-in reports them (frame + 1), or
// "no clicks repaired". At most maxListed regions are listed; more are summed up as "...".
std::string describeRegions(const std::vector<ChangedRegion> &regions, uint32_t maxListed);
