// The SkipList: up to 60 buffer positions the user skipped, oldest first. Module state, never cleared
// while the module is loaded; a candidate within 4 samples of an entry is passed over.
#pragma once
#include <cstdint>

enum { SKIP_LIST_SIZE = 60 };

// True when some entry e has |position - e| < 5.
bool isSkipped(int32_t position);
// Adds position unless it is already an entry; a full list drops its oldest entry first.
void addSkipped(int32_t position);
// Number of entries, 0..60, and entry i (0 = oldest).
int32_t skippedCount();
int32_t skippedEntry(int32_t i);
// Empties the list (tests only; a run never clears it).
void resetSkipList();
