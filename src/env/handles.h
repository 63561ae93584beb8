// One RAII type per Win32 handle kind. Each owns its handle, cannot be copied, can be moved.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <utility>

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;
  UniqueHandle() : handle_(Traits::Invalid()) {}
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  Handle Get() const { return handle_; }
  bool Valid() const { return handle_ != Traits::Invalid(); }
  explicit operator bool() const { return Valid(); }
  Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
  void Reset(Handle handle = Traits::Invalid()) {
    if (Valid()) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_;
};

struct KernelHandleTraits {  // files, tokens, processes
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { CloseHandle(h); }
};
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { FindClose(h); }
};
struct RegKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { RegCloseKey(h); }
};
struct GdiObjectTraits {
  using Handle = HGDIOBJ;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { DeleteObject(h); }
};
struct SidTraits {
  using Handle = PSID;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { FreeSid(h); }
};

struct ItemIdListTraits {  // shell item id lists, allocated by the shell's task allocator
  using Handle = void*;
  static Handle Invalid() { return nullptr; }
  // Through the shell's own interface to that allocator: the component library is not
  // imported (see system_library.h).
  static void Close(Handle h) {
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator))) return;
    allocator->Free(h);
    allocator->Release();
  }
};
template <typename Interface>
struct ComPtrTraits {
  using Handle = Interface*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { h->Release(); }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using RegKey = UniqueHandle<RegKeyTraits>;
using GdiObject = UniqueHandle<GdiObjectTraits>;
using SidHandle = UniqueHandle<SidTraits>;
using ItemIdList = UniqueHandle<ItemIdListTraits>;
template <typename Interface>
using ComPtr = UniqueHandle<ComPtrTraits<Interface>>;

// A file handle opened with CreateFileA is INVALID_HANDLE_VALUE on failure; keep one convention.
inline KernelHandle FromCreateFile(HANDLE h) { return KernelHandle(h == INVALID_HANDLE_VALUE ? nullptr : h); }
