// The help in its renderings: one list of blocks (usage lines, paragraphs, the option groups of the
// option table, the presets read from their files, the review script's syntax, the settings keys),
// rendered as terminal text for --help and --help-host, as roff for the manual page, and the option
// names as a bash completion script. Owns the composed texts.
#include "host_help.h"
#include <cstdint>
#include <cstdio>
#include "host_options.h"
#include "presets.h"
#include "review_script.h"

#ifndef VANTROPE_VERSION
#define VANTROPE_VERSION "unknown"
#endif
#ifndef VANTROPE_PRESET_DIR
#define VANTROPE_PRESET_DIR "presets"
#endif

enum { HELP_WIDTH = 100, OPTION_COLUMN = 23 };

enum BlockKind : int32_t {
    BLOCK_LINES = 0,     // lines as they are
    BLOCK_PARAGRAPH = 1, // wrapped text
    BLOCK_OPTIONS = 2,   // the options of one group, under a heading
    BLOCK_PRESETS = 3,   // the built-in presets with their trade and figures
    BLOCK_SCRIPT = 4,    // the review script's syntax
    BLOCK_KEYS = 5       // the eleven settings keys
};

struct HelpBlock {
    int32_t kind;          // a BlockKind
    int32_t group;         // the OptionGroup of BLOCK_OPTIONS
    const char *heading;   // the terminal's heading line ("Repair:"), null = none
    const char *manHeading; // the manual page's section or subsection, null = none
    const char *text;      // lines or paragraph
};

static const char usageLines[] =
    "usage: vantrope [options] IN OUT\n"
    "       vantrope [options] IN... --out-dir DIR | --suffix TEXT | --in-place\n"
    "       vantrope --list [--csv] [--labels FILE] [options] IN\n"
    "       vantrope settings [--reset | --preset NAME | --set KEY=VALUE]\n";

static const HelpBlock userBlocks[] = {
    {BLOCK_LINES, 0, nullptr, "SYNOPSIS", usageLines},
    {BLOCK_PARAGRAPH, 0, nullptr, "DESCRIPTION",
     "Repairs the clicks in IN with the Vantrope click-repair plug-in and writes the result to OUT. Each channel "
     "is repaired on its own. OUT's extension chooses its format (.wav, .flac, .aiff, .caf, ...; none keeps IN's) "
     "and \"-\" writes to standard output. OUT is replaced only by a complete file: when anything fails or the run "
     "is interrupted, IN and an existing OUT stay as they were."},
    {BLOCK_OPTIONS, GROUP_REPAIR, "Repair:", "Repair", nullptr},
    {BLOCK_OPTIONS, GROUP_LIST, "Find without repairing:", "Find without repairing", nullptr},
    {BLOCK_OPTIONS, GROUP_FILES, "Files:", "Files", nullptr},
    {BLOCK_OPTIONS, GROUP_PROGRAM, "Program:", "Program", nullptr},
    {BLOCK_PRESETS, 0, nullptr, "PRESETS",
     "Presets (--preset NAME), measured by bench/quality on recordings kept apart from those they were tuned on "
     "(the plug-in's own defaults repair hundreds of spots a minute that are no clicks):"},
    {BLOCK_PARAGRAPH, 0, nullptr, nullptr,
     "Each is also a settings file the plug-in takes as its Vantrope.ini: " VANTROPE_PRESET_DIR "/NAME.ini."},
    {BLOCK_PARAGRAPH, 0, nullptr, "SETTINGS",
     "vantrope settings prints where Vantrope.ini is and what it holds; --reset writes the defaults, --preset and "
     "--set new values. A run with --preset or --set leaves the saved settings alone unless --save-settings is "
     "given; a plain run keeps what its reviews change, as in an editor. Without --answers or --auto a person "
     "answers the reviews at the terminal; without one (and in a batch) they are answered as --auto would. "
     "Positions are counted as the plug-in's messages count them (frame + 1). Extreme settings cost time: with "
     "C1, D1 and C2 of 1 and StartOver on, nearly every sample is a candidate, and an automatic run takes up to "
     "half a second per second of audio (at most 33 passes)."},
    {BLOCK_PARAGRAPH, 0, nullptr, "EXIT STATUS",
     "Exit status: 0 when OUT was written (in a batch: every file); 1 when the plug-in refused or failed; 2 for "
     "bad usage, unreadable or unwritable files, too little memory; 128 + the signal when interrupted (130 for "
     "Ctrl-C). Unless it is 0, OUT is as it was."},
};

