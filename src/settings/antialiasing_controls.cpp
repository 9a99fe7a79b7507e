#include "settings/antialiasing_controls.h"

#include "display/antialiasing.h"
#include "i18n/format.h"
#include "platform/product.h"
#include "resource_ids.h"

namespace glimmer {

void FillAntialiasingList(Node& settings, DialogControls& controls, Direct3D11Port& direct3d11) {
  const std::int32_t saved = settings[keys::kAntialiasing].AsInt();
  controls.ComboResetContent(IDC_ANTIALIASING_LIST);
  for (const std::uint32_t count : SupportedSampleCounts(direct3d11)) {
    // The list sorts by text, so 16x comes before 2x.
    const int position =
        controls.ComboAddString(IDC_ANTIALIASING_LIST, FormatText(u"%ix", {count}));
    if (position >= 0)
      controls.ComboSetItemData(IDC_ANTIALIASING_LIST, position, static_cast<std::intptr_t>(count));
  }

  int selection = 0;
  const int entries = controls.ComboGetCount(IDC_ANTIALIASING_LIST);
  for (int i = 0; i < entries; ++i) {
    if (controls.ComboGetItemData(IDC_ANTIALIASING_LIST, i) == saved) {
      selection = i;
      break;
    }
  }
  controls.ComboSetCurSel(IDC_ANTIALIASING_LIST, selection);
}

std::int32_t AntialiasingToSave(Node& settings, DialogControls& controls) {
  if (controls.GetCheck(IDC_ANTIALIASING) == 0) return 0;
  const int selected = controls.ComboGetCurSel(IDC_ANTIALIASING_LIST);
  if (selected >= 0) {
    const std::intptr_t count = controls.ComboGetItemData(IDC_ANTIALIASING_LIST, selected);
    if (count >= static_cast<std::intptr_t>(kFewestSamples) &&
        count <= static_cast<std::intptr_t>(kMostSamples))
      return static_cast<std::int32_t>(count);
  }
  const std::int32_t saved = settings[keys::kAntialiasing].AsInt();
  return saved != 0 ? saved : 1;
}

}  // namespace glimmer
