// The SkipList of positions the user skipped, kept for as long as the module is loaded.
#include "skip_list.h"

static int32_t skipEntries[SKIP_LIST_SIZE]; // oldest first
static int32_t skipCount = 0;               // 0..60

bool isSkipped(int32_t position)
{
    for (int32_t i = 0; i < skipCount; i++) {
        // Widened so that entries of a long earlier run cannot overflow the distance.
        int64_t distance = (int64_t)position - skipEntries[i];
        if (distance > -5 && distance < 5)
            return true;
    }
    return false;
}

void addSkipped(int32_t position)
{
    for (int32_t i = 0; i < skipCount; i++)
        if (skipEntries[i] == position)
            return;
    if (skipCount == SKIP_LIST_SIZE) {
        for (int32_t i = 1; i < SKIP_LIST_SIZE; i++)
            skipEntries[i - 1] = skipEntries[i];
        skipCount--;
    }
    skipEntries[skipCount++] = position;
}

int32_t skippedCount() { return skipCount; }
int32_t skippedEntry(int32_t i) { return (i >= 0 && i < skipCount) ? skipEntries[i] : -1; }

void resetSkipList() { skipCount = 0; }
