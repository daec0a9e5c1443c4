// The settings of a run, each one a command-line option (--NAME VALUE) and a
// script line (option NAME VALUE) alike. What the command line gives wins
// over what the script says, so a runner can still decide for every script.
#pragma once

#include <set>
#include <string>

namespace anehost {

struct Options;
struct Script;

// Whether the setting NAME takes a value (a flag takes none on the command
// line, and "on" or "off" in a script).
bool optionKnown(const std::string& name, bool* takesValue);

// Sets one setting from its text. A relative folder is taken from base.
// False with a message when the name is unknown or the value does not fit.
bool setOption(const std::string& name, const std::string& value, const std::string& base, Options* options,
               std::string* error);

// Applies the script's `option` lines, but not to the settings the command
// line gave (Options::fromCommandLine). Relative folders are taken from the
// script's folder.
bool applyScriptOptions(const Script& script, Options* options, std::string* error);

// The names of every setting, for messages: "out, ansi-codepage, ...".
std::string optionNames();

}  // namespace anehost
