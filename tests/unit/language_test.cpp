#include "i18n/language.h"

#include "catalog_test_support.h"

namespace glimmer::tests {
namespace {

constexpr std::u16string_view kProductKey = u"Software\\Vellumark\\Glimmerdale 3D Screensaver";

using LanguageTest = CatalogTest;

TEST_F(LanguageTest, OnlyTheExactStoredTextsChooseALanguage) {
  struct Case {
    std::u16string_view stored, expected;
  };
  const Case cases[] = {
      {u"3: de", u"de"}, {u"3: fr", u"fr"}, {u"3: ru", u"ru"}, {u"3: en", u"en"},
      {u"3: DE", u"en"}, {u"3:de", u"en"},  {u"de", u"en"},    {u"3: de ", u"en"},
      {u"2: de", u"en"}, {u"", u"en"},      {u"3: it", u"en"},
  };
  for (const Case& c : cases) {
    registry_.PutString(kHkeyLocalMachine, kProductKey, u"Language", c.stored);
    EXPECT_EQ(ChooseLanguageTag(registry_, system_), c.expected) << ToUtf8(c.stored);
  }
}

TEST_F(LanguageTest, AMissingOrForeignValueMeansEnglish) {
  EXPECT_EQ(ChooseLanguageTag(registry_, system_), u"en");
  registry_.Put(kHkeyLocalMachine, kProductKey, u"Language", kRegBinary,
                {'3', 0, ':', 0, ' ', 0, 'd', 0, 'e', 0});
  EXPECT_EQ(ChooseLanguageTag(registry_, system_), u"en");
}

TEST(LanguageView, TheValueIsReadFromThe64BitView) {
  fakes::FakeRegistry registry(/*wow64=*/true);
  fakes::FakeSystem system;
  system.wow64 = true;
  registry.PutString(kHkeyLocalMachine, kProductKey, u"Language", u"3: ru",
                     fakes::FakeRegistry::View::Redirected32);
  EXPECT_EQ(ChooseLanguageTag(registry, system), u"en");
  registry.PutString(kHkeyLocalMachine, kProductKey, u"Language", u"3: de");
  EXPECT_EQ(ChooseLanguageTag(registry, system), u"de");
}

TEST_F(LanguageTest, TheDialogCatalogueSpeaksTheStoredLanguage) {
  resources_.Put(kCatalogResourceId, kRtRcdata, ShippedCatalog());
  registry_.PutString(kHkeyLocalMachine, kProductKey, u"Language", u"3: fr");
  const WindowHandle dialog = windows_.Create(0, u"Playlist");
  const WindowHandle add = windows_.Create(dialog, u"Add...");
  const WindowHandle list = windows_.Create(dialog, u"");
  const WindowHandle title = windows_.Create(dialog, u"Glimmerdale 3D Screensaver");

  catalog_ = LoadDialogCatalog(resources_, registry_, system_);
  catalog_.TranslateWindow(windows_, dialog);
  EXPECT_EQ(catalog_.CurrentLanguageTag(), u"fr");
  EXPECT_EQ(windows_.Text(dialog), u"Liste");
  EXPECT_EQ(windows_.Text(add), u"Ajouter...");
  EXPECT_EQ(windows_.Text(list), u"");
  EXPECT_EQ(windows_.Text(title), u"Glimmerdale 3D Screensaver");
  EXPECT_EQ(Translate(u"Cancel"), u"Annuler");
}

}  // namespace
}  // namespace glimmer::tests
