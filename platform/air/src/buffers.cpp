// The buffers of the native-extension C interface: acquiring and releasing
// a BitmapData's pixels or a ByteArray's bytes, and invalidating a rectangle.
#include "calls.h"

using namespace air;
using namespace air::detail;

namespace {

uint8_t kEmptyBytes[1];

FREResult acquireBitmap(const char* fn, FREObject object, FREBitmapData2* out) {
  return withObject(fn, object, Allow::Nothing, {{out, "descriptor"}}, [&](Runtime& r, const Value* v) {
    auto p = std::get_if<std::shared_ptr<Bitmap>>(v);
    if (!p || !*p) return FRE_TYPE_MISMATCH;
    Bitmap& b = **p;
    normaliseBitmap(b);
    out->width = b.width;
    out->height = b.height;
    out->hasAlpha = b.transparent ? 1 : 0;
    out->isPremultiplied = 1;
    out->lineStride32 = b.stride32;
    out->isInvertedY = b.invertedY ? 1 : 0;
    out->bits32 = b.words.empty() ? reinterpret_cast<uint32_t*>(kEmptyBytes) : b.words.data();
    r.acquired = reinterpret_cast<uintptr_t>(object);
    r.acquiredIsBitmap = true;
    return FRE_OK;
  });
}

}  // namespace

extern "C" {

FREResult FREAcquireBitmapData(FREObject object, FREBitmapData* descriptorToSet) {
  const char* fn = "FREAcquireBitmapData";
  return guarded([&] {
    FREBitmapData2 d{};
    // The plain descriptor has no row order: it sees the rows as stored.
    FREResult result = acquireBitmap(fn, object, descriptorToSet ? &d : nullptr);
    if (result == FRE_OK) {
      descriptorToSet->width = d.width;
      descriptorToSet->height = d.height;
      descriptorToSet->hasAlpha = d.hasAlpha;
      descriptorToSet->isPremultiplied = d.isPremultiplied;
      descriptorToSet->lineStride32 = d.lineStride32;
      descriptorToSet->bits32 = d.bits32;
    }
    return result;
  });
}

FREResult FREAcquireBitmapData2(FREObject object, FREBitmapData2* descriptorToSet) {
  const char* fn = "FREAcquireBitmapData2";
  return guarded([&] { return acquireBitmap(fn, object, descriptorToSet); });
}

FREResult FREReleaseBitmapData(FREObject object) {
  const char* fn = "FREReleaseBitmapData";
  return withObject(fn, object, Allow::ReleaseBitmap, {}, [&](Runtime& r, const Value* v) {
    if (!std::holds_alternative<std::shared_ptr<Bitmap>>(*v)) return FRE_TYPE_MISMATCH;
    if (r.acquired != reinterpret_cast<uintptr_t>(object)) {
      countBreach(r, Breach::IllegalState, fn, "the BitmapData is not acquired");
      return FRE_ILLEGAL_STATE;
    }
    r.acquired = 0;
    return FRE_OK;
  });
}

FREResult FREInvalidateBitmapDataRect(FREObject object, uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
  const char* fn = "FREInvalidateBitmapDataRect";
  return withObject(fn, object, Allow::Invalidate, {}, [&](Runtime& r, const Value* v) {
    auto p = std::get_if<std::shared_ptr<Bitmap>>(v);
    if (!p) return FRE_TYPE_MISMATCH;
    if (r.acquired != reinterpret_cast<uintptr_t>(object)) {
      countBreach(r, Breach::IllegalState, fn, "the BitmapData is not acquired");
      return FRE_ILLEGAL_STATE;
    }
    const Bitmap& b = **p;
    if (uint64_t(x) + width > b.width || uint64_t(y) + height > b.height) {
      countBreach(r, Breach::InvalidArgument, fn, "rectangle outside the bitmap");
      return FRE_INVALID_ARGUMENT;
    }
    ++(*p)->invalidations;
    return FRE_OK;
  });
}

FREResult FREAcquireByteArray(FREObject object, FREByteArray* byteArrayToSet) {
  const char* fn = "FREAcquireByteArray";
  return withObject(fn, object, Allow::Nothing, {{byteArrayToSet, "byteArrayToSet"}}, [&](Runtime& r, const Value* v) {
    auto p = std::get_if<std::shared_ptr<ByteArray>>(v);
    if (!p || !*p) return FRE_TYPE_MISMATCH;
    std::vector<uint8_t>& bytes = (*p)->bytes;
    byteArrayToSet->length = uint32_t(bytes.size());
    byteArrayToSet->bytes = bytes.empty() ? kEmptyBytes : bytes.data();
    r.acquired = reinterpret_cast<uintptr_t>(object);
    r.acquiredIsBitmap = false;
    return FRE_OK;
  });
}

FREResult FREReleaseByteArray(FREObject object) {
  const char* fn = "FREReleaseByteArray";
  return withObject(fn, object, Allow::ReleaseBytes, {}, [&](Runtime& r, const Value* v) {
    if (!std::holds_alternative<std::shared_ptr<ByteArray>>(*v)) return FRE_TYPE_MISMATCH;
    if (r.acquired != reinterpret_cast<uintptr_t>(object)) {
      countBreach(r, Breach::IllegalState, fn, "the ByteArray is not acquired");
      return FRE_ILLEGAL_STATE;
    }
    r.acquired = 0;
    return FRE_OK;
  });
}
}  // extern "C"
