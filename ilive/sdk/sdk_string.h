// SdkString: the SDK's reference-counted 8-bit text.
// Assumption: the SDK's text is one pointer to a block of reference count,
// length, capacity and the characters; copies share the block; the empty text
// is one shared static value that is never allocated or freed; blocks come
// only from the SDK's allocator (alloc.h).
#pragma once

#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <new>

#include "ilive/sdk/alloc.h"

namespace ilive {

class SdkString {
 public:
  SdkString() : rep_(emptyRep()) {}
  SdkString(const char* text) : rep_(emptyRep()) {  // NOLINT: implicit, as the SDK's own text type
    if (text) assign(text, iliveStrLen(text));
  }
  SdkString(const char* text, size_t length) : rep_(emptyRep()) { assign(text, length); }
  SdkString(const SdkString& other) : rep_(other.rep_) { addRef(rep_); }
  SdkString(SdkString&& other) noexcept : rep_(other.rep_) { other.rep_ = emptyRep(); }
  ~SdkString() { unref(rep_); }

  SdkString& operator=(const SdkString& other) {
    if (rep_ != other.rep_) {
      addRef(other.rep_);
      unref(rep_);
      rep_ = other.rep_;
    }
    return *this;
  }
  SdkString& operator=(SdkString&& other) noexcept {
    if (this != &other) {
      unref(rep_);
      rep_ = other.rep_;
      other.rep_ = emptyRep();
    }
    return *this;
  }

  const char* c_str() const { return rep_->text; }
  size_t size() const { return rep_->length; }
  size_t capacity() const { return rep_->capacity; }
  bool empty() const { return rep_->length == 0; }
  // True when this value shares the one static empty text (nothing allocated).
  bool isSharedEmpty() const { return rep_ == emptyRep(); }

  bool operator==(const SdkString& o) const {
    return size() == o.size() && std::memcmp(c_str(), o.c_str(), size()) == 0;
  }
  bool operator!=(const SdkString& o) const { return !(*this == o); }

  // Appends text. When the storage is too small or shared, it is replaced by
  // storage of exactly the new length (at least 32 characters) and the old text
  // copied over; otherwise the text is copied in place.
  SdkString& append(const char* text, size_t length) {
    if (length == 0) return *this;
    const size_t newLength = rep_->length + length;
    if (rep_->capacity < newLength || rep_->refs.load(std::memory_order_acquire) != 1) {
      Rep* grown = allocate(newLength < 32 ? 32 : newLength);
      if (!grown) return *this;
      iliveMemCpy(grown->text, rep_->text, rep_->length);
      grown->length = rep_->length;
      unref(rep_);
      rep_ = grown;
    }
    iliveMemCpy(rep_->text + rep_->length, text, length);
    rep_->length = static_cast<uint32_t>(newLength);
    rep_->text[newLength] = '\0';
    return *this;
  }
  SdkString& append(const SdkString& other) { return append(other.c_str(), other.size()); }
  SdkString& append(const char* text) { return text ? append(text, iliveStrLen(text)) : *this; }

  // printf into a fresh text: a first attempt in 32 characters; while the
  // result does not fit, the buffer is doubled (at least 256) and the text
  // formatted again.
  static SdkString format(const char* fmt, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 1, 2)))
#endif
  {
    va_list args;
    va_start(args, fmt);
    SdkString out = vformat(fmt, args);
    va_end(args);
    return out;
  }
  static SdkString vformat(const char* fmt, va_list args) {
    size_t bufferSize = 32;
    for (;;) {
      Rep* rep = allocate(bufferSize - 1);
      if (!rep) return SdkString();
      va_list copy;
      va_copy(copy, args);
      const int length = iliveVsnprintf(rep->text, bufferSize, fmt, copy);
      va_end(copy);
      if (length >= 0 && static_cast<size_t>(length) < bufferSize) {
        rep->length = static_cast<uint32_t>(length);
        SdkString out;
        out.rep_ = rep;
        return out;
      }
      iliveFree(rep);
      bufferSize = bufferSize * 2 < 256 ? 256 : bufferSize * 2;
      if (bufferSize > (1u << 30)) return SdkString();
    }
  }

 private:
  struct Rep {
    std::atomic<int32_t> refs;  // -1: the static empty value
    uint32_t length;
    uint32_t capacity;
    char text[1];
  };

  static Rep* emptyRep() {
    static Rep empty{{-1}, 0, 0, {'\0'}};
    return &empty;
  }
  static Rep* allocate(size_t capacity) {
    if (capacity > 0x7fffffffu) return nullptr;
    Rep* rep = static_cast<Rep*>(iliveMalloc(sizeof(Rep) + capacity));
    if (!rep) return nullptr;
    new (&rep->refs) std::atomic<int32_t>(1);
    rep->length = 0;
    rep->capacity = static_cast<uint32_t>(capacity);
    rep->text[0] = '\0';
    return rep;
  }
  static void addRef(Rep* rep) {
    if (rep->refs.load(std::memory_order_relaxed) >= 0) rep->refs.fetch_add(1, std::memory_order_relaxed);
  }
  static void unref(Rep* rep) {
    if (rep->refs.load(std::memory_order_acquire) < 0) return;
    if (rep->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) iliveFree(rep);
  }
  void assign(const char* text, size_t length) {
    if (!text || length == 0) return;
    Rep* rep = allocate(length);
    if (!rep) return;
    iliveMemCpy(rep->text, text, length);
    rep->text[length] = '\0';
    rep->length = static_cast<uint32_t>(length);
    unref(rep_);
    rep_ = rep;
  }

  Rep* rep_;
};

}  // namespace ilive
