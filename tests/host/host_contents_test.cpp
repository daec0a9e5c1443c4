// Values with contents, run as a program: ByteArrays and BitmapDatas made from
// bytes, files, fill colours and PNG pictures, and the checks of their bytes,
// pixels and whole pictures.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "host_run.h"

namespace {

using namespace host_test;

const fs::path kFolder = fs::path(HOST_OUT_DIR) / "contents";

// A script in kFolder, so that relative file names are found there.
HostRun runHere(const std::string& body, const std::string& options = "") {
  return runScript(kEcho + body, "--out " + arg(kFolder.string()) + " " + options, kFolder);
}

TEST(HostContents, ByteArraysHoldWhatTheScriptGives) {
  fs::create_directories(kFolder);
  std::ofstream(kFolder / "data.bin", std::ios::binary) << std::string("\x01\x02\x00\xFE", 4);
  const HostRun r = runHere(R"(
let a = bytes(hex "00 01 ff")
expect size a 3
expect bytes a hex "0001FF"
expect bytes a at 1 hex "01 ff"
expect bytes a "\x00\x01\xFF"
expect bytes a at 3 ""
let t = bytes("ab\u4E2D")
expect bytes t hex "61 62 e4 b8 ad"
let f = bytes(file "data.bin")
expect bytes f file "data.bin"
expect bytes f at 2 hex "00 fe"
let c = bytes(2, 1, 0x80102030)
expect bytes c hex "30 20 10 80 30 20 10 80"
expect pixel c 2x1 at 1 0 0x80102030
call echo a
)");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("> let f = bytes(file \"data.bin\")\n    value    ByteArray(4 bytes)\n"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("    result   ByteArray(3 bytes)\n"), std::string::npos) << "the same object reaches the call";
}

TEST(HostContents, ByteChecksSayWhereTheBytesDiffer) {
  struct Case {
    const char* check;
    const char* seen;
  };
  const Case cases[] = {
      {"expect bytes a hex \"00 02 ff\"", "a differs at byte 1: from there it holds hex \"01 ff\", expected hex \"02 ff\""},
      {"expect bytes a hex \"00 01\"", "a holds 3 bytes, expected 2: hex \"00 01\""},
      {"expect bytes a at 2 hex \"ff 00\"", "a holds 3 bytes, too few for 2 at offset 2"},
      {"expect bytes a at 4 \"\"", "a holds 3 bytes, too few for 0 at offset 4"},
      {"expect pixel c 2x1 at 0 0 0x80102031", "the pixel of c at (0, 0) is 0x80102030, expected 0x80102031"},
      {"expect pixel c 2x1 at 2 0 0", "(2, 0) lies outside c (2x1)"},
      {"expect pixel c 1x1 at 0 0 0", "c holds 8 bytes, not 1 x 1 x 4 = 4"},
      {"expect bytes n hex \"00\"", "n is 5, not a ByteArray"},
  };
  for (const Case& c : cases) {
    const HostRun r = runHere(std::string("let a = bytes(hex \"00 01 ff\")\nlet c = bytes(2, 1, 0x80102030)\nlet n = 5\n") +
                              c.check + "\n");
    EXPECT_EQ(r.status, 1) << c.check << r.out << r.err;
    EXPECT_NE(r.out.find(std::string("FAILED line 5: ") + c.seen), std::string::npos) << c.check << r.out;
  }
  // Within a tolerance per channel.
  EXPECT_EQ(runHere("let c = bytes(1, 1, 0x80102030)\nexpect pixel c 1x1 at 0 0 0x7F111F31 within 1\n").status, 0);
  EXPECT_EQ(runHere("let c = bytes(1, 1, 0x80102030)\nexpect pixel c 1x1 at 0 0 0x7F111E31 within 1\n").status, 1);
}

TEST(HostContents, PixelsOfBitmapsAndFramesReadTheSameInBothRowLayouts) {
  for (const std::string options : {"", "--inverted-bitmaps"}) {
    const HostRun r = runHere(R"(
let m = bitmap(3, 2)
expect pixel m at 2 1 0xFFFFFFFF
call paint m
expect pixel m at 0 0 0xFFFF0000
expect pixel m at 1 0 0xFF00FF00
expect pixel m at 0 1 0xFF0000FF
expect pixel m 3x2 at 2 0 0xFFFFFFFF
let o = bitmap(2, 2, false, 0x00112233)
expect pixel o at 1 1 0xFF112233
let t = bitmap(2, 2, true, 0x80FF0000)
expect pixel t at 1 1 0x80FF0000
let b = bytes(0)
call fill b
expect pixel b 2x2 at 1 0 0xFF00FF00
expect pixel b 2 2 at 0 1 0xFF0000FF
)",
                              options);
    EXPECT_EQ(r.status, 0) << options << r.out << r.err;
  }
}

