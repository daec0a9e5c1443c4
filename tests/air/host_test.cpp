// The host side: loading, calling by name, events from threads and after
// dispose, console capture, and an extension linked into the program.
#include <atomic>
#include <map>
#include <stdexcept>
#include <thread>

#include "air_fixture.h"

namespace {
const uint8_t* u8(const char* s) { return reinterpret_cast<const uint8_t*>(s); }
}  // namespace

using AirHost = AirFixture;

TEST_F(AirHost, LoadingFailsCleanlyAndUnknownOrThrowingFunctionsAnswerNull) {
  std::string error;
  EXPECT_FALSE(air::Extension::load("/nonexistent/libnothing.so", "AirTestInitializer", "", &error));
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_FALSE(air::Extension::load(AIR_TEST_EXTENSION, "NoSuchInitializer", "AirTestFinalizer", &error));
  EXPECT_NE(error.find("NoSuchInitializer"), std::string::npos);

  EXPECT_TRUE(ctx->hasFunction("echo"));
  EXPECT_EQ(ctx->functionNames().size(), 14u);
  EXPECT_EQ(ctx->call("noSuchFunction", {int32_t(1)}), air::Value(air::Null{}));
#ifndef _WIN32
  // Each Windows DLL carries its own unwinder, so an exception cannot leave
  // the extension there at all; elsewhere the host catches it.
  EXPECT_EQ(ctx->call("throws"), air::Value(air::Null{}));
#endif
  // Host values come back as they went in; ByteArrays are shared, not copied.
  auto bytes = std::make_shared<air::ByteArray>();
  EXPECT_EQ(ctx->call("echo", {bytes}), air::Value(bytes));
  EXPECT_EQ(ctx->call("echo", {uint32_t(4000000000u)}), air::Value(uint32_t(4000000000u)));
  EXPECT_EQ(ctx->call("echo", {}), air::Value(air::Null{}));
  EXPECT_EQ(air::breaches().total(), 0u) << log();
}

TEST_F(AirHost, EventsFromManyThreadsArriveInEachThreadsOrderAndStopAtDispose) {
  auto init = ctx->takeEvents();
  ASSERT_EQ(init.size(), 1u);
  EXPECT_EQ(init[0], (air::Event{"init", "created test"}));

  constexpr int kThreads = 4, kEach = 250;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) {
        std::string level = std::to_string(t) + "||" + std::to_string(i);
        EXPECT_EQ(FREDispatchStatusEventAsync(ctx->handle(), u8("tick"), u8(level.c_str())), FRE_OK);
      }
    });
  // A dispatch with an empty level is an event too.
  {
    air::CallScope scope;
    FREDispatchStatusEventAsync(ctx->handle(), u8("empty"), u8(""));
  }
  auto events = ctx->waitForEvents(kThreads * kEach + 1, std::chrono::seconds(10));
  for (auto& t : threads) t.join();
  auto rest = ctx->takeEvents();
  events.insert(events.end(), rest.begin(), rest.end());
  ASSERT_EQ(events.size(), size_t(kThreads * kEach + 1));
  std::map<int, int> next;
  for (const auto& e : events) {
    if (e.code == "empty") {
      EXPECT_EQ(e.level, "");
      continue;
    }
    ASSERT_EQ(e.code, "tick");
    size_t bar = e.level.find("||");
    int t = std::stoi(e.level.substr(0, bar)), i = std::stoi(e.level.substr(bar + 2));
    EXPECT_EQ(i, next[t]++) << "thread " << t;
  }

  FREContext handle = ctx->handle();
  ctx->dispose();
  EXPECT_TRUE(ctx->disposed());
  std::thread late([&] { FREDispatchStatusEventAsync(handle, u8("late"), u8("x")); });
  late.join();
  EXPECT_TRUE(ctx->takeEvents().empty());
  EXPECT_EQ(ctx->droppedEvents(), 1u);
  EXPECT_EQ(ctx->call("echo", {int32_t(1)}), air::Value(air::Null{}));
  EXPECT_EQ(air::breaches().total(), 0u) << log();
}

