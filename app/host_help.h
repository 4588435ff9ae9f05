// The host program's texts made from the option table (host_options.h), the built-in presets and a
// few paragraphs: --help, --help-host, --version, the manual page and the bash completion script.
// Pure; the composed texts are kept once made (module state, never freed).
#pragma once
#include <string>

// The text for a HelpText value (host_options.h): plain text for the terminal, roff for HELP_MAN, a
// bash script for HELP_COMPLETION.
const std::string &hostHelpText(int32_t which);

// Wraps text into lines of at most width columns (longer words stand alone): the first line starts
// with lead, the others with indent blanks; every line ends with '\n'.
std::string wrapText(const std::string &text, const std::string &lead, size_t indent, size_t width);
