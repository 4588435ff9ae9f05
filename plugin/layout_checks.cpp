// Compile-time checks that XfmWave and XfmInfo have the host's 32-bit layout. The i686 plug-in and the
// 32-bit twin check every field; in 64-bit builds pointers are wider, so only the fields before the
// first pointer can be compared there.
#include <cstddef>
#include "xfm_types.h"

static_assert(offsetof(XfmWave, channels) == 0, "channels");
static_assert(offsetof(XfmWave, bitsPerSample) == 2, "bitsPerSample");
static_assert(offsetof(XfmWave, bytesPerFrame) == 4, "bytesPerFrame");
static_assert(offsetof(XfmWave, sampleRate) == 8, "sampleRate");
static_assert(offsetof(XfmWave, selStart) == 16, "selStart");
static_assert(offsetof(XfmWave, selEnd) == 20, "selEnd");
static_assert(offsetof(XfmWave, readSamples) == 36 || sizeof(void *) != 4, "readSamples");
static_assert(offsetof(XfmWave, writeSamples) == 40 || sizeof(void *) != 4, "writeSamples");
static_assert(offsetof(XfmWave, cancelFlag) == 44 || sizeof(void *) != 4, "cancelFlag");
static_assert(offsetof(XfmWave, progress) == 48 || sizeof(void *) != 4, "progress");
static_assert(offsetof(XfmWave, setStatus) == 52 || sizeof(void *) != 4, "setStatus");
static_assert(offsetof(XfmWave, finish) == 56 || sizeof(void *) != 4, "finish");
static_assert(sizeof(XfmWave) == 60 || sizeof(void *) != 4, "XfmWave size");

static_assert(offsetof(XfmInfo, name) == 0, "name");
static_assert(offsetof(XfmInfo, credit) == 40, "credit");
static_assert(offsetof(XfmInfo, title) == 120, "title");
static_assert(offsetof(XfmInfo, version) == 190, "version");
static_assert(offsetof(XfmInfo, flags) == 192, "flags");
static_assert(offsetof(XfmInfo, reserved) == 196, "reserved");
static_assert(offsetof(XfmInfo, extra) == 200, "extra");
static_assert(offsetof(XfmInfo, hostText) == 248, "hostText");
