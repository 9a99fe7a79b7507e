// Owners of what the system hands out to be closed or freed once: kernel
// handles (CloseHandle) and LocalAlloc'd memory (LocalFree).
#pragma once

#include <memory>
#include <type_traits>

#include "win32/windows_api.h"

namespace glimmer::win32 {

struct HandleCloser {
  void operator()(HANDLE handle) const {
    if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};
using OwnedHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

struct LocalFreer {
  void operator()(void* memory) const { LocalFree(memory); }
};

}  // namespace glimmer::win32
