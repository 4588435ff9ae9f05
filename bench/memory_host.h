// The benchmarks' host: the selection lives in one vector, handed to the plug-in in whole blocks,
// the way an editor with the recording in memory would. Shared by the benchmark and time_xfm.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>
#include "plugin/xfm_types.h"

// The selection the plug-in reads and writes; index 0 is selStart 0.
inline std::vector<int16_t> &memorySelection()
{
    static std::vector<int16_t> selection;
    return selection;
}

inline int32_t XFM_STDCALL memoryRead(void *buffer, uint32_t offset, uint32_t bytes)
{
    memcpy(buffer, reinterpret_cast<const char *>(memorySelection().data()) + offset, bytes);
    return 0;
}

inline int32_t XFM_STDCALL memoryWrite(void *buffer, uint32_t offset, uint32_t bytes)
{
    memcpy(reinterpret_cast<char *>(memorySelection().data()) + offset, buffer, bytes);
    return 0;
}

// Puts material in the selection and describes it as a mono 16-bit selection of the whole of it.
inline XfmWave memoryWave(const std::vector<int16_t> &material, int32_t sampleRate)
{
    static int32_t cancelFlag = 0;
    memorySelection() = material;
    XfmWave wave = XfmWave{};
    wave.channels = 1;
    wave.bitsPerSample = 16;
    wave.bytesPerFrame = 2;
    wave.sampleRate = sampleRate;
    wave.selStart = 0;
    wave.selEnd = (uint32_t)material.size() - 1;
    wave.readSamples = memoryRead;
    wave.writeSamples = memoryWrite;
    wave.cancelFlag = &cancelFlag;
    return wave;
}
