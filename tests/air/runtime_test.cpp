// The C interface as an extension sees it: values, ByteArrays, bitmaps, and
// the four rules, each broken once from inside a call or from another thread.
#include <cstring>
#include <thread>

#include "air_fixture.h"

namespace {

const uint8_t* u8(const char* s) { return reinterpret_cast<const uint8_t*>(s); }

std::string readUtf8(FREObject o, uint32_t* lengthOut = nullptr) {
  uint32_t n = 0;
  const uint8_t* p = nullptr;
  if (FREGetObjectAsUTF8(o, &n, &p) != FRE_OK) return "<refused>";
  EXPECT_EQ(p[n], 0) << "the runtime's buffer is zero-terminated";
  if (lengthOut) *lengthOut = n;
  return std::string(reinterpret_cast<const char*>(p), n);
}

}  // namespace

using AirValues = AirFixture;

TEST_F(AirValues, StringsAreTheSameFromBothLengthConventionsAndKeepEmbeddedZeros) {
  air::CallScope scope;
  FREObject with = nullptr, without = nullptr, zero = nullptr, zeroTerm = nullptr, empty = nullptr, empty1 = nullptr;
  ASSERT_EQ(FRENewObjectFromUTF8(6, u8("hello"), &with), FRE_OK);
  ASSERT_EQ(FRENewObjectFromUTF8(5, u8("hello"), &without), FRE_OK);
  ASSERT_EQ(FRENewObjectFromUTF8(3, u8("a\0b"), &zero), FRE_OK);
  ASSERT_EQ(FRENewObjectFromUTF8(4, u8("a\0b"), &zeroTerm), FRE_OK);
  ASSERT_EQ(FRENewObjectFromUTF8(0, u8(""), &empty), FRE_OK);
  ASSERT_EQ(FRENewObjectFromUTF8(1, u8(""), &empty1), FRE_OK);

  uint32_t n = 99;
  EXPECT_EQ(readUtf8(with, &n), "hello");
  EXPECT_EQ(n, 5u) << "length without the terminator";
  EXPECT_EQ(readUtf8(without), "hello");
  EXPECT_EQ(readUtf8(zero, &n), std::string("a\0b", 3));
  EXPECT_EQ(n, 3u);
  EXPECT_EQ(readUtf8(zeroTerm), std::string("a\0b", 3));
  EXPECT_EQ(readUtf8(empty), "");
  EXPECT_EQ(readUtf8(empty1), "");

  // The text also survives a call into the extension and back (a call nests in a scope).
  EXPECT_EQ(ctx->call("echo", {std::string("x\0y", 3)}), air::Value(std::string("x\0y", 3)));
  EXPECT_EQ(air::breaches().total(), 0u) << log();
}

TEST_F(AirValues, NumbersConvertOnlyWhenTheValueFitsAndNullIsNotABreach) {
  air::CallScope scope;
  FREObject big = scope.object(uint32_t(3000000000u)), half = scope.object(2.5), minus = scope.object(int32_t(-1));
  FREObject whole = scope.object(7.0), text = scope.object(std::string("7")), flag = scope.object(true);
  int32_t i = 0;
  uint32_t u = 0, b = 0;
  double d = 0;
  EXPECT_EQ(FREGetObjectAsInt32(big, &i), FRE_TYPE_MISMATCH);
  EXPECT_EQ(FREGetObjectAsUint32(big, &u), FRE_OK);
  EXPECT_EQ(u, 3000000000u);
  EXPECT_EQ(FREGetObjectAsInt32(half, &i), FRE_TYPE_MISMATCH);
  EXPECT_EQ(FREGetObjectAsDouble(half, &d), FRE_OK);
  EXPECT_EQ(d, 2.5);
  EXPECT_EQ(FREGetObjectAsUint32(minus, &u), FRE_TYPE_MISMATCH);
  EXPECT_EQ(FREGetObjectAsInt32(whole, &i), FRE_OK);
  EXPECT_EQ(i, 7);
  EXPECT_EQ(FREGetObjectAsInt32(text, &i), FRE_TYPE_MISMATCH);
  EXPECT_EQ(FREGetObjectAsBool(whole, &b), FRE_TYPE_MISMATCH);
  EXPECT_EQ(FREGetObjectAsBool(flag, &b), FRE_OK);
  EXPECT_EQ(b, 1u);

  FREObjectType type = FRE_TYPE_OBJECT;
  EXPECT_EQ(FREGetObjectType(nullptr, &type), FRE_OK);
  EXPECT_EQ(type, FRE_TYPE_NULL);
  EXPECT_EQ(FREGetObjectType(scope.object(air::Null{}), &type), FRE_OK);
  EXPECT_EQ(type, FRE_TYPE_NULL);
  EXPECT_EQ(FREGetObjectAsInt32(nullptr, &i), FRE_TYPE_MISMATCH);
  uint32_t len = 0;
  const uint8_t* s = nullptr;
  EXPECT_EQ(FREGetObjectAsUTF8(nullptr, &len, &s), FRE_TYPE_MISMATCH);
  FREByteArray ba{};
  EXPECT_EQ(FREAcquireByteArray(nullptr, &ba), FRE_TYPE_MISMATCH);
  FREObject value = nullptr, thrown = nullptr;
  EXPECT_EQ(FREGetObjectProperty(nullptr, u8("length"), &value, &thrown), FRE_ACTIONSCRIPT_ERROR);
  EXPECT_NE(thrown, nullptr);
  EXPECT_EQ(air::breaches().total(), 0u) << log();
}

