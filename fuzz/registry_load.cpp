// Loads arbitrary registry contents into a tree with defaults, saves the tree,
// loads what was saved into a fresh tree and checks that it came back as the
// loader reads value texts. A tree whose names the registry cannot keep apart
// comes back changed once; the tree it became must then come back as itself.
#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "config/node.h"
#include "fakes/fake_registry.h"
#include "platform/registry.h"

namespace glimmer {
namespace {

constexpr RegKey kRoot = kHkeyLocalMachine;
// Keys right below the root: the tree's code does not care how deep its key
// lies, and every registry call walks the path from the root.
const std::u16string kSource = u"Source";
const std::u16string kSaved = u"Saved";
const std::u16string kResaved = u"Resaved";

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Units that the value-text grammar and the path rules care about, a NUL,
// and some that stress the UTF-16 handling.
char16_t UnitFor(unsigned char byte) {
  using namespace std::literals;
  static constexpr auto kAlphabet = u"aAb/\\ \t\n01789xXfep.-+:23ni\0\u00e9\uFF10\uFFFF"sv;
  const std::size_t index = byte % (kAlphabet.size() + 2);
  // Unpaired surrogates cannot be written in a literal.
  if (index == kAlphabet.size()) return 0xD800;
  if (index == kAlphabet.size() + 1) return 0xDC00;
  return kAlphabet[index];
}

std::u16string Units(FuzzedDataProvider& in, std::size_t maxLength, bool keyName) {
  std::u16string text;
  for (const char byte : in.ConsumeRandomLengthString(maxLength)) {
    const char16_t unit = UnitFor(static_cast<unsigned char>(byte));
    // A key name never holds a backslash or a NUL.
    if (!keyName || (unit != u'\\' && unit != u'\0')) text.push_back(unit);
  }
  // Now and then a run of one unit, to reach the loader's name and data limits
  // (key names stay short: the registry refuses more than 255 units).
  if (!keyName && in.ConsumeIntegralInRange(0, 15) == 0)
    text.append(in.ConsumeIntegralInRange<std::size_t>(2040, 2060), u'v');
  return text;
}

std::vector<std::uint8_t> Data(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
      return in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange(0, 40));
    default: {
      static const char16_t* const kPrefixes[] = {u"1: ", u"2: ", u"3: ", u"1:", u"4: ", u""};
      std::u16string text = kPrefixes[in.ConsumeIntegralInRange<std::size_t>(0, 5)];
      text += Units(in, 24, false);
      // The registry's REG_SZ bytes: the units in little-endian order, as
      // they lie in memory here.
      static_assert(std::endian::native == std::endian::little);
      const auto* units = reinterpret_cast<const std::uint8_t*>(text.data());
      std::vector<std::uint8_t> bytes(units, units + text.size() * 2);
      if (in.ConsumeBool()) bytes.push_back(in.ConsumeIntegral<std::uint8_t>());
      return bytes;
    }
  }
}

void Fill(fakes::FakeRegistry& registry, FuzzedDataProvider& in, const std::u16string& path,
          int depth) {
  registry.PutKey(kRoot, path);
  const int items = in.ConsumeIntegralInRange(0, 6);
  for (int i = 0; i < items && in.remaining_bytes() > 0; ++i) {
    if (depth < 3 && in.ConsumeIntegralInRange(0, 3) == 0) {
      std::u16string name = Units(in, 6, true);
      if (name.empty()) name = u"k";
      Fill(registry, in, path + u"\\" + name, depth + 1);
    } else {
      static const std::uint32_t kTypes[] = {kRegSz,     kRegSz,    kRegSz,      kRegExpandSz,
                                             kRegBinary, kRegDword, kRegMultiSz, kRegNone};
      const std::u16string name = Units(in, 6, false);
      const std::uint32_t type = kTypes[in.ConsumeIntegralInRange<std::size_t>(0, 7)];
      registry.Put(kRoot, path, name, type, Data(in));
    }
  }
}

