// Video frames: routing by member events and source kinds, the stored pixels,
// and the functions that pull them.
#include <cstdlib>

#include "brisora_session.h"

namespace brisora_test {
namespace {

using ilive::SdkString;
using ilive::VideoFrame;

class BrisoraFrames : public BrisoraInRoom {
 protected:
  static VideoFrame frame(const std::string& user, int32_t kind, int32_t format, uint32_t w, uint32_t h,
                          std::vector<uint8_t>& data) {
    VideoFrame f;
    f.identifier = SdkString(user.c_str());
    f.colorFormat = format;
    f.width = w;
    f.height = h;
    f.sourceKind = kind;
    f.data = data.data();
    f.dataSize = static_cast<uint32_t>(data.size());
    return f;
  }

  std::vector<uint8_t> pull(const std::string& user, int32_t kind, const char* function = "getVideoData") {
    auto ba = std::make_shared<air::ByteArray>();
    ba->bytes = {9, 9, 9};
    EXPECT_TRUE(isNull(call(function, {ba, user, kind})));
    return ba->bytes;
  }

  void announce(const std::string& user) {
    sdk("member 3 \"" + user + "\"");
    EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("addvideo", user + "||1")});
  }
};

TEST_F(BrisoraFrames, RemoteCameraFramesAreStoredOnlyAfterTheCameraWasAnnounced) {
  sdk("frame remote \"u1\" kind=1 format=rgb24 320x240");
  EXPECT_EQ(events(), std::vector<air::Event>{event("ilivesdk_error", "u1||1||not find videoRander and doRender")});
  EXPECT_EQ("\nOnRemoteVideo = u1  === 1", console());

  announce("u1");
  EXPECT_TRUE(pull("u1", 1).empty());  // found before any frame: a fresh renderer holds nothing
  EXPECT_TRUE(events().empty());

  sdk("frame remote \"u1\" kind=1 format=rgb24 320x240");
  EXPECT_EQ(events(), std::vector<air::Event>{event("video", "u1||320||240||0||0||1")});
  EXPECT_EQ(320u * 240 * 4, pull("u1", 1).size());
  EXPECT_EQ(320u * 240 * 4, pull("u1", 1, "getVideoVector").size());
  EXPECT_EQ("", console());

  sdk("frame remote \"u1\" kind=1 format=i420 640x360 flag=1 value=90");
  EXPECT_EQ(events(), std::vector<air::Event>{event("video", "u1||640||360||1||90||1")});
  EXPECT_EQ(640u * 360 * 4, pull("u1", 1).size());
}

TEST_F(BrisoraFrames, OtherRemoteSourcesMakeTheirRendererOnDemand) {
  sdk("frame remote \"u2\" kind=2 format=rgb24 16x8");
  EXPECT_EQ("\nno Video - init Create === 2", console());
  EXPECT_EQ(events(), std::vector<air::Event>{event("video", "u2||16||8||0||0||2")});
  sdk("frame remote \"u2\" kind=2 format=rgb24 16x8");
  EXPECT_EQ("", console());  // found this time
  events();

  sdk("frame remote \"u3\" kind=7 format=rgb24 4x4");
  EXPECT_EQ("\nno Video - init Create === 0", console());
  EXPECT_EQ(events(), std::vector<air::Event>{event("video", "u3||4||4||0||0||0")});
  EXPECT_EQ(64u, pull("u3", 0).size());

  // The local user's own frames through the remote handler make nothing.
  sdk("frame remote \"me\" kind=2 format=rgb24 4x4");
  EXPECT_EQ("\nOnRemoteVideo = me  === 2", console());
  EXPECT_EQ(events(), std::vector<air::Event>{event("ilivesdk_error", "me||2||not find videoRander and doRender")});
}

TEST_F(BrisoraFrames, LocalFramesGoToTheLocalUsersCameraAndScreenSlots) {
  sdk("frame local \"ignored\" kind=1 format=rgb24 8x4");
  EXPECT_EQ(events(), std::vector<air::Event>{event("video", "me||8||4||0||0||1")});
  EXPECT_EQ(128u, pull("me", 1).size());

  sdk("frame local \"ignored\" kind=2 format=rgb24 4x2");
  EXPECT_EQ(events(), std::vector<air::Event>{event("video", "me||4||2||0||0||2")});
  // Kinds 2 and 3 share one slot: a kind-3 frame rebinds it.
  sdk("frame local \"ignored\" kind=3 format=rgb24 2x2");
  EXPECT_EQ(events(), std::vector<air::Event>{event("video", "me||2||2||0||0||3")});
  EXPECT_EQ(16u, pull("me", 3).size());
  pull("me", 2);
  EXPECT_EQ(events(), std::vector<air::Event>{event("ilivesdk_error", "me||2||not get videoRander")});

  sdk("frame local \"ignored\" kind=4 format=rgb24 2x2");
  EXPECT_TRUE(events().empty());
  EXPECT_EQ(128u, pull("me", 1).size());  // the camera slot kept its frame
}

