#include "i18n/text_catalog.h"

#include <pugixml.hpp>
#include <vector>

#include "i18n/xml_text.h"
#include "platform/text.h"

namespace glimmer {

namespace {

// Window texts are read through a buffer of this many units, NUL included, so
// a longer text is looked up by its first 1,022 characters.
constexpr int kWindowTextCapacity = 1023;

bool AttributeEquals(const pugi::xml_node& node, const wchar_t* name, std::u16string_view text) {
  return XmlTextEquals(node.attribute(name).value(), text);
}

// Makes the first element whose Tag equals tag current; false, with the
// current element unchanged, when there is none.
bool SelectByTag(const std::vector<pugi::xml_node>& elements, std::u16string_view tag,
                 pugi::xml_node& current) {
  for (const pugi::xml_node& element : elements) {
    if (AttributeEquals(element, L"Tag", tag)) {
      current = element;
      return true;
    }
  }
  return false;
}

}  // namespace

struct TextCatalog::State {
  pugi::xml_document document;
  std::vector<pugi::xml_node> languages;
  std::vector<pugi::xml_node> blocks;
  pugi::xml_node currentLanguage;
  pugi::xml_node currentBlock;
};

TextCatalog::TextCatalog() : state_(std::make_unique<State>()) {}
TextCatalog::~TextCatalog() = default;
TextCatalog::TextCatalog(TextCatalog&&) noexcept = default;
TextCatalog& TextCatalog::operator=(TextCatalog&&) noexcept = default;

TextCatalog TextCatalog::Load(ResourcePort& resources, SystemPort& system, std::string_view path,
                              std::uint16_t resourceId) {
  TextCatalog catalog;
  catalog.Parse(resources, system, path, resourceId);
  catalog.SelectLanguage(u"en");
  return catalog;
}

void TextCatalog::Parse(ResourcePort& resources, SystemPort& system, std::string_view path,
                        std::uint16_t resourceId) {
  if (!LoadDocument(resources, system, path, resourceId)) {
    state_->document.reset();
    return;
  }
  // A file that parses but lacks the structure does not fall back to the resource.
  const pugi::xml_node root = state_->document.child(L"Root");
  pugi::xml_node language = root.child(L"Languages").child(L"Language");
  if (!language) {
    state_->document.reset();
    return;
  }
  for (; language; language = language.next_sibling(L"Language")) {
    state_->languages.push_back(language);
  }
  for (pugi::xml_node block = root.child(L"TextBlock"); block;
       block = block.next_sibling(L"TextBlock")) {
    state_->blocks.push_back(block);
  }
  state_->currentLanguage = state_->languages.front();
  if (!state_->blocks.empty()) state_->currentBlock = state_->blocks.front();
}

bool TextCatalog::LoadDocument(ResourcePort& resources, SystemPort& system, std::string_view path,
                               std::uint16_t resourceId) {
  pugi::xml_document& document = state_->document;
  if (!path.empty()) {
    const std::u16string widePath = FromUtf8(path);
    if (system.GetFileAttributes(widePath) != kInvalidFileAttributes &&
        document.load_file(ToXmlText(widePath).c_str())) {
      return true;
    }
  }
  const std::uint8_t* data = nullptr;
  std::uint32_t size = 0;
  if (!resources.FindResourceBytes(resourceId, kRtRcdata, data, size) || data == nullptr ||
      size == 0) {
    return false;
  }
  // The resource's last byte has always been left out: the catalogue is stored
  // with a line break after its closing tag to make up for it.
  return static_cast<bool>(document.load_buffer(data, size - 1));
}

bool TextCatalog::SelectLanguage(std::u16string_view tag) {
  return SelectByTag(state_->languages, tag, state_->currentLanguage);
}

bool TextCatalog::SelectTextBlock(std::u16string_view tag) {
  return SelectByTag(state_->blocks, tag, state_->currentBlock);
}

bool TextCatalog::TryTranslate(std::u16string_view key, std::u16string& text) const {
  text.assign(key);
  try {
    pugi::xml_node entry;
    for (pugi::xml_node var = state_->currentBlock.child(L"Var"); var;
         var = var.next_sibling(L"Var")) {
      if (AttributeEquals(var, L"Tag", key)) {
        entry = var;
        break;
      }
    }
    if (!entry) return false;

    const std::u16string language = CurrentLanguageTag();
    pugi::xml_node found;  // the last String of the language counts
    for (pugi::xml_node string = entry.child(L"String"); string;
         string = string.next_sibling(L"String")) {
      if (AttributeEquals(string, L"Lang", language)) found = string;
    }
    text = FromXmlText(found.attribute(L"Text").value());
    return true;
  } catch (...) {
    text.assign(key);
    return false;
  }
}

std::u16string TextCatalog::Translate(std::u16string_view key) const {
  std::u16string text;
  TryTranslate(key, text);
  return text;
}

std::u16string TextCatalog::CurrentLanguageTag() const {
  return FromXmlText(state_->currentLanguage.attribute(L"Tag").value());
}

void TextCatalog::TranslateWindow(WindowPort& windows, WindowHandle window) const {
  auto translateOne = [&](WindowHandle handle) {
    std::u16string text;
    if (TryTranslate(windows.GetWindowText(handle, kWindowTextCapacity), text)) {
      windows.SetWindowText(handle, text);
    }
  };
  translateOne(window);
  // Direct children only, in Z order (template order for a dialog).
  for (WindowHandle child = windows.GetTopWindow(window); child != 0;
       child = windows.GetNextWindow(child)) {
    translateOne(child);
  }
}

}  // namespace glimmer
