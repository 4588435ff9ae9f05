// A recognised host built from the stand-in for steering tests: a frame of the host's class with a
// child view (the window handed to XfmSetup) that opens a range dialog on the range command. The
// dialog has a start field (focused, empty), a label that is no tab stop, and an end field holding
// the old end; it runs a modal loop with dialog-message dispatch until no message can arrive.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "compat_host.h"

struct RangeHost {
    HWND frame;                     // class "COOL96" or "COOL2000SS" (or any other)
    HWND view;                      // child of the frame; receives the posted command
    uint32_t rangeCommand;          // the command that opens the dialog
    std::vector<WPARAM> commands;   // wParam of every WM_COMMAND the view received
    std::vector<LPARAM> commandParams; // lParam of each
    int32_t ptsAroundOnOpen;        // nonzero: set clickParams.ptsAround to it as the dialog opens
    uint32_t openedAt;              // virtual-clock time the dialog opened, ms
    std::string startText;          // the fields as the dialog closed
    std::string endText;
    HWND focusAtClose;
    int dialogsOpened;
};

// The one range host; createRangeHost resets it and builds the frame and the view.
RangeHost &rangeHost();
void createRangeHost(const char *frameClass, uint32_t rangeCommand);
