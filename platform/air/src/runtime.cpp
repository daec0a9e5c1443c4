// The native-extension C interface of the runtime stand-in.
//
// Every function checks, in this order: the thread rule (it must run on the
// thread that has a call into the extension outstanding), the acquire rule
// (nothing but the release, or FREInvalidateBitmapDataRect for a bitmap, while
// a ByteArray or BitmapData is acquired), null pointer arguments, and the
// lifetime of each FREObject passed in. Each refusal is counted as a breach.
//
// A null FREObject is how extension code commonly spells ActionScript null
// (and what a missing argument reads as), so it is not a breach: it has type
// FRE_TYPE_NULL, FREGetObjectAs* and the acquires answer FRE_TYPE_MISMATCH,
// and reading or writing a property of it answers FRE_ACTIONSCRIPT_ERROR with
// a thrown error object, as ActionScript's null reference error would. Only
// null pointers to the results or texts are breaches (FRE_INVALID_ARGUMENT).
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <new>

#include "calls.h"

using namespace air;
using namespace air::detail;

namespace {

// The largest ByteArray the stand-in makes; beyond it "length" answers as if
// memory ran out, which is what a huge length does to the real runtime.
constexpr uint64_t kMaxByteArrayLength = 1ull << 30;
// The largest BitmapData, in pixels (the real limit depends on the system).
constexpr uint64_t kMaxBitmapPixels = 1ull << 26;

// Exact readers: the number must be representable in the asked type.
bool exactInt32(const Value& v, int32_t* out) {
  if (auto p = std::get_if<int32_t>(&v)) return *out = *p, true;
  if (auto p = std::get_if<uint32_t>(&v)) {
    if (*p > uint32_t(std::numeric_limits<int32_t>::max())) return false;
    return *out = int32_t(*p), true;
  }
  if (auto p = std::get_if<double>(&v)) {
    if (!(*p >= -2147483648.0 && *p <= 2147483647.0) || std::trunc(*p) != *p) return false;
    return *out = int32_t(*p), true;
  }
  return false;
}

bool exactUint32(const Value& v, uint32_t* out) {
  if (auto p = std::get_if<uint32_t>(&v)) return *out = *p, true;
  if (auto p = std::get_if<int32_t>(&v)) {
    if (*p < 0) return false;
    return *out = uint32_t(*p), true;
  }
  if (auto p = std::get_if<double>(&v)) {
    if (!(*p >= 0.0 && *p <= 4294967295.0) || std::trunc(*p) != *p) return false;
    return *out = uint32_t(*p), true;
  }
  return false;
}

bool numberOf(const Value& v, double* out) {
  if (auto p = std::get_if<int32_t>(&v)) return *out = *p, true;
  if (auto p = std::get_if<uint32_t>(&v)) return *out = *p, true;
  if (auto p = std::get_if<double>(&v)) return *out = *p, true;
  return false;
}

// ActionScript's coercions, as a constructor applies them to its arguments.
double toNumber(const Value& v) {
  double d = 0;
  if (numberOf(v, &d)) return d;
  if (auto p = std::get_if<bool>(&v)) return *p ? 1 : 0;
  if (auto p = std::get_if<std::string>(&v)) {
    if (p->empty()) return 0;
    char* end = nullptr;
    d = std::strtod(p->c_str(), &end);
    return (end && *end == 0) ? d : std::numeric_limits<double>::quiet_NaN();
  }
  if (std::holds_alternative<Null>(v)) return 0;
  return std::numeric_limits<double>::quiet_NaN();
}

uint32_t toUint32(const Value& v) {
  double d = toNumber(v);
  if (!std::isfinite(d)) return 0;
  double m = std::fmod(std::trunc(d), 4294967296.0);
  if (m < 0) m += 4294967296.0;
  return uint32_t(m);
}

int32_t toInt32(const Value& v) { return int32_t(toUint32(v)); }

bool toBoolean(const Value& v) {
  if (auto p = std::get_if<bool>(&v)) return *p;
  if (auto p = std::get_if<std::string>(&v)) return !p->empty();
  if (std::holds_alternative<Null>(v)) return false;
  double d = 0;
  if (numberOf(v, &d)) return d != 0 && !std::isnan(d);
  return true;
}

FREResult thrown(Runtime& r, FREObject* thrownException) {
  if (thrownException) *thrownException = adopt(r, std::make_shared<PlainObject>());
  return FRE_ACTIONSCRIPT_ERROR;
}

FREResult newPrimitive(const char* fn, Value value, FREObject* object) {
  return admitted(fn, Allow::Nothing, nullptr, [&](Runtime& r) {
    if (!object) return nullArgument(r, fn, "object");
    *object = adopt(r, std::move(value));
    return FRE_OK;
  });
}

FREResult newBitmapObject(Runtime& r, uint32_t argc, const Value* const* args, FREObject* object,
                          FREObject* thrownException) {
  // new BitmapData(width:int, height:int, transparent:Boolean = true, fillColor:uint = 0xFFFFFFFF)
  if (argc < 2) return thrown(r, thrownException);
  int32_t width = toInt32(*args[0]);
  int32_t height = toInt32(*args[1]);
  bool transparent = argc > 2 ? toBoolean(*args[2]) : true;
  uint32_t fill = argc > 3 ? toUint32(*args[3]) : 0xFFFFFFFFu;
  uint64_t stride = uint64_t(width > 0 ? width : 0) + r.bitmapExtraStride32;
  if (width <= 0 || height <= 0 || stride * uint64_t(height) > kMaxBitmapPixels)
    return thrown(r, thrownException);  // ArgumentError: Invalid BitmapData
  *object = adopt(r, makeBitmap(r, uint32_t(width), uint32_t(height), transparent, fill));
  return FRE_OK;
}

}  // namespace