static const HelpBlock hostBlocks[] = {
    {BLOCK_LINES, 0, nullptr, nullptr, "usage: vantrope [options] IN OUT   (vantrope --help for the rest)\n"},
    {BLOCK_PARAGRAPH, 0, nullptr, "TESTING THE PLUG-IN",
     "The program is also a stand-in for the editor that loads the plug-in. These options present the "
     "plug-in as an editor would, for testing it, or serve the program itself:"},
    {BLOCK_OPTIONS, GROUP_HOST, nullptr, nullptr, nullptr},
    {BLOCK_SCRIPT, 0, nullptr, nullptr, nullptr},
    {BLOCK_KEYS, 0, nullptr, nullptr,
     "The settings keys (section Coeffs of Vantrope.ini), with the values a missing key loads as and the "
     "values --set takes:"},
    {BLOCK_PARAGRAPH, 0, nullptr, nullptr,
     "--start and --end select frames as the plug-in's selStart and selEnd count them; its messages name "
     "position selStart + index + 1."},
};

std::string wrapText(const std::string &text, const std::string &lead, size_t indent, size_t width)
{
    std::string out = lead, line = lead;
    size_t begin = 0;
    bool lineHasWord = false;
    while (begin < text.size()) {
        size_t end = text.find(' ', begin);
        if (end == std::string::npos)
            end = text.size();
        std::string word = text.substr(begin, end - begin);
        begin = end + 1;
        if (word.empty())
            continue;
        if (lineHasWord && line.size() + 1 + word.size() > width) {
            out += "\n" + std::string(indent, ' ');
            line = std::string(indent, ' ');
            lineHasWord = false;
        }
        std::string piece = (lineHasWord ? " " : "") + word;
        out += piece;
        line += piece;
        lineHasWord = true;
    }
    return out + "\n";
}

static std::string leftColumn(const OptionInfo &option)
{
    if (option.display)
        return option.display;
    return option.value ? std::string(option.name) + " " + option.value : option.name;
}

static std::string textOptions(int32_t group)
{
    int32_t count = 0;
    const OptionInfo *table = hostOptionTable(&count);
    std::string out;
    for (int32_t i = 0; i < count; i++) {
        if (table[i].group != group)
            continue;
        std::string left = "  " + leftColumn(table[i]);
        if (left.size() + 1 > OPTION_COLUMN)
            out += left + "\n" + wrapText(table[i].help, std::string(OPTION_COLUMN, ' '), OPTION_COLUMN, HELP_WIDTH);
        else
            out += wrapText(table[i].help, left + std::string(OPTION_COLUMN - left.size(), ' '), OPTION_COLUMN,
                            HELP_WIDTH);
    }
    return out;
}

static std::string textPresets()
{
    std::string out;
    for (const PresetFile *preset : presetsInHelpOrder()) {
        std::string name = std::string("  ") + preset->name;
        name.resize(OPTION_COLUMN - 11, ' ');
        out += wrapText(presetSummary(*preset) + " " + presetFigures(*preset), name, OPTION_COLUMN - 11, HELP_WIDTH);
    }
    return out;
}

static std::string keyRange(const SettingsKey &key)
{
    if (key.setHigh == 1)
        return "0 or 1";
    return std::to_string(key.setLow) + " to " + std::to_string(key.setHigh);
}

static std::string textKeys()
{
    std::string out;
    for (int32_t i = 0; i < SETTINGS_KEY_COUNT; i++) {
        const SettingsKey &k = settingsKey(i);
        std::string left = std::string("  ") + k.name + " (" + std::to_string(k.fallback) + "; " + keyRange(k) + ")";
        left.resize(left.size() + 1 < OPTION_COLUMN + 8 ? OPTION_COLUMN + 8 : left.size() + 1, ' ');
        out += wrapText(k.meaning, left, OPTION_COLUMN + 8, HELP_WIDTH);
    }
    return out;
}

