// The host tool's pieces on their own: extension descriptors (the two we ship
// among them) and the quoting that makes texts unambiguous.
#include <gtest/gtest.h>

#include <string>

#include "call_lines.h"
#include "descriptor.h"
#include "text.h"

namespace {

using anehost::Descriptor;

TEST(HostDescriptor, ShippedDescriptorsNameTheEntryPointsOfEachLibrary) {
  struct Shipped {
    const char* file;
    const char* id;
    const char* library;
    const char* initializer;
    const char* finalizer;
  };
  const Shipped shipped[] = {
      {"/ilive/extension.xml", "com.airrtc.Brisora", "Brisora.dll", "ANEWinExtInitializer", "ANEWinExtFinalizer"},
      {"/trtc/extension.xml", "com.airrtc.Tamvex", "Tamvex.dll", "ANEWinRTCExtInitializer", "ANEWinRTCExtFinalizer"},
  };
  for (const auto& s : shipped) {
    Descriptor d;
    std::string error;
    ASSERT_TRUE(anehost::readDescriptorFile(std::string(HOST_SOURCE_DIR) + s.file, "Windows-x86", &d, &error)) << error;
    EXPECT_EQ(d.id, s.id);
    EXPECT_FALSE(d.versionNumber.empty());
    EXPECT_EQ(d.nativeLibrary, s.library);
    EXPECT_EQ(d.initializer, s.initializer);
    EXPECT_EQ(d.finalizer, s.finalizer);
  }
}

TEST(HostDescriptor, ReadsThePlatformAskedForThroughEntitiesCommentsAndCdata) {
  const std::string xml = R"(<?xml version="1.0"?>
<!-- a comment <id>not this</id> -->
<ane:extension xmlns:ane="http://ns.adobe.com/air/extension/3.1">
  <ane:id>com.example.A&amp;B</ane:id>
  <versionNumber>2.0.1</versionNumber>
  <platforms>
    <platform name="MacOS-x86"><applicationDeployment><nativeLibrary>A.framework</nativeLibrary>
      <initializer>MacInit</initializer></applicationDeployment></platform>
    <platform name='Windows-x86'>
      <applicationDeployment>
        <nativeLibrary> A&#66;.dll </nativeLibrary>
        <initializer><![CDATA[Init<1>]]></initializer>
        <finalizer/>
      </applicationDeployment>
    </platform>
  </platforms>
</ane:extension>)";
  Descriptor d;
  std::string error;
  ASSERT_TRUE(anehost::parseDescriptor(xml, "Windows-x86", &d, &error)) << error;
  EXPECT_EQ(d.id, "com.example.A&B");
  EXPECT_EQ(d.nativeLibrary, "AB.dll");
  EXPECT_EQ(d.initializer, "Init<1>");
  EXPECT_EQ(d.finalizer, "");
}

TEST(HostDescriptor, RefusesBrokenOrIncompleteDescriptorsWithAReason) {
  const char* broken[] = {
      "",
      "<extension><id>x</id>",                                      // not closed
      "<extension><id>x</ID></extension>",                           // mismatched tag
      "<extension><id>x&nbsp;</id></extension>",                     // unknown entity
      "<extension><id>x</id></extension><more/>",                    // text after the root
      "<other><id>x</id></other>",                                   // not a descriptor
      "<extension><platforms/></extension>",                         // no id
      "<extension><id>x</id><platforms><platform name=\"Windows-x86\"/></platforms></extension>",
      "<extension><id>x</id><platforms><platform name=\"Windows-x86\"><applicationDeployment>"
      "<nativeLibrary>x.dll</nativeLibrary></applicationDeployment></platform></platforms></extension>",  // no initializer
      "<extension><id>x</id><platforms><platform name=\"Windows-x86\"><applicationDeployment>"
      "<nativeLibrary>x.dll</nativeLibrary><initializer>I</initializer></applicationDeployment></platform>"
      "</platforms></extension>\x01<!--",
  };
  for (const char* xml : broken) {
    Descriptor d;
    std::string error;
    EXPECT_FALSE(anehost::parseDescriptor(xml, "Windows-x86", &d, &error)) << xml;
    EXPECT_FALSE(error.empty()) << xml;
  }
  std::string deep;
  for (int i = 0; i < 10000; ++i) deep += "<a>";
  Descriptor d;
  std::string error;
  EXPECT_FALSE(anehost::parseDescriptor("<extension>" + deep, "Windows-x86", &d, &error));
}

