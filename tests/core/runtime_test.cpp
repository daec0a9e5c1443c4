// The core's runtime calls, driven through the runtime stand-in: each scenario
// also checks that no rule of the runtime was broken.
#include <gtest/gtest.h>

#include <thread>

#include "core/text.h"

#include "air/host.h"
#include "core/args.h"
#include "core/context.h"
#include "core/results.h"

namespace {

class CoreRuntime : public ::testing::Test {
 protected:
  void SetUp() override { air::resetBreaches(); }
  void TearDown() override {
    air::setBitmapLayout(false, 0);
    EXPECT_EQ(expectedBreaches_, air::breaches().total());
  }
  uint64_t expectedBreaches_ = 0;
};

template <class T>
T as(const air::Value& v) {
  const T* p = std::get_if<T>(&v);
  EXPECT_NE(nullptr, p);
  return p ? *p : T{};
}

TEST_F(CoreRuntime, ReadersGiveNeutralDefaultsForWrongTypesAndMissingArguments) {
  air::ConsoleCapture console;
  air::CallScope scope;
  FREObject argv[] = {scope.object(std::string("h\xC3\xA9llo\0tail", 11)), scope.object(int32_t{-7}),
                      scope.object(uint32_t{4000000000u}), scope.object(true), scope.object(air::Null{})};
  EXPECT_EQ(std::string("h\xC3\xA9llo\0tail", 11), core::getString(argv[0]));
  EXPECT_EQ(-7, core::getInt32(argv[1]));
  EXPECT_EQ(4000000000u, core::getUint32(argv[2]));
  EXPECT_TRUE(core::getBool(argv[3]));

  EXPECT_EQ("", core::getString(argv[1]));
  EXPECT_EQ(0, core::getInt32(argv[0]));
  EXPECT_EQ(0, core::getInt32(argv[4]));
  EXPECT_EQ(0u, core::getUint32(argv[0]));
  EXPECT_FALSE(core::getBool(argv[1]));
  EXPECT_FALSE(core::getBool(argv[4]));

  // Two arguments passed, five read: the missing ones read as failed conversions.
  core::Args args(2, argv);
  EXPECT_EQ(-7, args.int32(1));
  EXPECT_EQ("", args.string(2));
  EXPECT_EQ(0, args.int32(3));
  EXPECT_EQ(0u, args.uint32(4));
  EXPECT_FALSE(args.boolean(7));
  EXPECT_EQ(nullptr, args.object(2));
  core::Args none(3, nullptr);
  EXPECT_EQ(0u, none.size());
  EXPECT_EQ("", none.string(0));

  // A switch is set only by a Boolean: wrong types, null and missing
  // arguments leave it as it was.
  core::Args five(5, argv);
  bool on = true;
  EXPECT_FALSE(five.tryBoolean(1, &on) || five.tryBoolean(4, &on) || five.tryBoolean(5, &on));
  EXPECT_TRUE(on);
  bool off = false;
  EXPECT_TRUE(five.tryBoolean(3, &off));
  EXPECT_TRUE(off);
  EXPECT_EQ("", console.text());  // failed conversions print nothing
}

TEST_F(CoreRuntime, ResultsKeepTheirValuesWithEitherTextLength) {
  air::CallScope scope;
  EXPECT_EQ("1.2.3", as<std::string>(scope.value(core::newStringWithZero("1.2.3"))));
  EXPECT_EQ("", as<std::string>(scope.value(core::newStringWithZero(""))));
  EXPECT_EQ("", as<std::string>(scope.value(core::newStringWithZero(nullptr))));
  EXPECT_EQ("", as<std::string>(scope.value(core::newString(std::string()))));
  EXPECT_EQ(std::string("a\0b", 3), as<std::string>(scope.value(core::newString(std::string("a\0b", 3)))));
  EXPECT_TRUE(as<bool>(scope.value(core::newBool(true))));
  EXPECT_EQ(INT32_MIN, as<int32_t>(scope.value(core::newInt32(INT32_MIN))));
  EXPECT_EQ(4294967295u, as<uint32_t>(scope.value(core::newUint32(4294967295u))));
}

TEST_F(CoreRuntime, RefusedResultsAreNull) {
  air::CallScope scope;
  FREObject made[4] = {};
  air::setBreachEcho(false);
  // Off the main thread the runtime refuses every object.
  std::thread([&] {
    made[0] = core::newString(std::string("x"));
    made[1] = core::newBool(true);
    made[2] = core::newInt32(1);
    made[3] = core::newBitmapData(2, 2, nullptr);
  }).join();
  air::setBreachEcho(true);
  for (FREObject o : made) EXPECT_EQ(nullptr, o);
  expectedBreaches_ = air::breaches().wrongThread;
  EXPECT_GE(expectedBreaches_, 4u);
  EXPECT_EQ(expectedBreaches_, air::breaches().total());
}

TEST_F(CoreRuntime, FillByteArraySetsTheExactLength) {
  air::CallScope scope;
  auto array = std::make_shared<air::ByteArray>();
  array->bytes.assign(10, 0xEE);
  FREObject object = scope.object(array);
  const uint8_t data[] = {1, 2, 3};
  core::fillByteArray(object, data, 3);
  EXPECT_EQ((std::vector<uint8_t>{1, 2, 3}), array->bytes);
  core::fillByteArray(object, data, 0);
  EXPECT_TRUE(array->bytes.empty());
  // No data to copy: an empty array rather than a read from nowhere.
  array->bytes.assign(4, 9);
  core::fillByteArray(object, nullptr, 1000);
  EXPECT_TRUE(array->bytes.empty());
}

// Four BGRA pixels: top row blue then red, bottom row green then one with
// bytes 11 22 33 FF.
const uint8_t kPicture[16] = {0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0xFF, 0, 0xFF, 0x11, 0x22, 0x33, 0xFF};

TEST_F(CoreRuntime, BitmapsShowRowZeroOnTopWhateverTheLayout) {
  for (bool inverted : {false, true}) {
    for (uint32_t extra : {0u, 3u}) {
      SCOPED_TRACE(testing::Message() << "invertedY " << inverted << ", extra stride " << extra);
      air::setBitmapLayout(inverted, extra);
      air::CallScope scope;
      const air::Value made = scope.value(core::newBitmapData(2, 2, kPicture));
      const auto bitmap = std::get_if<std::shared_ptr<air::Bitmap>>(&made);
      ASSERT_TRUE(bitmap && *bitmap);
      const air::Bitmap& b = **bitmap;
      EXPECT_EQ(2u, b.width);
      EXPECT_EQ(2u, b.height);
      EXPECT_EQ(0xFF0000FFu, b.pixel(0, 0));
      EXPECT_EQ(0xFFFF0000u, b.pixel(1, 0));
      EXPECT_EQ(0xFF00FF00u, b.pixel(0, 1));
      EXPECT_EQ(0xFF332211u, b.pixel(1, 1));
      EXPECT_TRUE(air::paddingIntact(b));
      EXPECT_EQ(1u, b.invalidations);
    }
  }
}

TEST_F(CoreRuntime, BitmapsTheRuntimeRefusesAreNullAndTouchNoPixels) {
  air::CallScope scope;
  // The runtime throws for an empty or oversized BitmapData, as ActionScript does.
  EXPECT_EQ(nullptr, core::newBitmapData(0, 0, kPicture));
  EXPECT_EQ(nullptr, core::newBitmapData(0, 2, nullptr));
  EXPECT_EQ(nullptr, core::newBitmapData(100000, 100000, nullptr));
  // Nothing was left acquired: other calls work.
  EXPECT_EQ(5, as<int32_t>(scope.value(core::newInt32(5))));
  // No pixel buffer: a blank bitmap, not a read from nowhere.
  const air::Value blank = scope.value(core::newBitmapData(1, 1, nullptr));
  ASSERT_TRUE(std::holds_alternative<std::shared_ptr<air::Bitmap>>(blank));
  EXPECT_EQ(0xFF000000u, std::get<std::shared_ptr<air::Bitmap>>(blank)->pixel(0, 0));
}

void noFunctions(void*, const uint8_t*, FREContext, uint32_t* count, const FRENamedFunction** table) {
  *count = 0;
  *table = nullptr;
}
void noFinalizer(FREContext) {}
void extensionInitializer(void** data, FREContextInitializer* init, FREContextFinalizer* fin) {
  *data = nullptr;
  *init = noFunctions;
  *fin = noFinalizer;
}

TEST_F(CoreRuntime, StatusEventsFromAnyThreadArriveInOrderAndEmptyLevelsAreKept) {
  auto extension = air::Extension::fromInitializer(extensionInitializer, nullptr);
  ASSERT_TRUE(extension);
  auto context = extension->createContext();
  ASSERT_TRUE(context);
  const FREContext handle = context->handle();
  std::thread([&] {
    core::dispatchStatus(handle, "ilivelogin", "complete");
    core::dispatchStatus(handle, "video", core::joinLevel({"u1", "640", "480"}));
    core::dispatchStatus(handle, "audioevent", "");
    core::dispatchStatus(nullptr, "lost", "nowhere to go");
  }).join();
  const auto events = context->waitForEvents(3, std::chrono::seconds(5));
  EXPECT_EQ((std::vector<air::Event>{{"ilivelogin", "complete"}, {"video", "u1||640||480"}, {"audioevent", ""}}),
            events);
}

TEST_F(CoreRuntime, AFrameForARemovedRendererIsDroppedWithOneLine) {
  air::ConsoleCapture console;
  core::AneContext context(reinterpret_cast<FREContext>(static_cast<intptr_t>(1)));
  EXPECT_TRUE(core::contextReady(context));
  context.set(nullptr);
  EXPECT_FALSE(core::contextReady(context));
  EXPECT_FALSE(core::contextReady(context));
  EXPECT_EQ("\nANE CTX Context Error\nANE CTX Context Error", console.text());
}

// The pulls read their user id into a text kept between calls: each read
// replaces what the text held, and a failed or missing argument empties it,
// so a stale id from the previous call never names a renderer.
TEST_F(CoreRuntime, ReadingIntoAKeptTextReplacesItAndEmptiesItOnFailure) {
  air::CallScope scope;
  FREObject argv[] = {scope.object(std::string("guest_1400012345_01")), scope.object(std::string("u2")),
                      scope.object(int32_t{5})};
  core::Args args(3, argv);
  std::string kept = "left over from before";
  args.stringInto(0, &kept);
  EXPECT_EQ("guest_1400012345_01", kept);
  args.stringInto(1, &kept);
  EXPECT_EQ("u2", kept);
  args.stringInto(2, &kept);  // an int: the conversion fails
  EXPECT_EQ("", kept);
  kept = "x";
  args.stringInto(3, &kept);  // not passed at all
  EXPECT_EQ("", kept);
  kept = "x";
  core::getStringInto(scope.object(std::string("a\0b", 3)), &kept);
  EXPECT_EQ(std::string("a\0b", 3), kept);
}

}  // namespace