static std::string renderText(const HelpBlock *blocks, size_t count)
{
    std::string out;
    for (size_t i = 0; i < count; i++) {
        const HelpBlock &b = blocks[i];
        bool spaced = b.kind == BLOCK_PRESETS || b.kind == BLOCK_SCRIPT || b.kind == BLOCK_KEYS ||
                      (b.kind == BLOCK_OPTIONS && b.group == GROUP_REPAIR) || (b.kind == BLOCK_PARAGRAPH && i > 1 &&
                                                                                 b.manHeading);
        if (spaced && !out.empty())
            out += "\n";
        if (b.heading)
            out += std::string(b.heading) + "\n";
        switch (b.kind) {
        case BLOCK_LINES: out += b.text; break;
        case BLOCK_PARAGRAPH: out += wrapText(b.text, "", 0, HELP_WIDTH); break;
        case BLOCK_OPTIONS: out += textOptions(b.group); break;
        case BLOCK_PRESETS: out += wrapText(b.text, "", 0, HELP_WIDTH) + textPresets(); break;
        case BLOCK_SCRIPT: out += reviewScriptSyntax(); break;
        case BLOCK_KEYS: out += wrapText(b.text, "", 0, HELP_WIDTH) + textKeys(); break;
        default: break;
        }
    }
    return out;
}

// ---- The manual page

// Text for roff: backslashes and hyphens escaped, a line that would start with a control character kept
// as text.
static std::string roff(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    std::string guarded;
    size_t begin = 0;
    while (begin < out.size()) {
        size_t end = out.find('\n', begin);
        std::string line = out.substr(begin, end == std::string::npos ? std::string::npos : end - begin + 1);
        if (!line.empty() && (line[0] == '.' || line[0] == '\''))
            guarded += "\\&";
        guarded += line;
        begin = end == std::string::npos ? out.size() : end + 1;
    }
    return guarded;
}

static std::string manOptions(int32_t group)
{
    int32_t count = 0;
    const OptionInfo *table = hostOptionTable(&count);
    std::string out;
    for (int32_t i = 0; i < count; i++)
        if (table[i].group == group)
            out += ".TP\n.B " + roff(leftColumn(table[i])) + "\n" + roff(table[i].help) + "\n";
    return out;
}

static std::string manPresets()
{
    std::string out;
    for (const PresetFile *preset : presetsInHelpOrder())
        out += ".TP\n.B " + roff(preset->name) + "\n" + roff(presetSummary(*preset)) + "\n" +
               roff(presetFigures(*preset)) + "\n";
    return out;
}

static std::string manKeys()
{
    std::string out;
    for (int32_t i = 0; i < SETTINGS_KEY_COUNT; i++) {
        const SettingsKey &k = settingsKey(i);
        out += ".TP\n.B " + roff(k.name) + "\n" + roff(std::string(k.meaning) + "; default " +
                                                      std::to_string(k.fallback) + ", --set takes " + keyRange(k)) + "\n";
    }
    return out;
}

// The usage lines without the word "usage:" and the indent that lines them up after it.
static std::string synopsisLines(const std::string &text)
{
    std::string out;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find('\n', begin);
        std::string line = text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
        if (line.compare(0, 7, "usage: ") == 0)
            line = line.substr(7);
        size_t first = line.find_first_not_of(' ');
        out += (first == std::string::npos ? "" : line.substr(first)) + "\n";
        begin = end == std::string::npos ? text.size() : end + 1;
    }
    return out;
}

