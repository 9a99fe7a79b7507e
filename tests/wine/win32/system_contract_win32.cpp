// The system contract against the Windows calls behind Win32System.
#include <string>
#include <vector>

#include "contract/system_contract.h"
#include "win32/system_win32.h"
#include "win32/wide.h"
#include "win32/windows_api.h"

namespace glimmer::contract {
namespace {

// A scratch folder in the temporary folder, removed with what was made in it.
class Win32SystemWorld : public SystemWorld {
 public:
  Win32SystemWorld() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    EXPECT_TRUE(length > 0 && length <= MAX_PATH) << GetLastError();
    scratch_ = std::wstring(temp, length) + L"GlimmerdaleSystemContract" +
               std::to_wstring(GetCurrentProcessId());
    EXPECT_TRUE(CreateDirectoryW(scratch_.c_str(), nullptr)) << GetLastError();
  }
  ~Win32SystemWorld() override {
    for (auto made = made_.rbegin(); made != made_.rend(); ++made)
      made->folder ? RemoveDirectoryW(made->path.c_str()) : DeleteFileW(made->path.c_str());
    RemoveDirectoryW(scratch_.c_str());
  }

  SystemPort& Port() override { return system_; }

  std::u16string MakeFile(std::u16string_view name) override {
    const std::wstring path = scratch_ + L"\\" + win32::Wide(name);
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      ADD_FAILURE() << "CreateFileW: " << GetLastError();
      return u"";
    }
    CloseHandle(file);
    made_.push_back({path, false});
    return win32::U16(path);
  }

  std::u16string MakeFolder(std::u16string_view name) override {
    const std::wstring path = scratch_ + L"\\" + win32::Wide(name);
    if (!CreateDirectoryW(path.c_str(), nullptr)) {
      ADD_FAILURE() << "CreateDirectoryW: " << GetLastError();
      return u"";
    }
    made_.push_back({path, true});
    return win32::U16(path);
  }

 private:
  struct Made {
    std::wstring path;
    bool folder;
  };
  win32::Win32System system_;
  std::wstring scratch_;
  std::vector<Made> made_;
};

INSTANTIATE_TEST_SUITE_P(Platform, SystemContract,
                         ::testing::Values(SystemImplementation{
                             "Win32", [] { return std::make_unique<Win32SystemWorld>(); }}),
                         SystemImplementationName);

}  // namespace
}  // namespace glimmer::contract
