// The process contract against CreateProcessW and its relatives.
#include <string>

#include "contract/process_contract.h"
#include "win32/system_win32.h"
#include "win32/wide.h"
#include "win32/windows_api.h"

namespace glimmer::contract {
namespace {

class Win32ProcessWorld : public ProcessWorld {
 public:
  Win32ProcessWorld() {
    wchar_t system[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH + 1);
    EXPECT_TRUE(length > 0 && length <= MAX_PATH) << GetLastError();
    systemFolder_ = win32::U16(std::wstring_view(system, length));
  }

  ProcessPort& Port() override { return processes_; }
  // cmd.exe ends at once with "/c exit"; it is in every Windows' system folder.
  std::u16string QuickProgram() override {
    return u"\"" + systemFolder_ + u"\\cmd.exe\" /c exit 3";
  }
  std::u16string MissingProgram() override {
    return u"\"" + systemFolder_ + u"\\glimmerdale-no-such-program.exe\"";
  }
  std::u16string Folder() override { return systemFolder_; }

 private:
  win32::Win32Processes processes_;
  std::u16string systemFolder_;
};

INSTANTIATE_TEST_SUITE_P(Platform, ProcessContract,
                         ::testing::Values(ProcessImplementation{
                             "Win32", [] { return std::make_unique<Win32ProcessWorld>(); }}),
                         ProcessImplementationName);

}  // namespace
}  // namespace glimmer::contract
