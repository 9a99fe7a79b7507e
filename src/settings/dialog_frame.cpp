#include "settings/dialog_frame.h"

#include "dialog/error_box.h"
#include "elevation/elevated_save.h"
#include "i18n/language.h"
#include "resource_ids.h"
#include "settings/monitor_controls.h"
#include "settings/settings_table.h"

namespace glimmer {
namespace {

constexpr std::u16string_view kMakerPageQuery = u"?source=glimmerdale&url=settings_more";

struct MakerPage {
  std::u16string_view tag;
  std::u16string_view address;
};
// The first row is the default page.
constexpr MakerPage kMakerPages[] = {
    {u"", u"https://www.vellumark.example/"},
    {u"de", u"https://www.vellumark.example/de/"},
    {u"fr", u"https://www.vellumark.example/fr/"},
    {u"ru", u"https://www.vellumark.example/ru/"},
};

}  // namespace

std::u16string MakerPageAddress(std::u16string_view languageTag) {
  std::u16string_view address = kMakerPages[0].address;
  for (const MakerPage& page : kMakerPages)
    if (!page.tag.empty() && page.tag == languageTag) address = page.address;
  return std::u16string(address) + std::u16string(kMakerPageQuery);
}

CSettingsDlgBase::CSettingsDlgBase(DialogHost& host, const Platform& platform)
    : host_(host),
      platform_(platform),
      display_(platform.direct3d9, platform.monitors),
      wallpaper_(platform.windows) {}

std::intptr_t CSettingsDlgBase::DialogProc(const DialogMessage& message) {
  std::intptr_t result = 0;
  return ProcessWindowMessage(message, result) ? result : 0;
}

bool CSettingsDlgBase::ProcessWindowMessage(const DialogMessage& message, std::intptr_t& result) {
  result = 0;
  switch (message.message) {
    case kWmInitDialog:
      result = OnInitDialog();
      return true;
    case kWmDestroy:
      host_.DestroyBigIcon();
      host_.PostQuitMessage(0);
      return true;
    case kWmClose:
      RevertControls();
      host_.EndDialog(0);
      return true;
    case kWmCommand:
      break;
    default:
      return false;
  }

  const ControlId id = message.CommandId();
  const std::uint32_t code = message.NotificationCode();
  if (id == kIdCancel && code == kBnClicked) {
    RevertControls();
    host_.EndDialog(0);
  } else if (id == kIdOk && code == kBnClicked) {
    ApplyControls();
    SaveSettings();
    host_.EndDialog(0);
  } else if (id == IDC_DESKTOP_RESOLUTION && code == kBnClicked) {
    OnDesktopResolutionClicked(display_, settings_, Controls());
  } else if (id == IDC_MODE_LIST && code == kCbnSelEndOk) {
    OnModeChosen(display_, settings_, Controls());
  } else if (id == IDC_VISIT && code == kBnClicked) {
    OpenMakerPage();
  } else if (id == IDC_MONITOR_LIST && code == kCbnSelEndOk) {
    OnMonitorChosen(display_, settings_, Controls());
  } else if (id == IDC_BLANK_SCREENS && code == kBnClicked) {
    OnBlankScreensClicked(settings_, Controls());
  } else {
    return false;
  }
  return true;
}

HResult CSettingsDlgBase::AcceptDevice(const D3dCaps&, std::uint32_t, std::int32_t) { return kSOk; }

std::intptr_t CSettingsDlgBase::OnInitDialog() {
  wallpaper_.Open();
  catalog_ = LoadDialogCatalog(platform_.resources, platform_.registry, platform_.system);
  catalog_.TranslateWindow(platform_.windows, host_.Window());
  // The monitor controls are addressed by id whenever they are used; an id
  // the template lacks behaves as a null handle there.
  return 1;
}

void CSettingsDlgBase::SaveSettings() {
  long failure = kErrorSuccess;
  if (WriteSettings(settings_, platform_.registry, platform_.system, &failure)) return;
  // A standard user may not write the machine-wide settings: the shell's own
  // elevated instance does, after one UAC prompt, and once only.
  if (failure == kErrorAccessDenied) {
    const std::optional<SaveRequest> request = SettingsRequestFor(settings_);
    if (request &&
        SaveElevated(*request, {platform_.elevation, platform_.processes}, host_.Window()))
      return;
  }
  ShowRegistryWriteError(platform_.ui, catalog_, host_.Window());
}

void CSettingsDlgBase::ShieldOkUnlessWritable() {
  if (!SettingsKeyWritable(platform_.registry, platform_.system)) Controls().SetShield(kIdOk, true);
}

void CSettingsDlgBase::LoadSettings() {
  display_.QueryFirstAdapter();
  SetDefaults();
  LoadSavedSettings(settings_, platform_.registry, platform_.system);
}

void CSettingsDlgBase::OpenMakerPage() {
  host_.OpenWebPage(MakerPageAddress(catalog_.CurrentLanguageTag()));
}

HardwarePorts CSettingsDlgBase::Hardware() const {
  return {.direct3d9 = platform_.direct3d9,
          .wmi = platform_.wmi,
          .directDraw = platform_.directDraw,
          .displayDevices = platform_.displayDevices,
          .registry = platform_.registry,
          .system = platform_.system};
}

}  // namespace glimmer
