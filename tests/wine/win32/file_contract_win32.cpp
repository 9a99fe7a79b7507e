// The file contract against kernel32, with the fake beside it so both are held
// to the same suite in one run; and the fake's code-page tables against the
// platform's, byte by byte.
#include <string>

#include "contract/file_contract.h"
#include "fakes/fake_files.h"
#include "win32/file_win32.h"
#include "win32/wide.h"
#include "win32/windows_api.h"

namespace glimmer::contract {
namespace {

std::wstring ScratchFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, path);
  return std::wstring(path, length) + L"glimmerdale-file-contract\\";
}

void RemoveFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolder(folder + name + L"\\");
      } else {
        DeleteFileW((folder + name).c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

class Win32FileBench : public FileBench {
 public:
  Win32FileBench() : folder_(ScratchFolder()) {
    RemoveFolder(folder_);
    EXPECT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr)) << GetLastError();
  }
  ~Win32FileBench() override { RemoveFolder(folder_); }

  FilePort& Port() override { return files_; }
  std::u16string Folder() override { return win32::U16(folder_); }
  void Write(std::u16string_view name, std::string_view bytes) override {
    const HANDLE file = CreateFileW((folder_ + win32::Wide(name)).c_str(), GENERIC_WRITE, 0,
                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    EXPECT_EQ(written, bytes.size());
    CloseHandle(file);
  }
  void MakeFolder(std::u16string_view name) override {
    EXPECT_TRUE(CreateDirectoryW((folder_ + win32::Wide(name)).c_str(), nullptr)) << GetLastError();
  }
  std::uint32_t AnsiCodePage() override { return GetACP(); }

 private:
  std::wstring folder_;
  win32::Win32Files files_;
};

class FakeFileBench : public FileBench {
 public:
  FilePort& Port() override { return files_; }
  std::u16string Folder() override { return u"C:\\Users\\Tester\\Music\\"; }
  void Write(std::u16string_view name, std::string_view bytes) override {
    files_.Put(Folder() + std::u16string(name), bytes);
  }
  void MakeFolder(std::u16string_view) override {}
  std::uint32_t AnsiCodePage() override { return files_.ansiCodePage; }

 private:
  fakes::FakeFiles files_;
};

const FileImplementation kImplementations[] = {
    {"Win32", [] { return std::unique_ptr<FileBench>(new Win32FileBench()); }},
    {"Fake", [] { return std::unique_ptr<FileBench>(new FakeFileBench()); }},
};

INSTANTIATE_TEST_SUITE_P(Platform, FilePortContract, ::testing::ValuesIn(kImplementations),
                         FileImplementationName);

TEST(FakeCodePages, EveryByteConvertsAsOnThePlatform) {
  win32::Win32Files platform;
  fakes::FakeFiles fake;
  for (const std::uint32_t codePage : {1251u, 1252u}) {
    for (int value = 1; value < 256; ++value) {
      const std::string byte(1, static_cast<char>(value));
      std::u16string real;
      std::u16string faked;
      ASSERT_TRUE(platform.MultiByteToWideChar(codePage, byte, real));
      ASSERT_TRUE(fake.MultiByteToWideChar(codePage, byte, faked));
      EXPECT_EQ(faked, real) << "code page " << codePage << ", byte " << value << ": U+" << std::hex
                             << (real.empty() ? 0 : static_cast<int>(real[0]));
    }
  }
}

}  // namespace
}  // namespace glimmer::contract
