// The one owner of a COM interface pointer in the adapters: it holds one
// reference and releases it once. Move-only, as a copy would release twice.
#pragma once

#include <memory>

#include "win32/windows_api.h"

// After <windows.h>: IUnknown.
#include <unknwn.h>

namespace glimmer::win32 {

struct ComReleaser {
  void operator()(IUnknown* object) const { object->Release(); }
};

template <typename Interface>
using ComPtr = std::unique_ptr<Interface, ComReleaser>;

}  // namespace glimmer::win32
