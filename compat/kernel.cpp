// Kernel services of the stand-in: global memory (malloc's, large blocks mapped in huge pages) with
// fault injection and a live-block counter, the virtual clock behind Sleep, and wsprintfA with
// Win32's 32-bit integer arguments.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sys/mman.h>
#include "compat_host.h"
#include "window_table.h"

static std::map<void *, size_t> liveBlocks; // block -> bytes mapped for it, 0 for a malloc'd block

// A run's sample block is megabytes of memory touched once, page by page; on some virtual machines
// each first touch of a small page costs microseconds. Blocks from 2 MiB up are mapped in whole 2 MiB
// pages where the kernel offers them (a length of whole huge pages is placed on a huge-page boundary),
// which the kernel hands over zeroed.
static const size_t HUGE_PAGE = (size_t)2 << 20;

// The address sanitizer guards only what malloc hands out: there every block stays malloc's.
#if defined(__SANITIZE_ADDRESS__)
#define SANITIZED_ADDRESSES 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SANITIZED_ADDRESSES 1
#endif
#endif
#ifndef SANITIZED_ADDRESSES
#define SANITIZED_ADDRESSES 0
#endif

// The last large block freed stays mapped for the next one of the same length: a program that runs
// the plug-in again and again (a benchmark) would otherwise have the kernel clear its pages anew each
// time, where malloc would have handed the freed memory back. It belongs to no one, so it is not live,
// and a reset keeps it (a benchmark resets the stand-in between its rounds).
static void *spareBlock = nullptr;
static size_t spareMapped = 0;

static void dropSpareBlock()
{
    if (spareBlock)
        munmap(spareBlock, spareMapped);
    spareBlock = nullptr;
    spareMapped = 0;
}

static void *mapLargeBlock(size_t bytes, UINT flags, size_t *mapped)
{
    size_t length = (bytes + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1);
    *mapped = length;
    if (spareBlock && spareMapped == length) {
        void *block = spareBlock;
        spareBlock = nullptr;
        if (flags & GMEM_ZEROINIT)
            memset(block, 0, bytes);
        return block;
    }
    dropSpareBlock();
    void *block = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        return nullptr;
    madvise(block, length, MADV_HUGEPAGE); // advice only: small pages when refused
    return block;
}

static void releaseBlock(void *block, size_t mapped)
{
    if (!mapped) {
        free(block);
        return;
    }
    dropSpareBlock();
    spareBlock = block;
    spareMapped = mapped;
}

static uint32_t clockNow = 0;

void compatResetKernel()
{
    for (auto &live : liveBlocks)
        releaseBlock(live.first, live.second);
    liveBlocks.clear();
    clockNow = 0;
}

int compatLiveGlobalBlocks() { return (int)liveBlocks.size(); }

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes)
{
    if (compatCallFails(COMPAT_GLOBAL_ALLOC))
        return nullptr;
    // Movable and fixed blocks are both plain memory here: the handle is the address.
    size_t mapped = 0;
    void *block = bytes >= HUGE_PAGE && !SANITIZED_ADDRESSES ? mapLargeBlock(bytes, flags, &mapped)
                  : (flags & GMEM_ZEROINIT) ? calloc(bytes ? bytes : 1, 1)
                                            : malloc(bytes ? bytes : 1);
    if (block)
        liveBlocks[block] = mapped;
    return block;
}

bool compatGlobalBlockLive(HGLOBAL block) { return liveBlocks.count(block) != 0; }

LPVOID WINAPI GlobalLock(HGLOBAL block)
{
    if (compatCallFails(COMPAT_GLOBAL_LOCK))
        return nullptr;
    return liveBlocks.count(block) ? block : nullptr;
}
BOOL WINAPI GlobalUnlock(HGLOBAL block) { (void)block; return FALSE; }

HGLOBAL WINAPI GlobalFree(HGLOBAL block)
{
    if (!block)
        return nullptr;
    auto live = liveBlocks.find(block);
    if (live == liveBlocks.end())
        return block; // Win32 returns the handle itself on failure
    releaseBlock(live->first, live->second);
    liveBlocks.erase(live);
    return nullptr;
}

uint32_t compatClockNow() { return clockNow; }
void compatClockAdvance(uint32_t milliseconds) { clockNow += milliseconds; }
void WINAPI Sleep(DWORD milliseconds) { clockNow += milliseconds; }
DWORD WINAPI GetTickCount(void) { return clockNow; }

int WINAPI lstrlenA(LPCSTR text) { return text ? (int)strlen(text) : 0; }

// Formats one integer conversion. Win32 reads %d and %ld alike as 32-bit values.
static int formatInteger(char *out, char conversion, uint32_t raw)
{
    switch (conversion) {
    case 'd':
    case 'i':
        return sprintf(out, "%d", (int)(int32_t)raw);
    case 'u':
        return sprintf(out, "%u", (unsigned)raw);
    case 'x':
        return sprintf(out, "%x", (unsigned)raw);
    case 'X':
        return sprintf(out, "%X", (unsigned)raw);
    default:
        return 0;
    }
}

int __cdecl wsprintfA(LPSTR out, LPCSTR format, ...)
{
    // wsprintfA writes at most 1024 characters including the terminator.
    const int limit = 1023;
    va_list args;
    va_start(args, format);
    int length = 0;
    char piece[64];
    for (const char *f = format; *f && length < limit; f++) {
        if (*f != '%') {
            out[length++] = *f;
            continue;
        }
        f++;
        if (*f == 'l' || *f == 'h')
            f++;
        const char *text = piece;
        int pieceLength = 0;
        switch (*f) {
        case '%':
            piece[0] = '%';
            pieceLength = 1;
            break;
        case 'c':
            piece[0] = (char)va_arg(args, int);
            pieceLength = 1;
            break;
        case 's':
            text = va_arg(args, const char *);
            if (!text)
                text = "(null)";
            pieceLength = (int)strlen(text);
            break;
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X':
            pieceLength = formatInteger(piece, *f, (uint32_t)va_arg(args, int));
            break;
        case '\0':
            f--;
            break;
        default:
            break;
        }
        if (pieceLength > limit - length)
            pieceLength = limit - length;
        memcpy(out + length, text, (size_t)pieceLength);
        length += pieceLength;
    }
    va_end(args);
    out[length] = '\0';
    return length;
}
