// What every Direct3D 9 port must do, whatever stands behind it. The suite
// runs natively against the fake in each staged configuration, and under Wine
// against d3d9.dll, so the display tests that stage hardware on the fake
// stage something the real runtime could report.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/direct3d9_port.h"

namespace glimmer::contract {

struct Direct3D9Implementation {
  std::string name;
  std::function<std::unique_ptr<Direct3D9Port>()> make;
};

inline void PrintTo(const Direct3D9Implementation& implementation, std::ostream* out) {
  *out << implementation.name;
}

inline std::string Direct3D9ImplementationName(
    const testing::TestParamInfo<Direct3D9Implementation>& info) {
  return info.param.name;
}

class Direct3D9Contract : public testing::TestWithParam<Direct3D9Implementation> {
 protected:
  void SetUp() override {
    port_ = GetParam().make();
    direct3d_ = port_->Direct3DCreate9(kD3dSdkVersion);
    ASSERT_NE(direct3d_, nullptr) << "no Direct3D 9 object";
    count_ = direct3d_->GetAdapterCount();
  }
  // Releases the object before its port.
  void TearDown() override { direct3d_.reset(); }

  // Wine reports the desktop of a group's second head as 0 x 0 in no format
  // (with that head's monitor at its place, and the first head's modes); no
  // other adapter may. The product copes: it records the adapter and picks
  // the first mode for it.
  bool HasNoDesktop(std::uint32_t adapter) const {
    D3dDisplayMode desktop{1, 1, 1, 1};
    D3dCaps caps;
    return direct3d_->GetAdapterDisplayMode(adapter, desktop) >= 0 && desktop.width == 0 &&
           desktop.height == 0 && desktop.format == kD3dFmtUnknown &&
           direct3d_->GetDeviceCaps(adapter, kD3dDevTypeHal, caps) >= 0 &&
           caps.adapterOrdinalInGroup > 0;
  }

  std::unique_ptr<Direct3D9Port> port_;
  std::unique_ptr<Direct3D9> direct3d_;
  std::uint32_t count_ = 0;
};

}  // namespace glimmer::contract
