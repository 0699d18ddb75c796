// Owners for Win32 handles and COM pointers: each closes or releases what it holds.
#pragma once

#include <windows.h>
#include <utility>

template <typename T, typename Closer, T Invalid>
class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(T h) : h_(h) {}
  ~ScopedHandle() { reset(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& o) noexcept : h_(std::exchange(o.h_, Invalid)) {}
  ScopedHandle& operator=(ScopedHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Invalid));
    return *this;
  }
  T get() const { return h_; }
  bool valid() const { return h_ != Invalid; }
  explicit operator bool() const { return valid(); }
  T release() { return std::exchange(h_, Invalid); }
  void reset(T h = Invalid) {
    if (h_ != Invalid) Closer()(h_);
    h_ = h;
  }
  T* out() {
    reset();
    return &h_;
  }

 private:
  T h_ = Invalid;
};

struct CloseHandleFn { void operator()(HANDLE h) const { ::CloseHandle(h); } };
struct FindCloseFn { void operator()(HANDLE h) const { ::FindClose(h); } };
struct RegCloseKeyFn { void operator()(HKEY h) const { ::RegCloseKey(h); } };
struct DestroyIconFn { void operator()(HICON h) const { ::DestroyIcon(h); } };
struct DeleteObjectFn { void operator()(HGDIOBJ h) const { ::DeleteObject(h); } };
struct FreeLibraryFn { void operator()(HMODULE h) const { ::FreeLibrary(h); } };

// Process, thread, mutex handles: 0 is "none".
using UniqueHandle = ScopedHandle<HANDLE, CloseHandleFn, nullptr>;
// File and find handles use INVALID_HANDLE_VALUE for "none"; it is not a constant
// expression, so these owners compare against it at run time.
class UniqueFileHandle {
 public:
  UniqueFileHandle() = default;
  explicit UniqueFileHandle(HANDLE h) : h_(h) {}
  ~UniqueFileHandle() { reset(); }
  UniqueFileHandle(const UniqueFileHandle&) = delete;
  UniqueFileHandle& operator=(const UniqueFileHandle&) = delete;
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  void reset(HANDLE h = INVALID_HANDLE_VALUE) {
    if (valid()) ::CloseHandle(h_);
    h_ = h;
  }

 private:
  HANDLE h_ = INVALID_HANDLE_VALUE;
};
class UniqueFindHandle {
 public:
  explicit UniqueFindHandle(HANDLE h) : h_(h) {}
  ~UniqueFindHandle() {
    if (valid()) ::FindClose(h_);
  }
  UniqueFindHandle(const UniqueFindHandle&) = delete;
  UniqueFindHandle& operator=(const UniqueFindHandle&) = delete;
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};
using UniqueHKey = ScopedHandle<HKEY, RegCloseKeyFn, nullptr>;
using UniqueHIcon = ScopedHandle<HICON, DestroyIconFn, nullptr>;
using UniqueGdiObject = ScopedHandle<HGDIOBJ, DeleteObjectFn, nullptr>;
using UniqueModule = ScopedHandle<HMODULE, FreeLibraryFn, nullptr>;

// A COM interface pointer that is released when the owner goes.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  T** out() {
    reset();
    return &p_;
  }
  void** outVoid() { return reinterpret_cast<void**>(out()); }
  void reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};

// A BSTR freed with SysFreeString.
class ScopedBstr {
 public:
  explicit ScopedBstr(BSTR b = nullptr) : b_(b) {}
  ~ScopedBstr() { ::SysFreeString(b_); }
  ScopedBstr(const ScopedBstr&) = delete;
  ScopedBstr& operator=(const ScopedBstr&) = delete;
  BSTR get() const { return b_; }

 private:
  BSTR b_;
};
