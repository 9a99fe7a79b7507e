// The elevation contract against ShellExecuteExW, file mappings and
// BCryptGenRandom. Under Wine "runas" starts the program with this process's
// own token: no prompt, no elevation, which is all the contract asks.
#include "contract/elevation_contract.h"
#include "win32/elevation_win32.h"
#include "win32/system_win32.h"
#include "win32/wide.h"
#include "win32/windows_api.h"

namespace glimmer::contract {
namespace {

class Win32ElevationWorld : public ElevationWorld {
 public:
  Win32ElevationWorld() {
    wchar_t system[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH + 1);
    systemFolder_ = win32::U16(std::wstring_view(system, length));
  }
  ElevationPort& Port() override { return elevation_; }
  ProcessPort& Processes() override { return processes_; }
  std::u16string QuickProgram() override { return systemFolder_ + u"\\cmd.exe"; }
  std::u16string QuickParameters() override { return u"/c exit 3"; }
  std::u16string MissingProgram() override {
    return systemFolder_ + u"\\glimmerdale-no-such-program.exe";
  }

 private:
  win32::Win32Elevation elevation_;
  win32::Win32Processes processes_;
  std::u16string systemFolder_;
};

INSTANTIATE_TEST_SUITE_P(Platform, ElevationContract,
                         ::testing::Values(ElevationImplementation{
                             "Win32", [] { return std::make_unique<Win32ElevationWorld>(); }}),
                         ElevationImplementationName);

}  // namespace
}  // namespace glimmer::contract
