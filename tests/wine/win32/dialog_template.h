// Reads a dialog template (DLGTEMPLATEEX) out of a built module, so tests can
// check what the shell actually carries rather than what its script says.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "win32/windows_api.h"

namespace glimmer::tests {

struct TemplateItem {
  std::uint32_t exStyle = 0;
  std::uint32_t style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::int32_t id = 0;
  std::uint16_t classAtom = 0;  // 0x80 button, 0x82 static, 0x85 combo box; 0 when named
  std::wstring className;
  std::wstring text;
};

struct DialogTemplate {
  std::uint32_t exStyle = 0;
  std::uint32_t style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::wstring title;
  std::uint16_t pointSize = 0;
  std::wstring font;
  std::vector<TemplateItem> items;
};

std::optional<DialogTemplate> ReadDialogTemplate(HMODULE module, int id);

}  // namespace glimmer::tests
