// Reading ActionScript arguments. Every read goes through these functions: a
// failed conversion gives the neutral default (empty text, 0, false) and the
// call goes on. An argument that ActionScript did not pass at all is read
// exactly like one that failed to convert, so no function reads past argv.
#pragma once

#include <cstdint>
#include <string>

#include "FlashRuntimeExtensions.h"

namespace core {

std::string getString(FREObject object);
// As getString, into a text the caller keeps: once its capacity has grown,
// reading allocates nothing (the frame pulls read a user id on every call).
void getStringInto(FREObject object, std::string* out);
int32_t getInt32(FREObject object);
uint32_t getUint32(FREObject object);
bool getBool(FREObject object);
// Whether the object is a Boolean; *out is set only then (a switch that a
// wrong argument leaves as it was).
bool tryGetBool(FREObject object, bool* out);

// true when result is FRE_OK; the message describes the failure and is not printed.
bool checkResult(FREResult result, const char* message);

// The arguments of one call, indexed safely.
class Args {
 public:
  Args(uint32_t argc, FREObject argv[]) : argc_(argv ? argc : 0), argv_(argv) {}
  uint32_t size() const { return argc_; }
  FREObject object(uint32_t i) const { return i < argc_ ? argv_[i] : nullptr; }
  std::string string(uint32_t i) const { return i < argc_ ? getString(argv_[i]) : std::string(); }
  void stringInto(uint32_t i, std::string* out) const {
    if (i < argc_)
      getStringInto(argv_[i], out);
    else
      out->clear();
  }
  int32_t int32(uint32_t i) const { return i < argc_ ? getInt32(argv_[i]) : 0; }
  uint32_t uint32(uint32_t i) const { return i < argc_ ? getUint32(argv_[i]) : 0; }
  bool boolean(uint32_t i) const { return i < argc_ ? getBool(argv_[i]) : false; }
  bool tryBoolean(uint32_t i, bool* out) const { return i < argc_ && tryGetBool(argv_[i], out); }

 private:
  uint32_t argc_;
  FREObject* argv_;
};

}  // namespace core
