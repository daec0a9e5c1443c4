// Loads the test extension afresh for each test and starts from zero breaches.
#pragma once

#include <gtest/gtest.h>

#include "air/host.h"

class AirFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    air::setBitmapLayout(false, 0);
    air::setBreachEcho(false);
    air::resetBreaches();
    std::string error;
    ext = air::Extension::load(AIR_TEST_EXTENSION, "AirTestInitializer", "AirTestFinalizer", &error);
    ASSERT_TRUE(ext) << error;
    ctx = ext->createContext("test");
    ASSERT_TRUE(ctx);
  }
  void TearDown() override {
    ctx.reset();
    ext.reset();
    air::setBitmapLayout(false, 0);
    air::setBreachEcho(true);
  }
  static std::string log() {
    std::string s;
    for (const auto& line : air::breachLog()) s += line + "\n";
    return s;
  }
  std::unique_ptr<air::Extension> ext;
  std::unique_ptr<air::Context> ctx;
};
