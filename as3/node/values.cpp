#include "values.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

namespace as3node {

air::Value toHost(const Napi::Value& v) {
  if (v.IsNull() || v.IsUndefined()) return air::Null{};
  if (v.IsBoolean()) return v.As<Napi::Boolean>().Value();
  if (v.IsNumber()) {
    // ActionScript keeps integral values as int (or uint above the int range).
    const double d = v.As<Napi::Number>().DoubleValue();
    if (std::isfinite(d) && std::floor(d) == d) {
      if (d >= -2147483648.0 && d <= 2147483647.0) return static_cast<int32_t>(d);
      if (d >= 0 && d <= 4294967295.0) return static_cast<uint32_t>(d);
    }
    return d;
  }
  if (v.IsString()) return v.As<Napi::String>().Utf8Value();
  if (v.IsObject()) {
    Napi::Object o = v.As<Napi::Object>();
    const Napi::Value kind = o.Get("kind");
    if (kind.IsString()) {
      const std::string k = kind.As<Napi::String>().Utf8Value();
      if (k == "ByteArray") {
        auto b = std::make_shared<air::ByteArray>();
        const Napi::Value bytes = o.Get("bytes");
        if (bytes.IsTypedArray()) {
          Napi::Uint8Array a = bytes.As<Napi::Uint8Array>();
          b->bytes.assign(a.Data(), a.Data() + a.ElementLength());
        }
        return b;
      }
      if (k == "BitmapData") {
        const uint32_t w = o.Get("width").As<Napi::Number>().Uint32Value();
        const uint32_t h = o.Get("height").As<Napi::Number>().Uint32Value();
        const bool transparent = o.Get("transparent").ToBoolean().Value();
        auto b = air::newBitmap(w, h, transparent, 0);
        const Napi::Value pixels = o.Get("pixels");
        if (pixels.IsTypedArray()) {
          Napi::Uint32Array p = pixels.As<Napi::Uint32Array>();
          if (p.ElementLength() >= size_t(w) * h)
            for (uint32_t y = 0; y < h; ++y)
              for (uint32_t x = 0; x < w; ++x) b->setPixel(x, y, p[size_t(y) * w + x]);
        }
        return b;
      }
    }
    return std::make_shared<air::PlainObject>();
  }
  return air::Null{};
}

Napi::Value bytesOf(Napi::Env env, const air::ByteArray& b) {
  Napi::Uint8Array a = Napi::Uint8Array::New(env, b.bytes.size());
  if (!b.bytes.empty()) std::memcpy(a.Data(), b.bytes.data(), b.bytes.size());
  return a;
}

Napi::Value pixelsOf(Napi::Env env, const air::Bitmap& b) {
  Napi::Uint32Array p = Napi::Uint32Array::New(env, size_t(b.width) * b.height);
  for (uint32_t y = 0; y < b.height; ++y)
    for (uint32_t x = 0; x < b.width; ++x) p[size_t(y) * b.width + x] = b.pixel(x, y);
  return p;
}

Napi::Value toScript(Napi::Env env, const air::Value& v, const std::vector<air::Value>& args) {
  if (std::holds_alternative<air::Null>(v)) return env.Null();
  if (auto p = std::get_if<bool>(&v)) return Napi::Boolean::New(env, *p);
  if (auto p = std::get_if<int32_t>(&v)) return Napi::Number::New(env, *p);
  if (auto p = std::get_if<uint32_t>(&v)) return Napi::Number::New(env, *p);
  if (auto p = std::get_if<double>(&v)) return Napi::Number::New(env, *p);
  if (auto p = std::get_if<std::string>(&v)) return Napi::String::New(env, *p);
  // An object the call was given comes back as that same object.
  for (size_t i = 0; i < args.size(); ++i) {
    const bool same = (std::holds_alternative<std::shared_ptr<air::ByteArray>>(v) &&
                       std::holds_alternative<std::shared_ptr<air::ByteArray>>(args[i]) &&
                       std::get<std::shared_ptr<air::ByteArray>>(v) == std::get<std::shared_ptr<air::ByteArray>>(args[i])) ||
                      (std::holds_alternative<std::shared_ptr<air::Bitmap>>(v) &&
                       std::holds_alternative<std::shared_ptr<air::Bitmap>>(args[i]) &&
                       std::get<std::shared_ptr<air::Bitmap>>(v) == std::get<std::shared_ptr<air::Bitmap>>(args[i])) ||
                      (std::holds_alternative<std::shared_ptr<air::PlainObject>>(v) &&
                       std::holds_alternative<std::shared_ptr<air::PlainObject>>(args[i]) &&
                       std::get<std::shared_ptr<air::PlainObject>>(v) ==
                           std::get<std::shared_ptr<air::PlainObject>>(args[i]));
    if (same) {
      Napi::Object o = Napi::Object::New(env);
      o.Set("arg", Napi::Number::New(env, double(i)));
      return o;
    }
  }
  Napi::Object o = Napi::Object::New(env);
  if (auto p = std::get_if<std::shared_ptr<air::ByteArray>>(&v); p && *p) {
    o.Set("kind", "ByteArray");
    o.Set("bytes", bytesOf(env, **p));
  } else if (auto p = std::get_if<std::shared_ptr<air::Bitmap>>(&v); p && *p) {
    o.Set("kind", "BitmapData");
    o.Set("width", Napi::Number::New(env, (*p)->width));
    o.Set("height", Napi::Number::New(env, (*p)->height));
    o.Set("transparent", Napi::Boolean::New(env, (*p)->transparent));
    o.Set("pixels", pixelsOf(env, **p));
  }
  return o;
}

}  // namespace as3node