// The seam that holds one dispatch in the window before the runtime looks at
// its context: only the named code, only once, let go by the context's
// retirement (then dropped and counted) or by its time limit (then queued).
TEST_F(AirHost, AHeldDispatchWaitsForItsContextsRetirementOrItsLimit) {
  ctx->takeEvents();
  using Stage = air::DispatchHold::Stage;
  const FREContext handle = ctx->handle();
  {
    air::DispatchHold hold("held", std::chrono::milliseconds(50));
#ifndef _WIN32
    // Not in the Windows build: the runtime's DLL carries its own C++ runtime,
    // so its throw cannot reach this program.
    EXPECT_THROW(air::DispatchHold("other"), std::logic_error);
#endif
    FREResult first = FRE_OK;
    std::thread t([&] {
      EXPECT_EQ(FREDispatchStatusEventAsync(handle, u8("other"), u8("passes")), FRE_OK);
      first = FREDispatchStatusEventAsync(handle, u8("held"), u8("late but live"));
      EXPECT_EQ(FREDispatchStatusEventAsync(handle, u8("held"), u8("not held")), FRE_OK);
    });
    EXPECT_TRUE(hold.waitUntilHeld(std::chrono::seconds(5)));
    t.join();
    EXPECT_EQ(hold.stage(), Stage::TimedOut);
    EXPECT_EQ(first, FRE_OK);
    EXPECT_EQ(ctx->takeEvents(), (std::vector<air::Event>{{"other", "passes"}, {"held", "late but live"},
                                                          {"held", "not held"}}));
  }
  {
    air::DispatchHold unused("never");  // withdrawn unused: the next hold may be made
  }
  air::DispatchHold hold("held", std::chrono::seconds(30));
  FREResult result = FRE_OK;
  std::thread t([&] { result = FREDispatchStatusEventAsync(handle, u8("held"), u8("too late")); });
  ASSERT_TRUE(hold.waitUntilHeld(std::chrono::seconds(5)));
  EXPECT_EQ(hold.stage(), Stage::Holding);
  const auto start = std::chrono::steady_clock::now();
  ctx->dispose();
  EXPECT_TRUE(hold.waitUntilLetGo(std::chrono::seconds(5)));
  t.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << "not let go by the retirement";
  EXPECT_EQ(hold.stage(), Stage::ContextRetired);
  EXPECT_EQ(result, FRE_INVALID_ARGUMENT);
  EXPECT_EQ(ctx->droppedEvents(), 1u);
  EXPECT_EQ(air::eventsAfterFinalize(), 1u);
  EXPECT_EQ(air::breaches().total(), 0u) << log();
}

TEST_F(AirHost, ConsoleCaptureSeesPrintfFromEveryThreadInOrder) {
  std::string text;
  {
    air::ConsoleCapture console;
    ctx->call("print", {std::string("one")});
    EXPECT_EQ(console.take(), "\nmain one\nthread one");
    std::thread writer([] { std::printf("\nfrom a thread %d", 42); });
    writer.join();
    ctx->dispose();
    text = console.text();
  }
  EXPECT_EQ(text, "\nfrom a thread 42\ncontext finalized");
}

TEST_F(AirHost, CaptureKeepsUpWithLargeOutput) {
  air::ConsoleCapture console;
  std::string line(1000, 'x');
  for (int i = 0; i < 200; ++i) std::printf("%s\n", line.c_str());
  EXPECT_EQ(console.text().size(), 200u * 1001u);
}

namespace linked {
FREObject twice(FREContext, void*, uint32_t argc, FREObject argv[]) {
  int32_t v = 0;
  if (argc > 0) FREGetObjectAsInt32(argv[0], &v);
  FREObject out = nullptr;
  FRENewObjectFromInt32(v * 2, &out);
  return out;
}
const FRENamedFunction kTable[] = {{reinterpret_cast<const uint8_t*>("twice"), nullptr, twice}};
std::atomic<int> finalized{0};
void contextInit(void*, const uint8_t*, FREContext, uint32_t* n, const FRENamedFunction** f) {
  *n = 1;
  *f = kTable;
}
void contextFin(FREContext) { ++finalized; }
void init(void** data, FREContextInitializer* ci, FREContextFinalizer* cf) {
  *data = nullptr;
  *ci = contextInit;
  *cf = contextFin;
}
}  // namespace linked

TEST(AirLinked, AnExtensionLinkedIntoTheProgramRunsLikeALoadedOne) {
  air::resetBreaches();
  linked::finalized = 0;
  auto ext = air::Extension::fromInitializer(linked::init, nullptr);
  ASSERT_TRUE(ext);
  auto a = ext->createContext();
  auto b = ext->createContext();
  EXPECT_EQ(a->call("twice", {int32_t(21)}), air::Value(int32_t(42)));
  a.reset();
  EXPECT_EQ(linked::finalized, 1);
  ext.reset();  // disposes the context still alive
  EXPECT_EQ(linked::finalized, 2);
  EXPECT_TRUE(b->disposed());
  EXPECT_EQ(b->call("twice", {int32_t(1)}), air::Value(air::Null{}));
  EXPECT_EQ(air::breaches().total(), 0u);
}
