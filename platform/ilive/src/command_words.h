// The words of the stand-in's command lines, shared by the files that read
// commands: commands.cpp (answers, completions, notifications) and
// media_commands.cpp (frames, statistics, audio).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ilive/sdk/ilive.h"
#include "ilive_standin/standin.h"

namespace ilive::standin {

// Sets *error (when given) and gives false.
bool fail(std::string* error, const std::string& message);
// Splits at blanks outside double quotes; quotes are kept.
bool split(const std::string& line, std::vector<std::string>* words, std::string* error);
// A quoted text with C escapes, or a bare word.
bool unquote(const std::string& s, std::string* out, std::string* error);
// "a","b" (quoted texts separated by commas) or bare words separated by commas.
bool textList(const std::string& s, std::vector<std::string>* out, std::string* error);
// Decimal, or hexadecimal after 0x.
bool number(const std::string& s, int64_t* out);
bool numberList(const std::string& s, std::vector<int64_t>* out);
// key=value options after the fixed words; the other words go to rest.
bool options(const std::vector<std::string>& words, size_t from, std::map<std::string, std::string>* opts,
             std::vector<std::string>* rest);
// The option's number, when it is there.
bool intOption(const std::map<std::string, std::string>& opts, const char* key, int64_t* out, std::string* error);
// False with "no WHAT handler is installed" when nothing was delivered.
bool needHandler(bool delivered, const char* what, std::string* error);

// The verbs of media_commands.cpp: frame, stats, audio.
void addMediaVerbs(std::map<std::string, Verb>& verbs);

// stats FIELD=VALUE: sets a field of the record by the name the quality
// report prints it with ("exeCpuRate", "networkParams.rtt",
// "videoDecodeParams.userId"); a list field takes one value for every element
// or one value an element. False with *error for an unknown field or a bad value.
bool setStatisticsField(Statistics& stats, const std::string& name, const std::vector<std::string>& values,
                        std::string* error);
// The names of the record's lists ("videoDecodeParams", ...), and the first
// count elements of one kept (a list no longer than count stays as it is).
const std::vector<std::string>& statisticsLists();
void keepFirstElements(Statistics& stats, const std::string& list, uint32_t count);
// Whether the field lies in one of the record's lists.
bool isStatisticsListField(const std::string& name);

}  // namespace ilive::standin
