#include "calls.h"

namespace air::detail {

const Value kNullValue{Null{}};

FREResult admit(Runtime& r, const char* fn, Allow allow, FREObject object) {
  if (r.frames.empty()) {
    countBreach(r, Breach::WrongThread, fn, "no call into the extension is outstanding");
    return FRE_WRONG_THREAD;
  }
  if (r.frames.back().thread != std::this_thread::get_id()) {
    countBreach(r, Breach::WrongThread, fn, "called off the main thread");
    return FRE_WRONG_THREAD;
  }
  if (r.acquired != 0) {
    bool same = reinterpret_cast<uintptr_t>(object) == r.acquired;
    bool allowed = (allow == Allow::ReleaseBytes && same && !r.acquiredIsBitmap) ||
                   ((allow == Allow::ReleaseBitmap || allow == Allow::Invalidate) && same && r.acquiredIsBitmap);
    if (!allowed) {
      countBreach(r, Breach::IllegalState, fn,
                  r.acquiredIsBitmap ? "a BitmapData is acquired" : "a ByteArray is acquired");
      return FRE_ILLEGAL_STATE;
    }
  }
  return FRE_OK;
}

FREResult nullArgument(Runtime& r, const char* fn, const char* what) {
  countBreach(r, Breach::InvalidArgument, fn, std::string("null ") + what);
  return FRE_INVALID_ARGUMENT;
}

const Value* resolve(Runtime& r, const char* fn, FREObject object, FREResult* result) {
  if (!object) return &kNullValue;
  if (const Value* v = find(r, object)) return v;
  countBreach(r, Breach::InvalidObject, fn, "the object's call has returned (or it never existed)");
  *result = FRE_INVALID_OBJECT;
  return nullptr;
}

}  // namespace air::detail