TEST(HostText, QuotedTextsReadBackToTheSameBytes) {
  std::string every;
  for (int b = 0; b < 256; ++b) every.push_back(static_cast<char>(b));
  const std::string samples[] = {
      every,
      "plain",
      "a||b",
      "\xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80",  // two CJK characters and one beyond the BMP
      "\xC0\x80 \xED\xA0\x80 \xE4\xB8",              // overlong, surrogate, truncated
      "\\x41",                                       // a backslash followed by what looks like an escape
      std::string("nul\0inside", 10),
  };
  for (const auto& s : samples) {
    for (int form = 0; form < 4; ++form) {
      const bool raw = form & 1;
      const std::string quoted = form < 2 ? anehost::quote(s, raw) : anehost::quoteBytes(s, raw);
      ASSERT_GE(quoted.size(), 2u);
      EXPECT_EQ(quoted.front(), '"');
      EXPECT_EQ(quoted.back(), '"');
      EXPECT_EQ(quoted.find('\n'), std::string::npos);
      std::string back, error;
      ASSERT_TRUE(anehost::unescape(quoted.substr(1, quoted.size() - 2), &back, &error)) << quoted << error;
      EXPECT_EQ(back, s) << quoted;
    }
  }
  EXPECT_EQ(anehost::quote("\xE4\xB8\xAD\xFF"), "\"\\u4E2D\\xFF\"");
  EXPECT_EQ(anehost::quote("\xF0\x9F\x98\x80"), "\"\\U0001F600\"");
  // Bytes of no known encoding: every byte that is not ASCII is \xNN.
  EXPECT_EQ(anehost::quoteBytes("\xE4\xB8\xAD\xFF a"), "\"\\xE4\\xB8\\xAD\\xFF a\"");
  EXPECT_EQ(anehost::quoteBytes("\xE4\xB8\xAD\xFF", true), "\"\xE4\xB8\xAD\\xFF\"");
}

TEST(HostCallLines, PatternsMatchPieceByPieceWithWildcards) {
  struct Case {
    const char* pattern;
    const char* call;
    bool matches;
  };
  const Case cases[] = {
      {"login", "login(\"u\", 1)", true},
      {"log", "login(\"u\", 1)", false},
      {"login(\"u\",1)", "login(\"u\", 1)", true},          // blanks do not matter
      {"login(\"u\", 1)", "login(\"u \", 1)", false},       // inside texts they do
      {"f(A | B)", "f(A|B)", true},                         // nor between words
      {"f(A | C)", "f(A|B)", false},
      {"login(\"\\x75\", ...)", "login(\"u\", 1)", true},  // texts compare by bytes
      {"login(...)", "login()", true},
      {"login(..., 1)", "login(\"u\", 1)", true},
      {"login(..., 2)", "login(\"u\", 1)", false},
      {"f({1, ...}, 0)", "f({1, 2, 3}, 0)", true},
      {"f({1, ...}, 0)", "f({1, 2, 3}, 1)", false},
      {"List*.get(0)", "List12.get(0)", true},
      {"List*.get(0)", "List1.put(0)", false},
      {"*", "anything(1)", true},
      {"f(\"*\")", "f(\"x\")", false},                      // no wildcard inside a text
      {"f(\"*\")", "f(\"*\")", true},
  };
  for (const Case& c : cases) EXPECT_EQ(anehost::callMatches(c.pattern, c.call), c.matches) << c.pattern << " ~ " << c.call;
  EXPECT_EQ(anehost::callLineText("f(\"\\xca\\xa7\", <4 bytes>)", false), "f(\"\\xCA\\xA7\", <4 bytes>)");
}

}  // namespace