TEST_F(BrisoraFrames, MemberEventsBindAndReleaseRenderers) {
  sdk("member 4 \"nobody\"");
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("ilivesdk_error", "nobody||1||not remove videoRander")});

  sdk("member 3 \"u1\" \"me\"");
  EXPECT_EQ(waitEvents(2), (std::vector<air::Event>{event("addvideo", "u1||1"), event("addvideo", "me||1")}));
  // The local camera slot is the renderer that local frames use.
  sdk("frame local \"x\" kind=1 format=rgb24 2x2");
  events();
  EXPECT_EQ(16u, pull("me", 1).size());

  sdk("member 4 \"u1\" \"me\"");
  EXPECT_EQ(waitEvents(2), (std::vector<air::Event>{event("novideo", "u1||1"), event("novideo", "me||1")}));
  pull("u1", 1);
  EXPECT_EQ(events(), std::vector<air::Event>{event("ilivesdk_error", "u1||1||not get videoRander")});
  sdk("member 4 \"me\"");
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("ilivesdk_error", "me||1||not remove videoRander")});

  sdk("member 7 \"s\" \"ignored\"");
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("addvideo", "s||2")});
  sdk("member 9 \"s\"");
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("addvideo", "s||3")});
  EXPECT_TRUE(pull("s", 3).empty());
  pull("s", 2);
  EXPECT_EQ(events(), std::vector<air::Event>{event("ilivesdk_error", "s||2||not get videoRander")});
  sdk("member 8 \"s\"");
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("removevideo", "s||2")});
  sdk("member 10 \"s\"");  // nothing bound any more: the event still comes
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("removevideo", "s||3")});

  // An empty list names nobody; events 5 and 6 are not video events.
  sdk("member 7");
  sdk("member 8");
  sdk("member 5 \"u1\"");
  sdk("member 6 \"u1\"");
  EXPECT_TRUE(events().empty());
}

// The screen slot passes from one user to another: the new user's view
// starts empty, never with the previous user's picture; a user announced
// again keeps its own.
TEST_F(BrisoraFrames, AScreenRendererGivenToAnotherUserStartsEmpty) {
  sdk("member 7 \"a\"");
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("addvideo", "a||2")});
  sdk("frame remote \"a\" kind=2 format=rgb24 4x2");
  EXPECT_EQ(events(), std::vector<air::Event>{event("video", "a||4||2||0||0||2")});
  sdk("member 7 \"a\"");
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("addvideo", "a||2")});
  EXPECT_EQ(32u, pull("a", 2).size());

  sdk("member 9 \"b\"");  // a media file of b's: the same slot, another user
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("addvideo", "b||3")});
  EXPECT_TRUE(pull("b", 3).empty());
  sdk("frame remote \"b\" kind=3 format=rgb24 2x2");
  EXPECT_EQ(16u, pull("b", 3).size());
  events();

  sdk("member 7 \"c\"");
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("addvideo", "c||2")});
  EXPECT_TRUE(pull("c", 2).empty());
  EXPECT_TRUE(isNull(call("getVideoBitmapData", {air::Null{}, std::string("c"), 2})));
  EXPECT_TRUE(events().empty());
}

// After the finalizer a frame still on its way makes nothing and raises
// nothing: the console says once that the context is gone, for a local frame
// and for every kind of remote frame alike.
TEST_F(BrisoraFrames, FramesAfterTheFinalizerPrintOnlyTheContextError) {
  announce("u1");
  sdk("frame remote \"u1\" kind=1 format=rgb24 4x2");
  sdk("frame local \"me\" kind=2 format=rgb24 4x2");
  events();
  ilive::standin::setAutoComplete(true);  // the release completes: the SDK lets go of the handlers
  context_->dispose();
  console();
  std::vector<std::string> printed;
  for (const char* late : {"late frame remote \"u1\" kind=1 format=rgb24 4x2",
                           "late frame remote \"u2\" kind=2 format=rgb24 4x2",
                           "late frame remote \"u3\" kind=7 format=rgb24 4x2",
                           "late frame local \"me\" kind=1 format=rgb24 4x2",
                           "late frame local \"me\" kind=3 format=rgb24 4x2"}) {
    sdk(late);
    printed.push_back(console());
  }
  EXPECT_EQ(std::vector<std::string>(5, "\nANE CTX Context Error"), printed);
  EXPECT_EQ(0u, air::eventsAfterFinalize());
  EXPECT_EQ(0u, context_->droppedEvents());
}

