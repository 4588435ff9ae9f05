// Command line of the vantrope host program: the HostOptions record and its parser. Pure standard
// C++ with no platform calls, so the tests check it directly. Owns no state.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct HostOptions {
    std::string inPath;          // audio file to read
    std::string outPath;         // audio file to write when every run succeeded
    int32_t channel;             // 1..65535: present only this channel; 0 = every channel in turn
    bool allChannels;            // present every channel at once as one interleaved selection
    bool hasStart;               // --start given
    uint32_t start;              // first frame of the selection, 0-based, inclusive
    bool hasEnd;                 // --end given
    uint32_t end;                // last frame of the selection, 0-based, inclusive
    bool hasSettingsDir;         // --settings-dir given
    std::string settingsDir;     // directory of the plug-in's profile file
    std::string frameClass;      // window class of the host's frame window, 1..255 characters
    bool info;                   // print what QueryXfm wrote and exit
    bool help;                   // print the usage and exit
    bool autoMode;               // answer reviews by their message ("Possible click" auto, else stop)
    bool refuseLong;             // answer the very-long-selection question No
    bool useDialog;              // hand XfmSetup the plug-in's instance, so reviews use the dialog
    bool hasAnswers;             // --answers given
    std::vector<int32_t> answers; // review answers as button ids, in order
    std::string logPath;         // transcript file, empty = none
    std::string scriptPath;      // --script: file of review actions, one review per line; empty = none
    bool hasReview;              // --review given
    std::string reviewText;      // --review: review actions, reviews separated by '/'
    std::string reportDir;       // --report: directory of the review pictures and index; empty = none
    bool overwrite;              // -y: replace an existing OUT without asking
    bool neverOverwrite;         // -n: never replace an existing OUT
    bool inPlace;                // --in-place: OUT is IN, replaced atomically
    bool lossy;                  // --lossy: writing a lossy format (MP3, Ogg Vorbis, Opus, ...) is wanted
};

// The host frame's default class: one of the host's own, which the plug-in recognises as no editor.
#define DEFAULT_FRAME_CLASS "VantropeHostFrame"

// Fills options from the arguments after the program name. Returns 1 when they are usable, 0 with a
// one-line reason in *error otherwise. Touches no state.
int32_t parseHostOptions(const std::vector<std::string> &args, HostOptions *options, std::string *error);

// Parses a decimal number of at most 4294967295 with no sign or blanks (leading zeros allowed).
// Returns 1 when it is one.
int32_t parseFrameNumber(const std::string &text, uint32_t *value);

// The usage text printed by --help.
const char *hostUsage();
