// The catalogue as the shell carries it: RCDATA 11 of the built Glimmerdale.scr,
// read through the resource adapter.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "beside_this_program.h"
#include "i18n/language.h"
#include "i18n/text_catalog.h"
#include "translate_test_ids.h"
#include "win32/resources_win32.h"
#include "win32/system_win32.h"
#include "win32/windows_api.h"

namespace glimmer::win32 {
namespace {

TEST(CatalogResource, TheShellsCatalogueLoadsAndTranslates) {
  // The shell is built into the same folder as this test.
  const HMODULE shell = LoadLibraryExW(BesideThisProgram(L"Glimmerdale.scr").c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(shell, nullptr) << "Glimmerdale.scr not loadable, error " << GetLastError();
  Win32Resources resources(shell);

  const std::uint8_t* data = nullptr;
  std::uint32_t size = 0;
  ASSERT_TRUE(resources.FindResourceBytes(kCatalogResourceId, kRtRcdata, data, size));
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF<?xml"));
  // The loader leaves out the last byte; the stored line break pays for it.
  EXPECT_TRUE(bytes.ends_with("</Root>\r\n"));

  {
    Win32System system;
    TextCatalog catalog = TextCatalog::Load(resources, system, "", kCatalogResourceId);
    EXPECT_EQ(catalog.CurrentLanguageTag(), u"en");
    ASSERT_TRUE(catalog.SelectLanguage(u"de"));
    ASSERT_TRUE(catalog.SelectTextBlock(kDialogTextBlock));
    EXPECT_EQ(catalog.Translate(u"Cancel"), u"Abbrechen");
  }
  FreeLibrary(shell);
}

TEST(CatalogResource, TheProgramsOwnResourcesByDefault) {
  Win32Resources resources;
  const std::uint8_t* data = nullptr;
  std::uint32_t size = 0;
  EXPECT_TRUE(resources.FindResourceBytes(IDD_TRANSLATE_TEST, 5 /* RT_DIALOG */, data, size));
  EXPECT_GT(size, 0u);
  EXPECT_FALSE(resources.FindResourceBytes(kCatalogResourceId, kRtRcdata, data, size));
}

}  // namespace
}  // namespace glimmer::win32
