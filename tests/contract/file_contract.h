// What every FilePort must do, whatever stands behind it: the in-memory fake
// natively, kernel32 under Wine.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/file_port.h"

namespace glimmer::contract {

// A place to put files, made by the implementation under test.
class FileBench {
 public:
  virtual ~FileBench() = default;
  virtual FilePort& Port() = 0;
  // An existing, empty folder, with a trailing backslash.
  virtual std::u16string Folder() = 0;
  // Creates Folder() + name holding exactly bytes.
  virtual void Write(std::u16string_view name, std::string_view bytes) = 0;
  // Creates the folder Folder() + name.
  virtual void MakeFolder(std::u16string_view name) = 0;
  // The code page that kCpAcp stands for.
  virtual std::uint32_t AnsiCodePage() = 0;
};

// Each test binary instantiates the suite, inside this namespace, with
//   INSTANTIATE_TEST_SUITE_P(Prefix, FilePortContract, ::testing::Values(implementation),
//                            FileImplementationName);
struct FileImplementation {
  std::string name;
  std::function<std::unique_ptr<FileBench>()> make;
};

inline void PrintTo(const FileImplementation& implementation, std::ostream* out) {
  *out << implementation.name;
}

inline std::string FileImplementationName(
    const ::testing::TestParamInfo<FileImplementation>& info) {
  return info.param.name;
}

class FilePortContract : public ::testing::TestWithParam<FileImplementation> {
 protected:
  void SetUp() override { bench_ = GetParam().make(); }
  FileBench& Bench() { return *bench_; }
  FilePort& Port() { return bench_->Port(); }

 private:
  std::unique_ptr<FileBench> bench_;
};

}  // namespace glimmer::contract
