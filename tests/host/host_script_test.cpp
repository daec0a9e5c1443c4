// The script as anehost reads it: each command word into its own record, the
// operands named; the messages of lines that cannot be read; and the lines a
// run names when a step fails.
#include <gtest/gtest.h>

#include <string>

#include "host_run.h"
#include "script.h"

namespace {

using namespace host_test;
using anehost::Command;
namespace cmd = anehost::cmd;

// The commands of a script that must read; the `extension` line comes first.
std::vector<Command> commandsOf(const std::string& lines) {
  anehost::Script script;
  std::string error;
  EXPECT_TRUE(anehost::parseScript("extension Brisora\n" + lines, &script, &error)) << error;
  return script.commands;
}

// The message of a script that must not read.
std::string errorOf(const std::string& text) {
  anehost::Script script;
  std::string error;
  EXPECT_FALSE(anehost::parseScript(text, &script, &error)) << text;
  return error;
}

template <typename T>
const T& as(const Command& c) {
  static const T none{};
  const T* t = std::get_if<T>(&c.action);
  EXPECT_TRUE(t) << "line " << c.line << " (" << c.source << ") is read as another command";
  return t ? *t : none;
}

TEST(HostScriptReading, TheWordsBeforeATextSayHowItIsCompared) {
  using Match = cmd::ExpectConsole::Match;
  using When = cmd::ExpectSdk::When;
  const auto c = commandsOf(
      "expect console contains\n"            // 2: the word alone is the text
      "expect console contains \"x\"\n"      // 3
      "expect console matching \"a*\"\n"     // 4
      "expect console exactly \"\"\n"        // 5
      "expect no sdk\n"                      // 6: nothing more at all
      "expect no sdk f(1, \"a b\")\n"        // 7: none of these calls
      "expect sdk later enterRoom(...)\n"    // 8
      "expect sdk init\n");                  // 9
  ASSERT_EQ(c.size(), 9u);
  EXPECT_EQ(as<cmd::ExpectConsole>(c[1]).match, Match::Line);
  EXPECT_EQ(as<cmd::ExpectConsole>(c[1]).text, "contains");
  EXPECT_EQ(as<cmd::ExpectConsole>(c[2]).match, Match::Containing);
  EXPECT_EQ(as<cmd::ExpectConsole>(c[2]).text, "x");
  EXPECT_EQ(as<cmd::ExpectConsole>(c[3]).match, Match::Pattern);
  EXPECT_EQ(as<cmd::ExpectConsole>(c[4]).match, Match::Exactly);
  EXPECT_EQ(as<cmd::ExpectConsole>(c[4]).text, "");
  EXPECT_EQ(as<cmd::ExpectNothing>(c[5]).of, cmd::ExpectNothing::Of::Sdk);
  EXPECT_EQ(as<cmd::ExpectSdk>(c[6]).when, When::Never);
  EXPECT_EQ(as<cmd::ExpectSdk>(c[6]).call, "f(1, \"a b\")");
  EXPECT_EQ(as<cmd::ExpectSdk>(c[7]).when, When::Later);
  EXPECT_EQ(as<cmd::ExpectSdk>(c[7]).call, "enterRoom(...)");
  EXPECT_EQ(as<cmd::ExpectSdk>(c[8]).when, When::Next);
  EXPECT_EQ(c[8].line, 9);
  EXPECT_EQ(c[8].source, "expect sdk init");
}

TEST(HostScriptReading, SizesOffsetsAndBindingsLandInTheirOwnFields) {
  const auto c = commandsOf(
      "let r = call getVersion 1, \"two\"\n"            // 2
      "let s = sdk picture fillExternalCaptureFrame\n"  // 3
      "save r 2x3 \"f.png\"\n"                          // 4
      "save s \"raw.bin\"\n"                            // 5
      "expect bytes r at 4 repeat hex \"00 ff\"\n"      // 6
      "expect bytes r fill 2 1 0xFF0000FF\n"            // 7
      "expect size r 640x360\n"                         // 8
      "expect size r 12\n"                              // 9
      "expect pixel s 4 2 at 3, 1 0xFF102030 within 2\n"  // 10
      "wait event video \"u1\"\n"                       // 11
      "expect late events 2\n"                          // 12
      "library remove LiteAV/liteav.dll getTRTCShareInstance\n");  // 13
  ASSERT_EQ(c.size(), 13u);
  const auto& call = as<cmd::Call>(c[1]);
  EXPECT_EQ(call.function, "getVersion");
  EXPECT_EQ(call.bind, "r");
  ASSERT_EQ(call.args.size(), 2u);
  EXPECT_EQ(call.args[1].text, "two");
  EXPECT_EQ(as<cmd::LetReceived>(c[2]).name, "s");
  EXPECT_EQ(as<cmd::LetReceived>(c[2]).operation, "fillExternalCaptureFrame");
  EXPECT_TRUE(as<cmd::LetReceived>(c[2]).picture);
  const auto& picture = as<cmd::Save>(c[3]);
  EXPECT_TRUE(picture.size.given);
  EXPECT_EQ(picture.size.width * 10 + picture.size.height, 23u);
  EXPECT_EQ(picture.file, "f.png");
  EXPECT_FALSE(as<cmd::Save>(c[4]).size.given);
  const auto& run = as<cmd::ExpectBytes>(c[5]);
  EXPECT_TRUE(run.hasOffset && run.repeated && !run.fill);
  EXPECT_EQ(run.offset, 4u);
  EXPECT_EQ(run.contents.data, std::string("\x00\xff", 2));
  const auto& fill = as<cmd::ExpectBytes>(c[6]);
  EXPECT_TRUE(fill.fill && !fill.hasOffset && !fill.repeated);
  EXPECT_EQ(fill.contents.width * 10 + fill.contents.height, 21u);
  EXPECT_EQ(fill.contents.colour, 0xFF0000FFu);
  EXPECT_TRUE(as<cmd::ExpectSize>(c[7]).size.given);
  EXPECT_EQ(as<cmd::ExpectSize>(c[7]).size.height, 360u);
  EXPECT_FALSE(as<cmd::ExpectSize>(c[8]).size.given);
  EXPECT_EQ(as<cmd::ExpectSize>(c[8]).length, 12u);
  const auto& pixel = as<cmd::ExpectPixel>(c[9]);
  EXPECT_EQ(pixel.size.width * 1000 + pixel.size.height * 100 + pixel.x * 10 + pixel.y, 4231u);
  EXPECT_EQ(pixel.colour, 0xFF102030u);
  EXPECT_EQ(pixel.tolerance, 2u);
  EXPECT_EQ(as<cmd::WaitEvent>(c[10]).event.code, "video");
  EXPECT_TRUE(as<cmd::WaitEvent>(c[10]).event.hasLevel);
  EXPECT_EQ(as<cmd::WaitEvent>(c[10]).event.level, "u1");
  EXPECT_EQ(as<cmd::ExpectCount>(c[11]).of, cmd::ExpectCount::Of::LateEvents);
  EXPECT_EQ(as<cmd::ExpectCount>(c[11]).count, 2u);
  const auto& library = as<cmd::Library>(c[12]);
  EXPECT_TRUE(library.remove);
  EXPECT_EQ(library.path, "LiteAV/liteav.dll");
  EXPECT_EQ(library.exportName, "getTRTCShareInstance");
}

TEST(HostScriptReading, WhatMayComeBeforeTheExtensionAndWhatMayNot) {
  // option, print and ignore may come first; anything else, a word the
  // language does not know included, needs the extension named.
  anehost::Script script;
  std::string error;
  EXPECT_TRUE(anehost::parseScript("option timeout 10\nprint hello there\nignore event video\nextension Brisora\n",
                                   &script, &error))
      << error;
  ASSERT_EQ(script.commands.size(), 4u);
  EXPECT_EQ(as<cmd::Option>(script.commands[0]).value, "10");
  EXPECT_EQ(as<cmd::Print>(script.commands[1]).text, "hello there");
  EXPECT_EQ(as<cmd::Ignore>(script.commands[2]).what, cmd::Ignore::What::Event);
  EXPECT_EQ(as<cmd::Extension>(script.commands[3]).extension, "Brisora");

  EXPECT_EQ(errorOf("frobnicate 1\nextension Brisora\n"),
            "line 1: the script must name its extension first ('extension ID')");
  EXPECT_EQ(errorOf("# a comment\nextension Brisora\nfrobnicate 1\n"),
            "line 3: unknown command 'frobnicate' (option, extension, call, let, expect, wait, sdk, library, save, "
            "ignore, print, context, finalize, repeat)");
  EXPECT_EQ(errorOf("extension Brisora\n\"quoted\"\n"),
            "line 2: unknown command 'quoted' (option, extension, call, let, expect, wait, sdk, library, save, "
            "ignore, print, context, finalize, repeat)");
  EXPECT_EQ(errorOf("extension Brisora\noption utf8\n"), "line 2: options come before the 'extension' line");
  EXPECT_EQ(errorOf("extension Brisora\nextension Tamvex\n"), "line 2: a script loads one extension");
  EXPECT_EQ(errorOf("print a\n\n"), "line 2: the script names no extension ('extension ID')");
  EXPECT_EQ(errorOf(""), "line 1: the script names no extension ('extension ID')");
  // A name is bound from the line after its let on.
  EXPECT_EQ(errorOf("extension Brisora\nlet x = call getVersion x\n"), "line 2: 'x' is not bound by an earlier let");
  EXPECT_EQ(errorOf("extension Brisora\nrepeat 2 {\nlet y = 1\nexpect size z 4\n}\n"),
            "line 4: 'z' is not bound by an earlier let");
}

// A save that cannot write its file is an error of that save line, as every
// other error of a script line is.
TEST(HostScriptErrors, ASaveThatCannotWriteNamesItsLine) {
  // A file stands where the folder would have to be.
  const std::string blocked = HOST_SCRIPTS_DIR "/echo.xml/";
  const HostRun bytes = runScript(kEcho + "let b = bytes(\"abc\")\nsave b \"" + blocked + "out.bin\"\n");
  EXPECT_EQ(bytes.status, 2) << bytes.out << bytes.err;
  EXPECT_NE(bytes.out.find("    ERROR: line 3: cannot write " + blocked + "out.bin\n"), std::string::npos) << bytes.out;
  EXPECT_NE(bytes.err.find("anehost: line 3: cannot write "), std::string::npos) << bytes.err;

  const HostRun png = runScript(kEcho + "let p = bitmap(2, 2)\n\nsave p \"" + blocked + "out.png\"\n");
  EXPECT_EQ(png.status, 2) << png.out << png.err;
  EXPECT_NE(png.out.find("    ERROR: line 4: cannot write " + blocked + "out.png"), std::string::npos) << png.out;
}

// With --keep-going a failed step still ends under its own line: a call the
// script forbade (`expect no sdk CALL`) is forbidden to the end of the next
// step, a failed one included, and no further.
TEST(HostKeepGoing, AFailedStepEndsAndAForbiddenCallIsForbiddenNoLonger) {
  const HostRun r = runScript(
      "option keep-going\n"
      "option timeout 0\n"
      "extension Brisora\n"
      "call initILiveSdk 1400012345 12345 0 0\n"
      "expect sdk later init\n"
      "expect no sdk init\n"                          // line 6: through the end of line 7
      "expect event never\n"                          // line 7: fails
      "call initILiveSdk 1400012345 12345 0 0\n");    // line 8: calls init again, as it may
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  EXPECT_NE(r.out.find("    FAILED line 7: expected event \"never\", no event arrived within 0 ms\n"), std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("FAILED line 8"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\n1 expectation(s) failed\n"), std::string::npos) << r.out;
}

}  // namespace
