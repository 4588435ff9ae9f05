// What the plug-in changed, as the host sees it: stretches of changed samples found by comparing the
// audio before and after a run, and the summary line printed at the end. Pure; no state.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct ChangedRegion {
    uint32_t first; // first changed frame, 0-based
    uint32_t last;  // last changed frame, inclusive
};

// Changed frames, looking only at bytes [offset, offset + width) of each frame of frameSize bytes,
// for frames [firstFrame, lastFrame]. Stretches closer than mergeGap unchanged frames are one region,
// since a repaired span may keep a sample or two by chance.
std::vector<ChangedRegion> findChangedRegions(const uint8_t *before, const uint8_t *after, uint32_t frameSize,
                                              uint32_t offset, uint32_t width, uint32_t firstFrame,
                                              uint32_t lastFrame, uint32_t mergeGap);

// "N clicks repaired at P, Q-R" in positions as the plug-in reports them (frame + 1), or
// "no clicks repaired". At most maxListed regions are listed; more are summed up as "...".
std::string describeRegions(const std::vector<ChangedRegion> &regions, uint32_t maxListed);