std::string FloatText(float number) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(number),
                                    std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

// What the loader makes of a saved string: up to a NUL, without the blanks
// after the colon, up to a TAB.
std::u16string Reloaded(const std::u16string& text) {
  std::u16string_view view(text.c_str());
  while (!view.empty() &&
         (view.front() == u' ' || (view.front() >= u'\t' && view.front() <= u'\r')))
    view.remove_prefix(1);
  return std::u16string(view.substr(0, view.find(u'\t')));
}

char16_t Fold(char16_t unit) { return unit >= u'a' && unit <= u'z' ? unit - 32 : unit; }

std::u16string Folded(std::u16string text) {
  for (auto& unit : text) unit = Fold(unit);
  return text;
}

// Whether the registry keeps every name of the tree apart: key names are
// neither empty nor hold a backslash, and no two names differ only in case.
bool Representable(const Node& node) {
  std::set<std::u16string> keys;
  std::set<std::u16string> values;
  for (const auto& [name, value] : node.children) {
    if (const Node* child = value.AsSubtree()) {
      if (name.empty() || name.find(u'\\') != std::u16string::npos) return false;
      if (!keys.insert(Folded(name)).second || !Representable(*child)) return false;
    } else if (!values.insert(Folded(name)).second) {
      return false;
    }
  }
  return true;
}

void CheckLoadedBack(const Node& saved, const Node& loaded) {
  std::size_t expected = 0;
  for (const auto& [name, value] : saved.children) {
    if (value.type == ValueType::Unset ||
        (value.type == ValueType::String && value.stringValue.empty()))
      continue;
    ++expected;
    const auto found = loaded.children.find(name);
    Check(found != loaded.children.end());
    const Node::Value& back = found->second;
    Check(back.type == value.type);
    switch (value.type) {
      case ValueType::Subtree:
        CheckLoadedBack(*value.AsSubtree(), *back.AsSubtree());
        break;
      case ValueType::Float:
        Check(FloatText(value.floatValue) == FloatText(back.floatValue));
        break;
      case ValueType::Int:
        Check(value.intValue == back.intValue);
        break;
      default:
        Check(Reloaded(value.stringValue) == back.stringValue);
        break;
    }
  }
  Check(loaded.children.size() == expected);
}

}  // namespace
}  // namespace glimmer

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace glimmer;
  FuzzedDataProvider in(bytes, size);
  const bool wow64 = in.ConsumeBool();
  // The registry is the input and is built anew; under WOW64 the tree is
  // read and written in the 64-bit view, as the settings are.
  fakes::FakeRegistry registry(wow64);
  Fill(registry, in, kSource, 0);

  Node tree;
  tree["Int"] = 1;
  tree["Float"] = 0.5f;
  tree["String"] = u"default";
  tree["Sub/x"] = 2;
  tree["Unset"];
  tree.LoadFromRegistry(registry, kRoot, kSource, wow64);
  Check(registry.OpenHandleCount() == 0);

  Check(tree.SaveToRegistry(registry, kRoot, kSaved, wow64));
  Node loaded;
  Check(loaded.LoadFromRegistry(registry, kRoot, kSaved, wow64));
  Check(!registry.HasKey(kRoot, kSaved, fakes::FakeRegistry::View::Redirected32));
  // A tree loaded from saved keys can always be told apart by the registry.
  Check(Representable(loaded));
  if (Representable(tree)) {
    CheckLoadedBack(tree, loaded);
  } else {
    Check(loaded.SaveToRegistry(registry, kRoot, kResaved, wow64));
    Node reloaded;
    Check(reloaded.LoadFromRegistry(registry, kRoot, kResaved, wow64));
    CheckLoadedBack(loaded, reloaded);
  }
  Check(registry.OpenHandleCount() == 0);
  return 0;
}