TEST_F(AirValues, ByteArrayLengthGrowsWithZerosShrinksAndRefusesHugeSizes) {
  auto bytes = std::make_shared<air::ByteArray>();
  bytes->bytes = {9, 9};
  EXPECT_EQ(ctx->call("fillBytes", {bytes, uint32_t(5)}), air::Value(int32_t(FRE_OK)));
  EXPECT_EQ(bytes->bytes, (std::vector<uint8_t>{0, 1, 2, 3, 4}));

  air::CallScope scope;
  FREObject ba = scope.object(bytes);
  EXPECT_EQ(FRESetObjectProperty(ba, u8("length"), scope.object(7.9), nullptr), FRE_OK) << "coerced to uint";
  EXPECT_EQ(bytes->bytes, (std::vector<uint8_t>{0, 1, 2, 3, 4, 0, 0}));
  EXPECT_EQ(FRESetObjectProperty(ba, u8("length"), scope.object(uint32_t(2)), nullptr), FRE_OK);
  FREObject length = nullptr;
  uint32_t n = 0;
  ASSERT_EQ(FREGetObjectProperty(ba, u8("length"), &length, nullptr), FRE_OK);
  ASSERT_EQ(FREGetObjectAsUint32(length, &n), FRE_OK);
  EXPECT_EQ(n, 2u);
  EXPECT_EQ(FRESetObjectProperty(ba, u8("length"), scope.object(int32_t(-1)), nullptr), FRE_INSUFFICIENT_MEMORY);
  EXPECT_EQ(bytes->bytes.size(), 2u);
  EXPECT_EQ(FRESetObjectProperty(ba, u8("position"), scope.object(uint32_t(1)), nullptr), FRE_NO_SUCH_NAME);

  // An empty array still hands out a usable pointer.
  FRESetObjectProperty(ba, u8("length"), scope.object(uint32_t(0)), nullptr);
  FREByteArray acquired{};
  ASSERT_EQ(FREAcquireByteArray(ba, &acquired), FRE_OK);
  EXPECT_EQ(acquired.length, 0u);
  EXPECT_NE(acquired.bytes, nullptr);
  EXPECT_EQ(FREReleaseByteArray(ba), FRE_OK);
  EXPECT_EQ(air::breaches().total(), 0u) << log();
}

using AirBitmaps = AirFixture;

