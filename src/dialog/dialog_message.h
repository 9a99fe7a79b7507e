// One window message as the dialogs' message maps see it, and the messages,
// notifications and command ids they route. Shared by every dialog of the
// shell; the Win32 dialog procedure fills it from its arguments.
#pragma once

#include <cstdint>

#include "dialog/dialog_controls.h"

namespace glimmer {

inline constexpr std::uint32_t kWmDestroy = 0x0002;
inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t kWmInitDialog = 0x0110;
inline constexpr std::uint32_t kWmCommand = 0x0111;
inline constexpr std::uint32_t kWmHScroll = 0x0114;
inline constexpr std::uint32_t kBnClicked = 0;
inline constexpr std::uint32_t kCbnSelEndOk = 9;
inline constexpr ControlId kIdOk = 1;
inline constexpr ControlId kIdCancel = 2;

struct DialogMessage {
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;

  // WM_COMMAND: the control id in the low word, the notification in the high word.
  ControlId CommandId() const { return static_cast<ControlId>(wParam & 0xFFFF); }
  std::uint32_t NotificationCode() const {
    return static_cast<std::uint32_t>((wParam >> 16) & 0xFFFF);
  }
  static DialogMessage Command(ControlId id, std::uint32_t code) {
    return {kWmCommand, (static_cast<std::uintptr_t>(code) << 16) | static_cast<std::uint16_t>(id),
            0};
  }
};

}  // namespace glimmer
