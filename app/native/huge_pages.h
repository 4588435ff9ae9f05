// Large buffers of the host offered to the kernel as huge pages. Audio is megabytes touched once, page
// by page, and on some virtual machines each first touch of a small page costs microseconds; a huge
// page costs one touch. Advice only: where the kernel refuses it, nothing changes.
#pragma once
#include <sys/mman.h>
#include <unistd.h>
#include <cstddef>
#include <cstdint>

static const size_t HUGE_PAGE_BYTES = (size_t)2 << 20;
#ifdef MADV_COLLAPSE
static const int MADV_COLLAPSE_ADVICE = MADV_COLLAPSE;
#else
static const int MADV_COLLAPSE_ADVICE = 25; // Linux's number, where the C library does not name it yet
#endif

// The capacity to reserve for a buffer of `bytes`: from 2 MiB up, whole huge pages less the few bytes
// malloc adds to a block it maps (glibc: a 16-byte header, sizes rounded to 16), so that malloc maps
// whole huge pages, which the kernel places on a huge-page boundary. Smaller buffers as they are.
inline size_t hugePageCapacity(size_t bytes)
{
    const size_t mallocHeader = 32;
    if (bytes < HUGE_PAGE_BYTES)
        return bytes;
    return ((bytes + mallocHeader + HUGE_PAGE_BYTES - 1) & ~(HUGE_PAGE_BYTES - 1)) - mallocHeader;
}

// Advises huge pages over the whole huge pages from the page data starts in to the page its last byte
// lies in: the whole buffer when it was reserved with hugePageCapacity and malloc and the kernel did
// as said there, else the whole huge pages inside it. Call it before anything is written there.
inline void adviseHugePages(const uint8_t *data, size_t bytes)
{
    uintptr_t page = (uintptr_t)sysconf(_SC_PAGESIZE);
    uintptr_t huge = (uintptr_t)HUGE_PAGE_BYTES;
    uintptr_t start = (uintptr_t)data & ~(page - 1);
    uintptr_t first = (start + huge - 1) & ~(huge - 1);
    uintptr_t end = (((uintptr_t)data + bytes + page - 1) & ~(page - 1)) & ~(huge - 1);
    if (end <= first)
        return;
    madvise((void *)first, end - first, MADV_HUGEPAGE);
    // malloc has already written its header into the buffer's first page, which keeps the first huge
    // page from being handed over whole at the first write; it is made one now (kernels from 6.1 on;
    // elsewhere the first 2 MiB stay small pages).
    if (first == start && end - first >= huge)
        madvise((void *)first, huge, MADV_COLLAPSE_ADVICE);
}
