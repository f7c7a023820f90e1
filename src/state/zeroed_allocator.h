// An allocator for the large work arrays: zeroed memory from calloc, elements left as
// allocated, so an array costs nothing until a job touches it (the system hands out
// zeroed pages lazily) yet reads as all zeros.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace kova::state {

template <typename T>
struct ZeroedAllocator {
  static_assert(std::is_trivial_v<T>, "calloc's zero bytes must be the value of a fresh element");
  using value_type = T;

  ZeroedAllocator() = default;
  template <typename U>
  explicit ZeroedAllocator(const ZeroedAllocator<U>& /*other*/) noexcept {}

  T* allocate(std::size_t n) {
    if (void* p = std::calloc(n, sizeof(T))) return static_cast<T*>(p);
    throw std::bad_alloc();
  }
  void deallocate(T* p, std::size_t /*n*/) noexcept { std::free(p); }

  // A value-initialised element is the zero calloc already gave (calloc's storage holds
  // trivial objects of its bytes' value); any other construction is the usual one.
  template <typename U>
  void construct(U* /*p*/) noexcept {}
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }

  friend bool operator==(const ZeroedAllocator& /*a*/, const ZeroedAllocator& /*b*/) { return true; }
};

template <typename T>
using WorkVector = std::vector<T, ZeroedAllocator<T>>;

}  // namespace kova::state