extern "C" {

FREResult FREGetContextNativeData(FREContext ctx, void** nativeData) {
  const char* fn = "FREGetContextNativeData";
  return withContext(fn, ctx, {{nativeData, "nativeData"}}, [&](Runtime&, ContextState& state) {
    *nativeData = state.nativeData;
    return FRE_OK;
  });
}

FREResult FRESetContextNativeData(FREContext ctx, void* nativeData) {
  const char* fn = "FRESetContextNativeData";
  return withContext(fn, ctx, {}, [&](Runtime&, ContextState& state) {
    state.nativeData = nativeData;
    return FRE_OK;
  });
}

FREResult FREGetContextActionScriptData(FREContext ctx, FREObject* actionScriptData) {
  const char* fn = "FREGetContextActionScriptData";
  return withContext(fn, ctx, {{actionScriptData, "actionScriptData"}}, [&](Runtime& r, ContextState& state) {
    *actionScriptData = adopt(r, state.actionScriptData);
    return FRE_OK;
  });
}

FREResult FRESetContextActionScriptData(FREContext ctx, FREObject actionScriptData) {
  const char* fn = "FRESetContextActionScriptData";
  return guarded([&] {
    Runtime& r = runtime();
    std::lock_guard<std::mutex> g(r.lock);
    if (FREResult a = admit(r, fn); a != FRE_OK) return a;
    if (!ctx) return nullArgument(r, fn, "context");
    FREResult result = FRE_OK;
    const Value* v = resolve(r, fn, actionScriptData, &result);
    if (!v) return result;
    auto state = findContext(ctx);
    if (!state) return nullArgument(r, fn, "(unknown) context");
    state->actionScriptData = *v;
    return FRE_OK;
  });
}

FREResult FREGetObjectType(FREObject object, FREObjectType* objectType) {
  const char* fn = "FREGetObjectType";
  return withObject(fn, object, Allow::Nothing, {{objectType, "objectType"}}, [&](Runtime&, const Value* v) {
    static const FREObjectType kTypes[] = {FRE_TYPE_NULL,   FRE_TYPE_BOOLEAN,   FRE_TYPE_NUMBER,
                                           FRE_TYPE_NUMBER, FRE_TYPE_NUMBER,    FRE_TYPE_STRING,
                                           FRE_TYPE_BYTEARRAY, FRE_TYPE_BITMAPDATA, FRE_TYPE_OBJECT};
    static_assert(std::variant_size_v<Value> == sizeof(kTypes) / sizeof(kTypes[0]));
    *objectType = kTypes[v->index()];
    return FRE_OK;
  });
}

FREResult FREGetObjectAsInt32(FREObject object, int32_t* value) {
  const char* fn = "FREGetObjectAsInt32";
  return withObject(fn, object, Allow::Nothing, {{value, "value"}}, [&](Runtime&, const Value* v) {
    return exactInt32(*v, value) ? FRE_OK : FRE_TYPE_MISMATCH;
  });
}

FREResult FREGetObjectAsUint32(FREObject object, uint32_t* value) {
  const char* fn = "FREGetObjectAsUint32";
  return withObject(fn, object, Allow::Nothing, {{value, "value"}}, [&](Runtime&, const Value* v) {
    return exactUint32(*v, value) ? FRE_OK : FRE_TYPE_MISMATCH;
  });
}

FREResult FREGetObjectAsDouble(FREObject object, double* value) {
  const char* fn = "FREGetObjectAsDouble";
  return withObject(fn, object, Allow::Nothing, {{value, "value"}}, [&](Runtime&, const Value* v) {
    return numberOf(*v, value) ? FRE_OK : FRE_TYPE_MISMATCH;
  });
}

FREResult FREGetObjectAsBool(FREObject object, uint32_t* value) {
  const char* fn = "FREGetObjectAsBool";
  return withObject(fn, object, Allow::Nothing, {{value, "value"}}, [&](Runtime&, const Value* v) {
    auto p = std::get_if<bool>(v);
    if (!p) return FRE_TYPE_MISMATCH;
    *value = *p ? 1 : 0;
    return FRE_OK;
  });
}

FREResult FREGetObjectAsUTF8(FREObject object, uint32_t* length, const uint8_t** value) {
  const char* fn = "FREGetObjectAsUTF8";
  return withObject(fn, object, Allow::Nothing, {{length, "length"}, {value, "value"}}, [&](Runtime&, const Value* v) {
    auto p = std::get_if<std::string>(v);
    if (!p) return FRE_TYPE_MISMATCH;
    // The object's own storage: zero-terminated, alive until the call returns.
    *length = uint32_t(p->size());
    *value = reinterpret_cast<const uint8_t*>(p->c_str());
    return FRE_OK;
  });
}

FREResult FRENewObjectFromInt32(int32_t value, FREObject* object) {
  return newPrimitive("FRENewObjectFromInt32", value, object);
}
FREResult FRENewObjectFromUint32(uint32_t value, FREObject* object) {
  return newPrimitive("FRENewObjectFromUint32", value, object);
}
FREResult FRENewObjectFromDouble(double value, FREObject* object) {
  return newPrimitive("FRENewObjectFromDouble", value, object);
}
FREResult FRENewObjectFromBool(uint32_t value, FREObject* object) {
  return newPrimitive("FRENewObjectFromBool", value != 0, object);
}

FREResult FRENewObjectFromUTF8(uint32_t length, const uint8_t* value, FREObject* object) {
  const char* fn = "FRENewObjectFromUTF8";
  return guarded([&] {
    Runtime& r = runtime();
    std::lock_guard<std::mutex> g(r.lock);
    if (FREResult a = admit(r, fn); a != FRE_OK) return a;
    if (!value) return nullArgument(r, fn, "value");
    if (!object) return nullArgument(r, fn, "object");
    // Both conventions give the same String: a final zero within length is
    // the terminator, not text. Zeros before it are kept.
    uint32_t n = (length > 0 && value[length - 1] == 0) ? length - 1 : length;
    *object = adopt(r, std::string(reinterpret_cast<const char*>(value), n));
    return FRE_OK;
  });
}

FREResult FRENewObject(const uint8_t* className, uint32_t argc, FREObject argv[], FREObject* object,
                       FREObject* thrownException) {
  const char* fn = "FRENewObject";
  return guarded([&] {
    Runtime& r = runtime();
    std::lock_guard<std::mutex> g(r.lock);
    if (FREResult a = admit(r, fn); a != FRE_OK) return a;
    if (!className) return nullArgument(r, fn, "className");
    if (!object) return nullArgument(r, fn, "object");
    if (argc > 0 && !argv) return nullArgument(r, fn, "argv");
    std::vector<const Value*> args(argc);
    for (uint32_t i = 0; i < argc; ++i) {
      FREResult result = FRE_OK;
      args[i] = resolve(r, fn, argv[i], &result);
      if (!args[i]) return result;
    }
    *object = nullptr;
    if (thrownException) *thrownException = nullptr;
    std::string name(reinterpret_cast<const char*>(className));
    if (name == "flash.display.BitmapData") return newBitmapObject(r, argc, args.data(), object, thrownException);
    if (name == "flash.utils.ByteArray") {
      *object = adopt(r, std::make_shared<ByteArray>());
      return FRE_OK;
    }
    if (name == "Object") {
      *object = adopt(r, std::make_shared<PlainObject>());
      return FRE_OK;
    }
    return FRE_NO_SUCH_NAME;
  });
}

FREResult FREGetObjectProperty(FREObject object, const uint8_t* propertyName, FREObject* propertyValue,
                               FREObject* thrownException) {
  const char* fn = "FREGetObjectProperty";
  return withObject(fn, object, Allow::Nothing, {{propertyName, "propertyName"}, {propertyValue, "propertyValue"}}, [&](Runtime& r, const Value* v) {
    *propertyValue = nullptr;
    if (thrownException) *thrownException = nullptr;
    if (std::holds_alternative<Null>(*v)) return thrown(r, thrownException);  // null has no properties
    std::string name(reinterpret_cast<const char*>(propertyName));
    if (auto p = std::get_if<std::shared_ptr<ByteArray>>(v)) {
      if (name == "length") {
        *propertyValue = adopt(r, uint32_t((*p)->bytes.size()));
        return FRE_OK;
      }
    } else if (auto b = std::get_if<std::shared_ptr<Bitmap>>(v)) {
      if (name == "width" || name == "height") {
        *propertyValue = adopt(r, int32_t(name == "width" ? (*b)->width : (*b)->height));
        return FRE_OK;
      }
      if (name == "transparent") {
        *propertyValue = adopt(r, (*b)->transparent);
        return FRE_OK;
      }
    }
    return FRE_NO_SUCH_NAME;
  });
}

FREResult FRESetObjectProperty(FREObject object, const uint8_t* propertyName, FREObject propertyValue,
                               FREObject* thrownException) {
  const char* fn = "FRESetObjectProperty";
  return withObject(fn, object, Allow::Nothing, {{propertyName, "propertyName"}}, [&](Runtime& r, const Value* v) {
    FREResult result = FRE_OK;
    const Value* value = resolve(r, fn, propertyValue, &result);
    if (!value) return result;
    if (thrownException) *thrownException = nullptr;
    if (std::holds_alternative<Null>(*v)) return thrown(r, thrownException);
    std::string name(reinterpret_cast<const char*>(propertyName));
    if (auto p = std::get_if<std::shared_ptr<ByteArray>>(v)) {
      if (name == "length") {
        uint32_t n = toUint32(*value);  // ActionScript coerces the value to uint
        if (n > kMaxByteArrayLength) return FRE_INSUFFICIENT_MEMORY;
        (*p)->bytes.resize(n, 0);
        return FRE_OK;
      }
    } else if (std::holds_alternative<std::shared_ptr<Bitmap>>(*v)) {
      if (name == "width" || name == "height" || name == "transparent") return FRE_READ_ONLY;
    }
    return FRE_NO_SUCH_NAME;
  });
}


FREResult FREDispatchStatusEventAsync(FREContext ctx, const uint8_t* code, const uint8_t* level) {
  const char* fn = "FREDispatchStatusEventAsync";
  return guarded([&] {
    Runtime& r = runtime();
    {
      std::lock_guard<std::mutex> g(r.lock);
      if (!ctx) return nullArgument(r, fn, "context");
      if (!code) return nullArgument(r, fn, "code");
      if (!level) return nullArgument(r, fn, "level");
      // Any thread may dispatch; on the main thread the acquire rule holds.
      bool onMain = !r.frames.empty() && r.frames.back().thread == std::this_thread::get_id();
      if (onMain && r.acquired != 0) {
        countBreach(r, Breach::IllegalState, fn, "a ByteArray or BitmapData is acquired");
        return FRE_ILLEGAL_STATE;
      }
    }
    Event event{reinterpret_cast<const char*>(code), reinterpret_cast<const char*>(level)};
    auto state = findContext(ctx);
    if (!state) return FRE_INVALID_ARGUMENT;  // not a context handle at all
    std::shared_ptr<DispatchHoldState> hold;
    {
      std::lock_guard<std::mutex> g(r.lock);
      if (r.armedHold && r.armedHold->code == event.code) hold = std::move(r.armedHold);
    }
    std::unique_lock<std::mutex> g(state->eventLock);
    if (hold) {
      // The test seam (DispatchHold): wait here, before the context's
      // retirement is looked at, until it is retired or the limit passes.
      hold->moveTo(DispatchHold::Stage::Holding);
      const bool retired = state->eventReady.wait_for(g, hold->limit, [&] { return state->disposed; });
      hold->moveTo(retired ? DispatchHold::Stage::ContextRetired : DispatchHold::Stage::TimedOut);
    }
    if (state->disposed) {
      ++state->dropped;  // the context is gone: nothing reaches ActionScript
      ++runtime().eventsAfterFinalize;
      return FRE_INVALID_ARGUMENT;
    }
    state->events.push_back(std::move(event));
    state->eventReady.notify_all();
    return FRE_OK;
  });
}

}  // extern "C"
