// SdkVector: the SDK's array.
// Assumption: the SDK's array is count, capacity and element storage, in that
// order; storage comes only from the SDK's allocator; elements are
// constructed in place and destroyed before the storage is freed.
#pragma once

#include <cstdint>
#include <new>
#include <utility>

#include "ilive/sdk/alloc.h"

namespace ilive {

template <class T>
class SdkVector {
 public:
  SdkVector() = default;
  SdkVector(const SdkVector& other) { copyFrom(other); }
  SdkVector(SdkVector&& other) noexcept
      : count_(std::exchange(other.count_, 0u)),
        capacity_(std::exchange(other.capacity_, 0u)),
        items_(std::exchange(other.items_, nullptr)) {}
  ~SdkVector() { release(); }

  SdkVector& operator=(const SdkVector& other) {
    if (this != &other) {
      release();
      copyFrom(other);
    }
    return *this;
  }
  SdkVector& operator=(SdkVector&& other) noexcept {
    if (this != &other) {
      release();
      count_ = std::exchange(other.count_, 0u);
      capacity_ = std::exchange(other.capacity_, 0u);
      items_ = std::exchange(other.items_, nullptr);
    }
    return *this;
  }

  uint32_t size() const { return count_; }
  uint32_t capacity() const { return capacity_; }
  bool empty() const { return count_ == 0; }
  T& operator[](uint32_t i) { return items_[i]; }
  const T& operator[](uint32_t i) const { return items_[i]; }
  T* begin() { return items_; }
  T* end() { return items_ + count_; }
  const T* begin() const { return items_; }
  const T* end() const { return items_ + count_; }

  // false when the storage could not grow (nothing appended).
  bool push_back(const T& value) {
    if (count_ == capacity_ && !reserve(capacity_ ? capacity_ * 2 : 4)) return false;
    new (items_ + count_) T(value);
    ++count_;
    return true;
  }

  bool reserve(uint32_t wanted) {
    if (wanted <= capacity_) return true;
    if (wanted > 0x7fffffffu / sizeof(T)) return false;
    T* grown = static_cast<T*>(iliveMalloc(sizeof(T) * wanted));
    if (!grown) return false;
    for (uint32_t i = 0; i < count_; ++i) {
      new (grown + i) T(std::move(items_[i]));
      items_[i].~T();
    }
    if (items_) iliveFree(items_);
    items_ = grown;
    capacity_ = wanted;
    return true;
  }

  // Destroys the elements and frees the storage: count and capacity 0.
  void release() {
    for (uint32_t i = 0; i < count_; ++i) items_[i].~T();
    if (items_) iliveFree(items_);
    items_ = nullptr;
    count_ = capacity_ = 0;
  }

 private:
  void copyFrom(const SdkVector& other) {
    if (other.count_ == 0 || !reserve(other.count_)) return;
    for (uint32_t i = 0; i < other.count_; ++i) new (items_ + i) T(other.items_[i]);
    count_ = other.count_;
  }

  uint32_t count_ = 0;
  uint32_t capacity_ = 0;
  T* items_ = nullptr;
};

template <class A, class B>
struct SdkPair {
  A first;
  B second;
};

}  // namespace ilive