TEST_F(AirBitmaps, EveryLayoutKeepsTheTopRowOnTopAndThePaddingUntouched) {
  struct Layout {
    bool inverted;
    uint32_t extra;
  };
  for (Layout layout : {Layout{false, 0}, Layout{true, 0}, Layout{false, 3}, Layout{true, 3}}) {
    SCOPED_TRACE(testing::Message() << "inverted " << layout.inverted << " extra " << layout.extra);
    air::setBitmapLayout(layout.inverted, layout.extra);
    // Arguments of every numeric type, coerced as ActionScript would.
    air::Value result = ctx->call("paintBitmap", {3.0, uint32_t(2), int32_t(0), 4278190335.0 /* 0xFF0000FF */,
                                                  int32_t(1), int32_t(0), uint32_t(0xFF112233u)});
    auto* bitmap = std::get_if<std::shared_ptr<air::Bitmap>>(&result);
    ASSERT_TRUE(bitmap && *bitmap);
    const air::Bitmap& b = **bitmap;
    EXPECT_EQ(b.width, 3u);
    EXPECT_EQ(b.height, 2u);
    EXPECT_FALSE(b.transparent);
    EXPECT_EQ(b.invertedY, layout.inverted);
    EXPECT_EQ(b.stride32, 3 + layout.extra);
    EXPECT_EQ(b.pixel(1, 0), 0xFF112233u);
    EXPECT_EQ(b.pixel(1, 1), 0xFF0000FFu);
    EXPECT_EQ(b.pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(b.words[(layout.inverted ? 1 : 0) * b.stride32 + 1], 0xFF112233u) << "stored row order";
    EXPECT_TRUE(air::paddingIntact(b));
    EXPECT_EQ(b.invalidations, 1u);
  }
  EXPECT_EQ(air::breaches().total(), 0u) << log();
}

TEST_F(AirBitmaps, ConstructorRefusesBadSizesAsAnActionScriptError) {
  air::CallScope scope;
  FREObject bitmap = nullptr, thrown = nullptr;
  FREObject zeroWidth[] = {scope.object(uint32_t(0)), scope.object(uint32_t(2))};
  EXPECT_EQ(FRENewObject(u8("flash.display.BitmapData"), 2, zeroWidth, &bitmap, &thrown), FRE_ACTIONSCRIPT_ERROR);
  EXPECT_EQ(bitmap, nullptr);
  EXPECT_NE(thrown, nullptr);
  FREObject huge[] = {scope.object(uint32_t(100000)), scope.object(uint32_t(100000))};
  EXPECT_EQ(FRENewObject(u8("flash.display.BitmapData"), 2, huge, &bitmap, nullptr), FRE_ACTIONSCRIPT_ERROR);
  EXPECT_EQ(FRENewObject(u8("flash.display.BitmapData"), 1, huge, &bitmap, nullptr), FRE_ACTIONSCRIPT_ERROR);
  EXPECT_EQ(FRENewObject(u8("flash.display.Sprite"), 0, nullptr, &bitmap, nullptr), FRE_NO_SUCH_NAME);

  // A transparent bitmap keeps the fill's alpha; width and height are read-only.
  FREObject ok[] = {scope.object(int32_t(2)), scope.object(int32_t(2)), scope.object(true),
                    scope.object(uint32_t(0x12345678u))};
  ASSERT_EQ(FRENewObject(u8("flash.display.BitmapData"), 4, ok, &bitmap, nullptr), FRE_OK);
  auto b = std::get<std::shared_ptr<air::Bitmap>>(scope.value(bitmap));
  EXPECT_EQ(b->pixel(1, 1), 0x12345678u);
  FREObject width = nullptr;
  int32_t w = 0;
  ASSERT_EQ(FREGetObjectProperty(bitmap, u8("width"), &width, nullptr), FRE_OK);
  ASSERT_EQ(FREGetObjectAsInt32(width, &w), FRE_OK);
  EXPECT_EQ(w, 2);
  EXPECT_EQ(FRESetObjectProperty(bitmap, u8("width"), width, nullptr), FRE_READ_ONLY);

  // Invalidating outside the bitmap is a bad argument.
  FREBitmapData2 d{};
  ASSERT_EQ(FREAcquireBitmapData2(bitmap, &d), FRE_OK);
  EXPECT_EQ(FREInvalidateBitmapDataRect(bitmap, 1, 0, 2, 1), FRE_INVALID_ARGUMENT);
  EXPECT_EQ(FREInvalidateBitmapDataRect(bitmap, 0xFFFFFFFFu, 0, 2, 1), FRE_INVALID_ARGUMENT);
  EXPECT_EQ(FREReleaseBitmapData(bitmap), FRE_OK);
  EXPECT_EQ(air::breaches().invalidArgument, 2u) << log();
  EXPECT_EQ(air::breaches().total(), 2u) << log();
}

using AirRules = AirFixture;

TEST_F(AirRules, CallsOffTheMainThreadAreRefusedButDispatchIsNot) {
  EXPECT_EQ(ctx->call("fromThread"), air::Value(int32_t(FRE_WRONG_THREAD)));
  EXPECT_EQ(air::breaches().wrongThread, 1u);
  auto events = ctx->takeEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[1], (air::Event{"thread", "ok"}));

  // With no call outstanding at all, every thread is the wrong one.
  ctx->call("startLate");
  EXPECT_EQ(ctx->call("joinLate"), air::Value(int32_t(FRE_WRONG_THREAD)));
  FREObject o = nullptr;
  EXPECT_EQ(FRENewObjectFromInt32(1, &o), FRE_WRONG_THREAD);
  EXPECT_EQ(air::breaches().wrongThread, 3u) << log();
  EXPECT_EQ(air::breachLog().back().rfind("FRENewObjectFromInt32: FRE_WRONG_THREAD: ", 0), 0u) << log();
  EXPECT_EQ(air::breaches().total(), 3u) << log();
}