TEST(HostContents, PicturesComeFromAndCompareWithPngFiles) {
  fs::create_directories(kFolder);
  fs::remove(kFolder / "painted.png");
  const HostRun made = runHere("let p = call picture\nsave p painted.png\n");
  ASSERT_EQ(made.status, 0) << made.out << made.err;
  const HostRun r = runHere(R"(
let q = bitmap(png "painted.png")
expect size q 2 2
expect pixel q at 1 0 0xFF00FF00
expect picture q painted.png
let p = call picture
expect picture p painted.png
let b = bytes(0)
call fill b
expect picture b painted.png
expect picture b 2x2 painted.png
let r = bytes(png "painted.png")
expect bytes r file "painted.png"
)");
  EXPECT_EQ(r.status, 1) << r.out << r.err;  // the last line: a PNG file is not its pixels
  EXPECT_NE(r.out.find("> let q = bitmap(png \"painted.png\")\n    value    BitmapData(2x2)\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("FAILED line 14: r holds 16 bytes, expected"), std::string::npos) << r.out;

  const HostRun differ = runHere("let m = bitmap(2, 2, true, 0xFFFF0000)\nexpect picture m painted.png\n");
  EXPECT_EQ(differ.status, 1);
  EXPECT_NE(differ.out.find("3 of 4 pixels of m differ from painted.png; the first at (1, 0) is 0xFFFF0000, "
                            "expected 0xFF00FF00"),
            std::string::npos)
      << differ.out;
  const HostRun size = runHere("let m = bitmap(3, 2)\nexpect picture m painted.png\n");
  EXPECT_NE(size.out.find("m is 3x2, painted.png is 2x2"), std::string::npos) << size.out;
}

TEST(HostContents, AFrameOfAnyLengthCanBeSaved) {
  const fs::path out = kFolder / "odd.png";
  fs::remove(out);
  // Six bytes: one whole BGRA pixel (red) and half of the next (blue 00, green ff).
  const HostRun r = runHere("let odd = bytes(hex \"00 00 ff ff 00 ff\")\nsave odd 2 1 odd.png\nsave odd odd.bin\n");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("    warning  odd holds 6 bytes, not 2 x 1 x 4 = 8: the missing bytes are transparent black\n"),
            std::string::npos)
      << r.out;
  Png png;
  ASSERT_TRUE(readPng(out, &png));
  EXPECT_EQ(png.width, 2u);
  EXPECT_EQ(png.at(0, 0), 0xFF0000FFu);
  EXPECT_EQ(png.at(1, 0), 0x00FF0000u);
  EXPECT_EQ(readFile(kFolder / "odd.bin"), std::string("\x00\x00\xFF\xFF\x00\xFF", 6));
}

TEST(HostContents, MalformedContentsAreScriptErrors) {
  const char* parsed[] = {
      "let a = bytes(hex \"0g\")\n",       "let a = bytes(hex \"abc\")\n",     "let a = bitmap(2, 2, maybe)\n",
      "let a = bytes(png)\n",              "let a = bytes(2, 2)\n",            "let a = bytes(1)\nexpect bytes a\n",
      "let a = bytes(1)\nexpect pixel a at 1\n", "let a = bytes(1)\nexpect pixel a 2x2 0 0 0\n",
      "let a = bytes(65535, 65535, 0)\n",  "let a = bitmap(png \"x.png\", 2)\n",
  };
  for (const char* body : parsed) {
    const HostRun r = runHere(body);
    EXPECT_EQ(r.status, 2) << body << r.out;
    EXPECT_EQ(r.out.find("HostEcho"), std::string::npos) << "refused before anything runs: " << body;
  }
  const char* atRunTime[] = {
      "let a = bytes(file \"no-such.bin\")\n",
      "let a = bitmap(png \"no-such.png\")\n",
      "let a = bitmap(2, 2)\nexpect picture a no-such.png\n",
      "let a = bytes(4)\nexpect pixel a at 0 0 0\n",  // a ByteArray needs its size
  };
  for (const char* body : atRunTime) {
    const HostRun r = runHere(body);
    EXPECT_EQ(r.status, 2) << body << r.out << r.err;
  }
  std::ofstream(kFolder / "not-a-picture.png", std::ios::binary) << "text";
  EXPECT_EQ(runHere("let a = bitmap(png \"not-a-picture.png\")\n").status, 2);
}

}  // namespace
