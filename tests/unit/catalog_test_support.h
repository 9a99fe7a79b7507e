// Catalogues for tests: the shipped one read from the source tree, and small
// hand-made ones, served through fake ports.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "fakes/fake_registry.h"
#include "fakes/fake_resources.h"
#include "fakes/fake_system.h"
#include "fakes/fake_windows.h"
#include "i18n/text_catalog.h"
#include "platform/text.h"

namespace glimmer::tests {

inline std::string ReadSourceFile(const std::string& relativePath) {
  std::ifstream file(std::string(GLIMMER_SOURCE_DIR) + "/" + relativePath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline std::string ShippedCatalog() { return ReadSourceFile("resources/catalog.xml"); }

// A catalogue with the languages ru, en, de, fr and the given TextBlock
// elements, stored as the product stores it: with a line break at the end.
inline std::string SmallCatalog(std::string_view blocks) {
  return "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<Root><Languages>"
         "<Language Tag=\"ru\"/><Language Tag=\"en\"/><Language Tag=\"de\"/>"
         "<Language Tag=\"fr\"/></Languages>" +
         std::string(blocks) + "</Root>\r\n";
}

// Fakes for every port the catalogue code reaches, and the catalogue under test.
class CatalogTest : public ::testing::Test {
 protected:
  // Loads catalog_ from the file at path or else from resource id.
  TextCatalog& Load(std::string_view path, std::uint16_t id) {
    catalog_ = TextCatalog::Load(resources_, system_, path, id);
    return catalog_;
  }
  // Loads catalog_ from a resource holding bytes.
  TextCatalog& LoadFrom(std::string_view bytes) {
    resources_.Put(kCatalogResourceId, kRtRcdata, bytes);
    return Load("", kCatalogResourceId);
  }
  std::u16string Translate(std::u16string_view key) const { return catalog_.Translate(key); }

  fakes::FakeRegistry registry_;
  fakes::FakeSystem system_;
  fakes::FakeWindows windows_;
  fakes::FakeResources resources_;
  TextCatalog catalog_;
};

}  // namespace glimmer::tests
