// The records that cross the host boundary: XfmWave (the host's selection and callbacks) and XfmInfo
// (what QueryXfm fills). Laid out exactly as the host lays them out on 32-bit Windows; the i686 build
// checks every offset at compile time (layout_checks.cpp). Free of any platform header.
#pragma once
#include <cstdint>
#include "callconv.h"

struct XfmWave;

// Host callbacks, as the plug-in calls them.
typedef int32_t(XFM_STDCALL *XfmReadSamples)(void *buffer, uint32_t byteOffset, uint32_t byteCount);
typedef int32_t(XFM_STDCALL *XfmWriteSamples)(void *buffer, uint32_t byteOffset, uint32_t byteCount);
typedef int32_t(XFM_STDCALL *XfmProgress)(int32_t index, int32_t count);
typedef int32_t(XFM_STDCALL *XfmSetStatus)(const char *text, int32_t zero);
typedef int32_t(XFM_CDECL *XfmFinish)(XfmWave *wave);

struct XfmWave {
    int16_t channels;         // channels in the selection; a run needs 1
    int16_t bitsPerSample;    // a run needs 16
    uint16_t bytesPerFrame;   // bytes per sample frame; callback offsets and sizes are multiples of it
    uint16_t reserved6;       // not read
    int32_t sampleRate;       // samples per second
    uint32_t reserved12;      // not read
    uint32_t selStart;        // first selected sample, in the host's recording
    uint32_t selEnd;          // last selected sample, inclusive
    uint8_t reserved24[12];   // not read
    XfmReadSamples readSamples;   // low 16 bits of the result nonzero = failure
    XfmWriteSamples writeSamples; // result ignored
    int32_t *cancelFlag;          // nonzero when the user asks to stop
    XfmProgress progress;         // optional
    XfmSetStatus setStatus;       // optional
    XfmFinish finish;             // optional; the caller removes the argument
};

// Width of each text field: the distance to the next field the plug-in writes.
enum {
    XFM_NAME_WIDTH = 40,
    XFM_CREDIT_WIDTH = 80,
    XFM_TITLE_WIDTH = 70,
    XFM_EXTRA_WIDTH = 48
};

struct XfmInfo {
    char name[XFM_NAME_WIDTH];      // offset 0: plug-in name
    char credit[XFM_CREDIT_WIDTH];  // offset 40: author and year
    char title[XFM_TITLE_WIDTH];    // offset 120: plug-in name again
    uint16_t version;               // offset 190: 4
    uint32_t flags;                 // offset 192: 17
    uint32_t reserved;              // offset 196: 0
    char extra[XFM_EXTRA_WIDTH];    // offset 200: empty text
    char hostText[1];               // offset 248: empty text; the host owns what follows
};

// HostKind: which editor XfmSetup recognised by its frame's window class.
enum HostKind {
    HOST_NONE = 0,
    HOST_COOL96 = 1,     // frame class "COOL96"
    HOST_COOL2000SS = 2  // frame class "COOL2000SS"
};

// The menu command that opens each recognised editor's range dialog.
enum : uint32_t {
    RANGE_COMMAND_COOL96 = 3147,
    RANGE_COMMAND_COOL2000SS = 2055
};
