// Changed stretches between two copies of the audio, and their description for the summary.
#include "change_report.h"
#include <cstring>

std::vector<ChangedRegion> findChangedRegions(const uint8_t *before, const uint8_t *after, uint32_t frameSize,
                                              uint32_t offset, uint32_t width, uint32_t firstFrame,
                                              uint32_t lastFrame, uint32_t mergeGap)
{
    std::vector<ChangedRegion> regions;
    if (firstFrame > lastFrame)
        return regions;
    for (uint64_t f = firstFrame; f <= lastFrame; f++) {
        size_t at = (size_t)f * frameSize + offset;
        if (memcmp(before + at, after + at, width) == 0)
            continue;
        uint32_t frame = (uint32_t)f;
        if (!regions.empty() && (uint64_t)frame - regions.back().last <= (uint64_t)mergeGap + 1u)
            regions.back().last = frame;
        else
            regions.push_back({frame, frame});
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
