#include "i18n/text_catalog.h"

#include <filesystem>
#include <fstream>
#include <pugixml.hpp>
#include <random>
#include <string>

#include "catalog_test_support.h"
#include "i18n/format.h"
#include "i18n/xml_text.h"

namespace glimmer::tests {
namespace {

using ShippedCatalogTest = CatalogTest;

TEST_F(ShippedCatalogTest, TranslatesInEachLanguage) {
  TextCatalog& catalog = LoadFrom(ShippedCatalog());
  EXPECT_EQ(catalog.CurrentLanguageTag(), u"en");
  EXPECT_EQ(Translate(u"Cancel"), u"Cancel");
  EXPECT_EQ(Translate(u"Traditional "), u"Traditional");

  struct Case {
    std::u16string_view language, key, expected;
  };
  const Case cases[] = {
      {u"de", u"Cancel", u"Abbrechen"},
      {u"de", u"Music volume: %.01i%%", u"Musik-Lautst\u00e4rke: %.01i%%"},
      {u"fr", u"Cancel", u"Annuler"},
      {u"fr", u"Add...", u"Ajouter..."},
      {u"fr", u"Playlist", u"Liste"},
      // Blanks are part of the key.
      {u"fr", u"Traditional", u"Traditionnelle"},
      {u"fr", u"Traditional ", u"Traditionnel"},
      {u"ru", u"Cancel", u"\u041e\u0442\u043c\u0435\u043d\u0430"},
      // The first of the two entries counts; keys are case-sensitive.
      {u"ru", u"Name", u"\u0418\u043c\u044f"},
      {u"ru", u"name", u"name"},
      {u"ru", u"", u""},
      {u"de", u"Glimmerdale 3D Screensaver", u"Glimmerdale 3D Screensaver"},
      {u"de", u"Multi-monitor", u"Multi-monitor"},
      {u"de", u"Can't find the main file! Please reinstall screensaver.",
       u"Can't find the main file! Please reinstall screensaver."},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(catalog.SelectLanguage(c.language));
    EXPECT_EQ(Translate(c.key), c.expected) << ToUtf8(c.language) << ": " << ToUtf8(c.key);
  }
}

// The file is edited by hand: its layout and the shape of every entry are
// what the loader and the translators rely on.
TEST(ShippedCatalogFile, KeepsItsLayoutAndEntryShape) {
  const std::string bytes = ShippedCatalog();
  ASSERT_TRUE(bytes.starts_with("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"));
  ASSERT_TRUE(bytes.ends_with("</Root>\r\n"));
  for (std::size_t i = bytes.find('\n'); i != std::string::npos; i = bytes.find('\n', i + 1)) {
    ASSERT_EQ(bytes[i - 1], '\r') << "bare line feed at byte " << i;
  }

  pugi::xml_document document;
  ASSERT_TRUE(document.load_buffer(bytes.data(), bytes.size()));
  const pugi::xml_node root = document.child(L"Root");
  std::u16string languages;
  for (pugi::xml_node language : root.child(L"Languages").children(L"Language")) {
    languages += FromXmlText(language.attribute(L"Tag").value()) + u" ";
  }
  EXPECT_EQ(languages, u"ru en de fr ");

  std::u16string blocks;
  for (pugi::xml_node block : root.children(L"TextBlock")) {
    const std::u16string blockTag = FromXmlText(block.attribute(L"Tag").value());
    blocks += blockTag + u"|";
    pugi::xml_node last;
    for (pugi::xml_node var : block.children(L"Var")) {
      const std::u16string key = FromXmlText(var.attribute(L"Tag").value());
      SCOPED_TRACE(ToUtf8(blockTag) + ": " + ToUtf8(key));
      std::u16string langs;
      for (pugi::xml_node string : var.children(L"String")) {
        const std::u16string lang = FromXmlText(string.attribute(L"Lang").value());
        const std::u16string text = FromXmlText(string.attribute(L"Text").value());
        langs += lang + u" ";
        if (lang == u"en") {
          EXPECT_EQ(text, key == u"Traditional " ? u"Traditional" : key);
        }
        if (key.find(u'%') != std::u16string::npos) {
          EXPECT_TRUE(HaveSamePlaceholders(text, key));
        }
      }
      EXPECT_EQ(langs, u"ru en de fr ");
      last = var;
    }
    // The closing empty entry makes an empty text translate to an empty text.
    EXPECT_STREQ(last.attribute(L"Tag").value(), L"");
    for (pugi::xml_node string : last.children(L"String")) {
      EXPECT_STREQ(string.attribute(L"Text").value(), L"");
    }
  }
  EXPECT_EQ(blocks, u"Screensaver Settings Dialog|Screensaver|");
}

TEST_F(CatalogTest, EntriesAreFoundByTheirExactKey) {
  LoadFrom(SmallCatalog(
      "<TextBlock Tag=\"B\">"
      "<Var Tag=\"Twice\"><String Lang=\"en\" Text=\"first\"/></Var>"
      "<Var Tag=\"Twice\"><String Lang=\"en\" Text=\"second\"/></Var>"
      "<Var Tag=\"4:3 &quot;wide&quot;\"><String Lang=\"en\" Text=\"quoted\"/></Var>"
      "<Var Tag=\"two&#xa;lines\"><String Lang=\"en\" Text=\"line feed\"/></Var>"
      "<Var Tag=\"raw\ttab\"><String Lang=\"en\" Text=\"blank\"/></Var>"
      "<Var Tag=\"\xF0\x9F\x98\x80\"><String Lang=\"en\" Text=\"\xF0\x9D\x84\x9E\"/></Var>"
      "<Var Tag=\"No text\"><String Lang=\"de\" Text=\"Kein\"/><String Lang=\"en\"/></Var>"
      "<Var Tag=\"Last wins\"><String Lang=\"en\" Text=\"one\"/><String Lang=\"en\" Text=\"two\"/>"
      "</Var>"
      "<Var Tag=\"German only\"><String Lang=\"de\" Text=\"Nur Deutsch\"/></Var>"
      "</TextBlock>"));
  EXPECT_EQ(Translate(u"Twice"), u"first");
  EXPECT_EQ(Translate(u"4:3 \"wide\""), u"quoted");
  EXPECT_EQ(Translate(u"two\nlines"), u"line feed");
  EXPECT_EQ(Translate(u"raw tab"), u"blank");
  EXPECT_EQ(Translate(u"\U0001F600"), u"\U0001D11E");
  EXPECT_EQ(Translate(u"No text"), u"");
  EXPECT_EQ(Translate(u"Last wins"), u"two");

  // An entry without the current language counts as found, with an empty text.
  std::u16string text = u"sentinel";
  EXPECT_TRUE(catalog_.TryTranslate(u"German only", text));
  EXPECT_EQ(text, u"");
  EXPECT_FALSE(catalog_.TryTranslate(u"Missing", text));
  EXPECT_EQ(text, u"Missing");
}

TEST_F(CatalogTest, SelectionsChangeOnlyToTagsThatExist) {
  TextCatalog& catalog = LoadFrom(SmallCatalog(
      "<TextBlock Tag=\"One\"><Var Tag=\"Key\"><String Lang=\"de\" Text=\"Eins\"/>"
      "<String Lang=\"fr\" Text=\"Un\"/></Var></TextBlock>"
      "<TextBlock Tag=\"Two\"><Var Tag=\"Key\"><String Lang=\"de\" Text=\"Zwei\"/></Var>"
      "</TextBlock>"));
  ASSERT_TRUE(catalog.SelectLanguage(u"de"));
  EXPECT_EQ(Translate(u"Key"), u"Eins");  // the first block is current after loading
  EXPECT_FALSE(catalog.SelectLanguage(u"DE"));
  EXPECT_FALSE(catalog.SelectLanguage(u"de "));
  EXPECT_EQ(catalog.CurrentLanguageTag(), u"de");

  ASSERT_TRUE(catalog.SelectTextBlock(u"Two"));
  EXPECT_EQ(Translate(u"Key"), u"Zwei");
  EXPECT_FALSE(catalog.SelectTextBlock(u"Three"));
  EXPECT_EQ(Translate(u"Key"), u"Zwei");
}

TEST_F(CatalogTest, WithoutEnglishTheFirstLanguageIsCurrent) {
  TextCatalog& catalog = LoadFrom(
      "<Root><Languages><Language Tag=\"fr\"/><Language Tag=\"de\"/></Languages>"
      "<TextBlock><Var Tag=\"Cancel\"><String Lang=\"fr\" Text=\"Annuler\"/></Var></TextBlock>"
      "</Root>\n");
  EXPECT_EQ(catalog.CurrentLanguageTag(), u"fr");
  EXPECT_EQ(Translate(u"Cancel"), u"Annuler");
}

TEST_F(CatalogTest, AnyLoadFailureLeavesNoTranslations) {
  const std::string cancel =
      "<TextBlock Tag=\"B\"><Var Tag=\"Cancel\"><String Lang=\"en\" Text=\"Annuler\"/></Var>"
      "</TextBlock>";
  const std::string unreadable[] = {
      "",
      "x",
      "<Root><Languages><Language Tag=\"en\"/></Languages>" + cancel + "</Root",
      "<root><Languages><Language Tag=\"en\"/></Languages>" + cancel + "</root>\n",
      "<Other><Root><Languages><Language Tag=\"en\"/></Languages>" + cancel + "</Root></Other>\n",
      "<Root>" + cancel + "</Root>\n",
      "<Root><Languages/>" + cancel + "</Root>\n",
      // Only the first Languages counts.
      "<Root><Languages/><Languages><Language Tag=\"en\"/></Languages>" + cancel + "</Root>\n",
      // Without its line break the closing tag loses its last character.
      SmallCatalog(cancel).substr(0, SmallCatalog(cancel).size() - 2),
  };
  for (const std::string& bytes : unreadable) {
    SCOPED_TRACE(bytes);
    TextCatalog& catalog = LoadFrom(bytes);
    EXPECT_EQ(Translate(u"Cancel"), u"Cancel");
    EXPECT_EQ(catalog.CurrentLanguageTag(), u"");
    EXPECT_FALSE(catalog.SelectLanguage(u"en"));
    EXPECT_FALSE(catalog.SelectTextBlock(u"B"));
  }
  // Sanity check of the same catalogue with its line break.
  LoadFrom(SmallCatalog(cancel));
  EXPECT_EQ(Translate(u"Cancel"), u"Annuler");

  Load("", 12);  // no such resource
  EXPECT_EQ(Translate(u"Cancel"), u"Cancel");
}

TEST_F(CatalogTest, AnEmptyCatalogueAndEachLoadStandAlone) {
  EXPECT_EQ(Translate(u"Error!"), u"Error!");
  EXPECT_EQ(TextCatalog().CurrentLanguageTag(), u"");
  LoadFrom(SmallCatalog(
      "<TextBlock><Var Tag=\"Error!\"><String Lang=\"en\" Text=\"Oops\"/></Var></TextBlock>"));
  EXPECT_EQ(Translate(u"Error!"), u"Oops");
  LoadFrom(SmallCatalog("<TextBlock/>"));
  EXPECT_EQ(Translate(u"Error!"), u"Error!");
  EXPECT_EQ(Translate(u""), u"");
}

TEST_F(CatalogTest, AFileThatLoadsIsPreferredToTheResource) {
  resources_.Put(kCatalogResourceId, kRtRcdata,
                 SmallCatalog("<TextBlock><Var Tag=\"From\"><String Lang=\"en\" "
                              "Text=\"resource\"/></Var></TextBlock>"));
  // Unique, since the sanitizer build may run this test at the same time.
  const std::filesystem::path folder =
      std::filesystem::path(::testing::TempDir()) /
      ("glimmer_catalog_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(folder);
  auto write = [&](const char* name, const std::string& text) {
    const std::string path = (folder / name).string();
    std::ofstream(path, std::ios::binary) << text;
    system_.existingPaths.insert(FromUtf8(path));
    return path;
  };
  const std::string good =
      write("catalog_good.xml",
            SmallCatalog("<TextBlock><Var Tag=\"From\"><String Lang=\"en\" Text=\"file\"/></Var>"
                         "</TextBlock>"));
  const std::string malformed = write("catalog_malformed.xml", "<Root>");
  const std::string noRoot = write("catalog_no_root.xml", "<Catalog/>");

  Load(good, kCatalogResourceId);
  EXPECT_EQ(Translate(u"From"), u"file");
  Load(malformed, kCatalogResourceId);
  EXPECT_EQ(Translate(u"From"), u"resource");
  // A file that parses but lacks the structure does not fall back.
  Load(noRoot, kCatalogResourceId);
  EXPECT_EQ(Translate(u"From"), u"From");
  // Existence is the platform's answer, not the file system's.
  system_.existingPaths.clear();
  Load(good, kCatalogResourceId);
  EXPECT_EQ(Translate(u"From"), u"resource");
  std::filesystem::remove_all(folder);
}

TEST_F(CatalogTest, TranslateWindowVisitsTheWindowAndItsDirectChildren) {
  const std::string longKey(1022, 'x');
  TextCatalog& catalog = LoadFrom(
      SmallCatalog("<TextBlock><Var Tag=\"Playlist\"><String Lang=\"fr\" Text=\"Liste\"/></Var>"
                   "<Var Tag=\"Add...\"><String Lang=\"fr\" Text=\"Ajouter...\"/></Var>"
                   "<Var Tag=\"Remove\"><String Lang=\"fr\" Text=\"Retirer\"/></Var>"
                   "<Var Tag=\"German only\"><String Lang=\"de\" Text=\"Nur Deutsch\"/></Var>"
                   "<Var Tag=\"" +
                   longKey + "\"><String Lang=\"fr\" Text=\"Long\"/></Var></TextBlock>"));
  catalog.SelectLanguage(u"fr");
  const WindowHandle dialog = windows_.Create(0, u"Playlist");
  const WindowHandle add = windows_.Create(dialog, u"Add...");
  const WindowHandle label = windows_.Create(dialog, u"Music volume: 100%");
  const WindowHandle container = windows_.Create(dialog, u"");
  const WindowHandle nested = windows_.Create(container, u"Remove");
  const WindowHandle german = windows_.Create(dialog, u"German only");
  const WindowHandle longText = windows_.Create(dialog, std::u16string(1100, u'x'));
  const WindowHandle remove = windows_.Create(dialog, u"Remove");

  catalog.TranslateWindow(windows_, dialog);
  EXPECT_EQ(windows_.Text(dialog), u"Liste");
  EXPECT_EQ(windows_.Text(add), u"Ajouter...");
  EXPECT_EQ(windows_.Text(label), u"Music volume: 100%");
  EXPECT_EQ(windows_.Text(container), u"");
  EXPECT_EQ(windows_.Text(nested), u"Remove");
  EXPECT_EQ(windows_.Text(german), u"");
  EXPECT_EQ(windows_.Text(longText), u"Long");
  EXPECT_EQ(windows_.Text(remove), u"Retirer");
}

TEST(XmlText, KeepsEveryCodeUnit) {
  const std::u16string texts[] = {u"plain", u"\U0001F600", u"\xD800", u"a\xDC00\xD800z", u""};
  for (const std::u16string& text : texts) {
    EXPECT_EQ(FromXmlText(ToXmlText(text)), text);
    EXPECT_TRUE(XmlTextEquals(ToXmlText(text).c_str(), text));
    EXPECT_FALSE(XmlTextEquals(ToXmlText(text + u"x").c_str(), text));
    EXPECT_FALSE(XmlTextEquals(ToXmlText(text).c_str(), text + u"x"));
  }
  EXPECT_FALSE(XmlTextEquals(ToXmlText(u"😀").c_str(), u"Ø3D"));
  if constexpr (sizeof(wchar_t) == 4) {
    EXPECT_EQ(ToXmlText(u"\U0001F600").size(), 1u);
    // Beyond U+10FFFF (a numeric reference can write one): the units the parser gives on Windows.
    EXPECT_EQ(FromXmlText(std::wstring(1, static_cast<wchar_t>(0x110000))), u"\xDC00\xDC00");
  }
}

}  // namespace
}  // namespace glimmer::tests