static std::string renderMan(const HelpBlock *blocks, size_t count, bool first)
{
    std::string out;
    if (first)
        out = ".TH VANTROPE 1 \"\" \"vantrope " VANTROPE_VERSION "\" \"User Commands\"\n.SH NAME\n"
              "vantrope \\- repair the clicks in audio files with the Vantrope plug-in\n";
    for (size_t i = 0; i < count; i++) {
        const HelpBlock &b = blocks[i];
        if (b.kind == BLOCK_OPTIONS && b.group == GROUP_REPAIR)
            out += ".SH OPTIONS\n";
        if (b.manHeading)
            out += std::string(b.kind == BLOCK_OPTIONS ? ".SS " : ".SH ") + roff(b.manHeading) + "\n";
        switch (b.kind) {
        case BLOCK_LINES: out += ".nf\n" + roff(synopsisLines(b.text)) + ".fi\n"; break;
        case BLOCK_PARAGRAPH: out += ".PP\n" + roff(b.text) + "\n"; break;
        case BLOCK_OPTIONS: out += manOptions(b.group); break;
        case BLOCK_PRESETS: out += ".PP\n" + roff(b.text) + "\n" + manPresets(); break;
        case BLOCK_SCRIPT: out += ".PP\n.nf\n" + roff(reviewScriptSyntax()) + ".fi\n"; break;
        case BLOCK_KEYS: out += ".PP\n" + roff(b.text) + "\n" + manKeys(); break;
        default: break;
        }
    }
    return out;
}

// ---- The bash completion

static std::string completionWords(int32_t kind)
{
    int32_t count = 0;
    const OptionInfo *table = hostOptionTable(&count);
    std::string words;
    for (int32_t i = 0; i < count; i++)
        if (kind < 0 || table[i].valueKind == kind)
            words += (words.empty() ? "" : (kind < 0 ? " " : "|")) + std::string(table[i].name);
    return words;
}

static std::string renderCompletion()
{
    std::string presets, keys;
    for (int32_t i = 0; i < presetFileCount; i++)
        presets += (i ? " " : "") + std::string(presetFiles[i].name);
    for (int32_t i = 0; i < SETTINGS_KEY_COUNT; i++)
        keys += (i ? " " : "") + std::string(settingsKey(i).name) + "=";
    return "# bash completion for vantrope (made by vantrope --bash-completion)\n"
           "_vantrope()\n{\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    case $prev in\n"
           "        --preset) COMPREPLY=($(compgen -W \"" + presets + "\" -- \"$cur\")); return ;;\n"
           "        --set) compopt -o nospace 2>/dev/null; COMPREPLY=($(compgen -W \"" + keys + "\" -- \"$cur\")); return ;;\n"
           "        " + completionWords(VALUE_DIR) + ") COMPREPLY=($(compgen -d -- \"$cur\")); return ;;\n"
           "        " + completionWords(VALUE_FILE) + ") COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"
           "        " + completionWords(VALUE_TEXT) + ") return ;;\n"
           "    esac\n"
           "    if [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"" + completionWords(-1) + "\" -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    COMPREPLY=($(compgen -f -- \"$cur\"))\n"
           "    [ \"$COMP_CWORD\" = 1 ] && COMPREPLY+=($(compgen -W settings -- \"$cur\"))\n"
           "}\n"
           "complete -o filenames -F _vantrope vantrope\n";
}

const std::string &hostHelpText(int32_t which)
{
    static std::string texts[5];
    std::string &text = texts[which >= 0 && which < 5 ? which : 0];
    if (!text.empty())
        return text;
    const size_t users = sizeof userBlocks / sizeof userBlocks[0], hosts = sizeof hostBlocks / sizeof hostBlocks[0];
    switch (which) {
    case HELP_HOST: text = renderText(hostBlocks, hosts); break;
    case HELP_VERSION: text = "vantrope " VANTROPE_VERSION "\n"; break;
    case HELP_MAN:
        text = renderMan(userBlocks, users, true) + renderMan(hostBlocks + 1, hosts - 1, false) +
               ".SH FILES\n.TP\n.I ~/.config/vantrope/Vantrope.ini\nthe saved settings ($XDG_CONFIG_HOME/vantrope when "
               "set)\n.TP\n.I " + roff(VANTROPE_PRESET_DIR) + "\nthe presets as settings files\n.SH SEE ALSO\n"
               ".BR sox (1),\n.BR ffmpeg (1)\n";
        break;
    case HELP_COMPLETION: text = renderCompletion(); break;
    default: text = renderText(userBlocks, users); break;
    }
    return text;
}