TEST_F(BrisoraFrames, PullingAnUnboundPairRaisesAnErrorAndLeavesTheArray) {
  EXPECT_EQ((std::vector<uint8_t>{9, 9, 9}), pull("ghost", 7));
  EXPECT_EQ(events(), std::vector<air::Event>{event("ilivesdk_error", "ghost||0||not get videoRander")});
  EXPECT_TRUE(isNull(call("getVideoBitmapData", {air::Null{}, std::string("ghost"), 2})));
  EXPECT_EQ(events(), std::vector<air::Event>{event("ilivesdk_error", "ghost||2||not get videoRander")});
  // Arguments missing altogether read as empty user and kind 0.
  EXPECT_TRUE(isNull(call("getVideoData")));
  EXPECT_EQ(events(), std::vector<air::Event>{event("ilivesdk_error", "||0||not get videoRander")});
}

TEST_F(BrisoraFrames, Packed24BitFramesKeepTheirByteOrderWithOpaqueAlpha) {
  announce("u1");
  std::vector<uint8_t> data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  ASSERT_TRUE(ilive::standin::remoteFrame(frame("u1", 1, 8, 2, 2, data)));
  EXPECT_EQ((std::vector<uint8_t>{1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255, 10, 11, 12, 255}), pull("u1", 1));

  // More data than width x height x 3: only width x height pixels are converted.
  std::vector<uint8_t> longer = {20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31};
  ASSERT_TRUE(ilive::standin::remoteFrame(frame("u1", 1, 8, 2, 1, longer)));
  EXPECT_EQ((std::vector<uint8_t>{20, 21, 22, 255, 23, 24, 25, 255}), pull("u1", 1));
  EXPECT_EQ(events(),
            (std::vector<air::Event>{event("video", "u1||2||2||0||0||1"), event("video", "u1||2||1||0||0||1")}));
}

TEST_F(BrisoraFrames, I420FramesConvertWithBt601LimitedRange) {
  announce("u1");
  struct Case {
    uint8_t y, u, v;
    int r, g, b;
  };
  // Expected colours from the BT.601 limited-range equations:
  // R = 1.164(Y-16) + 1.596(V-128), G = 1.164(Y-16) - 0.392(U-128) - 0.813(V-128),
  // B = 1.164(Y-16) + 2.017(U-128).
  const Case cases[] = {{16, 128, 128, 0, 0, 0},     {235, 128, 128, 255, 255, 255}, {126, 128, 128, 128, 128, 128},
                        {81, 90, 240, 254, 0, 0},     {145, 54, 34, 0, 255, 1},        {41, 240, 110, 0, 0, 255},
                        {100, 100, 150, 133, 91, 41}};
  for (const Case& c : cases) {
    std::vector<uint8_t> data = {c.y, c.y, c.y, c.y, c.u, c.v};
    ASSERT_TRUE(ilive::standin::remoteFrame(frame("u1", 1, 0, 2, 2, data)));
    const std::vector<uint8_t> px = pull("u1", 1);
    ASSERT_EQ(16u, px.size());
    for (int i = 0; i < 4; ++i) {
      SCOPED_TRACE("Y " + std::to_string(c.y) + " U " + std::to_string(c.u) + " V " + std::to_string(c.v));
      EXPECT_NEAR(c.b, px[i * 4 + 0], 2);
      EXPECT_NEAR(c.g, px[i * 4 + 1], 2);
      EXPECT_NEAR(c.r, px[i * 4 + 2], 2);
      EXPECT_EQ(255, px[i * 4 + 3]);
    }
  }
  events();

  // Odd sizes round the chroma planes up: 3 x 3 needs 9 + 2 x 4 bytes.
  std::vector<uint8_t> odd(17, 128);
  std::fill(odd.begin(), odd.begin() + 9, 235);
  ASSERT_TRUE(ilive::standin::remoteFrame(frame("u1", 1, 0, 3, 3, odd)));
  EXPECT_EQ(events(), std::vector<air::Event>{event("video", "u1||3||3||0||0||1")});
  const std::vector<uint8_t> px = pull("u1", 1);
  ASSERT_EQ(36u, px.size());
  EXPECT_NEAR(255, px[35 - 1], 2);
}

