#include "i18n/format.h"

#include <climits>
#include <cstdint>
#include <string>

#include "catalog_test_support.h"

namespace glimmer::tests {
namespace {

TEST(FormatText, FillsTheProductsFormats) {
  EXPECT_EQ(FormatText(u"Music volume: %.01i%%", {15}), u"Music volume: 15%");
  const std::u16string product = u"Glimmerdale 3D Screensaver";
  EXPECT_EQ(FormatText(u"%s %s Configuration", {product, u"1.0"}),
            u"Glimmerdale 3D Screensaver 1.0 Configuration");
  EXPECT_EQ(FormatText(u"%ld x %ld x %ld", {1024, 768, 32}), u"1024 x 768 x 32");
  EXPECT_EQ(FormatText(u"%ix", {16}), u"16x");
  EXPECT_EQ(FormatText(u"%u x %u", {1920u, 1080u}), u"1920 x 1080");
  EXPECT_EQ(FormatText(u"100%% %s", {u"%i"}), u"100% %i");  // an argument is never a format
}

TEST(FormatText, NumbersFollowCsRules) {
  EXPECT_EQ(FormatText(u"[%.0i]", {0}), u"[]");
  EXPECT_EQ(FormatText(u"[%i] [%u]", {0, 0u}), u"[0] [0]");  // no precision: at least one digit
  EXPECT_EQ(FormatText(u"[%.i]", {7}), u"[7]");
  EXPECT_EQ(FormatText(u"[%.3d]", {-5}), u"[-005]");
  EXPECT_EQ(FormatText(u"[%i]", {INT_MIN}), u"[-2147483648]");
  EXPECT_EQ(FormatText(u"[%i]", {INT64_MIN}), u"[-9223372036854775808]");
  EXPECT_EQ(FormatText(u"[%u]", {-1}), u"[4294967295]");
  EXPECT_EQ(FormatText(u"[%u]", {UINT64_MAX}), u"[18446744073709551615]");
}

TEST(FormatText, ReturnsAFormatItCannotFillUnchanged) {
  const std::u16string_view formats[] = {
      u"%",  u"50%", u"%5i", u"%n",  u"%.33i", u"%.2s",  u"%ls",
      u"%x", u"%p",  u"%S",  u"%*i", u"%-i",   u"%li %",
  };
  for (std::u16string_view format : formats) {
    EXPECT_EQ(FormatText(format, {1}), format) << ToUtf8(format);
  }
  EXPECT_EQ(FormatText(u"%i %i", {1}), u"%i %i");  // too few arguments
  EXPECT_EQ(FormatText(u"%i", {1, 2}), u"%i");     // too many
  EXPECT_EQ(FormatText(u"%s", {1}), u"%s");        // a number for a text
  EXPECT_EQ(FormatText(u"%i", {u"1"}), u"%i");     // a text for a number
}

TEST(HaveSamePlaceholders, ComparesDirectivesInOrder) {
  EXPECT_TRUE(HaveSamePlaceholders(u"Musik: %.01i%%", u"Music volume: %.01i%%"));
  EXPECT_TRUE(HaveSamePlaceholders(u"%.1d", u"%.01i"));
  EXPECT_TRUE(HaveSamePlaceholders(u"no directives", u"none %%"));
  EXPECT_FALSE(HaveSamePlaceholders(u"%.02i%%", u"%.01i%%"));
  EXPECT_FALSE(HaveSamePlaceholders(u"%s %i", u"%i %s"));
  EXPECT_FALSE(HaveSamePlaceholders(u"%s", u"%s %s"));
  EXPECT_FALSE(HaveSamePlaceholders(u"%u", u"%i"));
  EXPECT_FALSE(HaveSamePlaceholders(u"%", u"%"));
}

TEST_F(CatalogTest, ATranslationWithOtherPlaceholdersIsRefused) {
  TextCatalog& catalog = LoadFrom(SmallCatalog(
      "<TextBlock>"
      "<Var Tag=\"Music volume: %.01i%%\"><String Lang=\"de\" Text=\"Musik: %.01i%%\"/>"
      "<String Lang=\"fr\" Text=\"Musique: %s%%\"/><String Lang=\"ru\" Text=\"%.01i%% %i\"/></Var>"
      "<Var Tag=\"%s %s Configuration\"><String Lang=\"de\" Text=\"%s Konfiguration %\"/>"
      "<String Lang=\"fr\" Text=\"Configuration de %s %s\"/></Var>"
      "</TextBlock>"));
  catalog.SelectLanguage(u"de");
  EXPECT_EQ(FormatTranslated(catalog, u"Music volume: %.01i%%", {40}), u"Musik: 40%");
  EXPECT_EQ(FormatTranslated(catalog, u"%s %s Configuration", {u"G", u"1.0"}),
            u"G 1.0 Configuration");
  catalog.SelectLanguage(u"fr");
  EXPECT_EQ(FormatTranslated(catalog, u"Music volume: %.01i%%", {40}), u"Music volume: 40%");
  EXPECT_EQ(FormatTranslated(catalog, u"%s %s Configuration", {u"G", u"1.0"}),
            u"Configuration de G 1.0");
  catalog.SelectLanguage(u"ru");
  EXPECT_EQ(FormatTranslated(catalog, u"Music volume: %.01i%%", {40}), u"Music volume: 40%");
}

}  // namespace
}  // namespace glimmer::tests