TEST_F(AirRules, NothingButTheReleaseWhileAnArrayIsAcquired) {
  auto bytes = std::make_shared<air::ByteArray>();
  // acquire, other call, dispatch on the main thread, release
  EXPECT_EQ(ctx->call("whileAcquired", {bytes}), air::Value(std::string("0,8,8,0")));
  EXPECT_EQ(air::breaches().illegalState, 2u) << log();
  // A forgotten release is a breach too; the next call starts clean.
  ctx->call("forgetRelease", {bytes});
  EXPECT_EQ(air::breaches().illegalState, 3u) << log();
  EXPECT_EQ(ctx->call("echo", {int32_t(4)}), air::Value(int32_t(4)));

  air::CallScope scope;
  EXPECT_EQ(FREReleaseByteArray(scope.object(bytes)), FRE_ILLEGAL_STATE) << "never acquired";
  EXPECT_EQ(air::breaches().illegalState, 4u);
  EXPECT_EQ(air::breaches().total(), 4u) << log();
}

TEST_F(AirRules, AnObjectDiesWithTheCallThatMadeOrReceivedIt) {
  ctx->call("keep", {int32_t(5)});
  EXPECT_EQ(ctx->call("useKept"), air::Value(int32_t(FRE_INVALID_OBJECT)));
  EXPECT_EQ(ctx->call("returnKept"), air::Value(air::Null{}));
  EXPECT_EQ(air::breaches().invalidObject, 2u) << log();

  FREObject made = nullptr;
  {
    air::CallScope scope;
    FRENewObjectFromInt32(1, &made);
  }
  air::CallScope scope;
  int32_t v = 0;
  EXPECT_EQ(FREGetObjectAsInt32(made, &v), FRE_INVALID_OBJECT);
  EXPECT_EQ(FREGetObjectAsInt32(reinterpret_cast<FREObject>(uintptr_t(0x1234)), &v), FRE_INVALID_OBJECT);
  EXPECT_EQ(air::breaches().invalidObject, 4u);
  EXPECT_EQ(air::breaches().total(), 4u) << log();
}

TEST_F(AirRules, NullPointersAreInvalidArguments) {
  EXPECT_EQ(ctx->call("nullPointer", {int32_t(1)}), air::Value(int32_t(FRE_INVALID_ARGUMENT)));
  air::CallScope scope;
  EXPECT_EQ(FRENewObjectFromUTF8(3, nullptr, nullptr), FRE_INVALID_ARGUMENT);
  EXPECT_EQ(FREDispatchStatusEventAsync(ctx->handle(), nullptr, u8("x")), FRE_INVALID_ARGUMENT);
  EXPECT_EQ(FREDispatchStatusEventAsync(nullptr, u8("x"), u8("x")), FRE_INVALID_ARGUMENT);
  EXPECT_EQ(FREAcquireBitmapData2(scope.object(air::newBitmap(1, 1)), nullptr), FRE_INVALID_ARGUMENT);
  EXPECT_EQ(air::breaches().invalidArgument, 5u) << log();
  EXPECT_EQ(air::breaches().total(), 5u) << log();
}