TEST_F(BrisoraFrames, ShortEmptyAndOversizedFramesAreDroppedAndTheLastFrameKept) {
  announce("u1");
  std::vector<uint8_t> good(4 * 4 * 3, 50);
  ASSERT_TRUE(ilive::standin::remoteFrame(frame("u1", 1, 8, 4, 4, good)));
  events();

  std::vector<uint8_t> short24(4 * 4 * 3 - 1, 70);
  ilive::standin::remoteFrame(frame("u1", 1, 8, 4, 4, short24));
  std::vector<uint8_t> shortI420(3 * 3 + 2 * 4 - 1, 70);
  ilive::standin::remoteFrame(frame("u1", 1, 0, 3, 3, shortI420));
  std::vector<uint8_t> evenShort(8 * 8 * 3 / 2 - 1, 70);
  ilive::standin::remoteFrame(frame("u1", 1, 0, 8, 8, evenShort));
  std::vector<uint8_t> empty;
  VideoFrame none = frame("u1", 1, 8, 4, 4, empty);
  ilive::standin::remoteFrame(none);
  // width x height x 4 does not fit in 32 bits; the claimed data size would
  // cover width x height x 3, but nothing may be read.
  std::vector<uint8_t> tiny(16, 70);
  VideoFrame huge = frame("u1", 1, 8, 32768, 32768, tiny);
  huge.dataSize = 0xFFFFFFFFu;
  ilive::standin::remoteFrame(huge);
  VideoFrame hugeI420 = frame("u1", 1, 0, 65536, 16385, tiny);
  hugeI420.dataSize = 0xFFFFFFFFu;
  ilive::standin::remoteFrame(hugeI420);

  EXPECT_TRUE(events().empty());
  const std::vector<uint8_t> kept = pull("u1", 1);
  ASSERT_EQ(64u, kept.size());
  EXPECT_EQ(50, kept[0]);
}

TEST_F(BrisoraFrames, BitmapsComeOutTheRightWayUpInEveryLayout) {
  announce("u1");
  // A renderer without a frame has no picture.
  EXPECT_TRUE(isNull(call("getVideoBitmapData", {air::Null{}, std::string("u1"), 1})));
  EXPECT_TRUE(events().empty());

  // 3 x 2, top row blue-ish, bottom row red-ish (bytes blue, green, red).
  std::vector<uint8_t> data = {200, 1, 2, 201, 3, 4, 202, 5, 6, 7, 8, 210, 9, 10, 211, 11, 12, 212};
  ASSERT_TRUE(ilive::standin::remoteFrame(frame("u1", 1, 8, 3, 2, data)));
  events();
  for (bool inverted : {false, true}) {
    for (uint32_t extra : {0u, 5u}) {
      air::setBitmapLayout(inverted, extra);
      const air::Value v = call("getVideoBitmapData", {42, std::string("u1"), 1});
      auto bitmap = std::get_if<std::shared_ptr<air::Bitmap>>(&v);
      ASSERT_TRUE(bitmap && *bitmap);
      ASSERT_EQ(3u, (*bitmap)->width);
      ASSERT_EQ(2u, (*bitmap)->height);
      EXPECT_EQ(0xFF0201C8u, (*bitmap)->pixel(0, 0));
      EXPECT_EQ(0xFF0605CAu, (*bitmap)->pixel(2, 0));
      EXPECT_EQ(0xFFD20807u, (*bitmap)->pixel(0, 1));
      EXPECT_EQ(0xFFD40C0Bu, (*bitmap)->pixel(2, 1));
    }
  }
}

TEST_F(BrisoraFrames, AChangingFrameSizeIsFollowed) {
  announce("u1");
  sdk("frame remote \"u1\" kind=1 format=i420 320x240");
  sdk("frame remote \"u1\" kind=1 format=i420 320x240");
  EXPECT_EQ(320u * 240 * 4, pull("u1", 1).size());
  sdk("frame remote \"u1\" kind=1 format=rgb24 64x48");
  EXPECT_EQ(64u * 48 * 4, pull("u1", 1).size());
  sdk("frame remote \"u1\" kind=1 format=i420 1280x720");
  EXPECT_EQ(1280u * 720 * 4, pull("u1", 1).size());
  EXPECT_EQ(4u, events().size());
}

}  // namespace
}  // namespace brisora_test
