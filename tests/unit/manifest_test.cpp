// The application manifest as Windows reads it: an element in the wrong
// namespace or place is ignored without a word, so the shell would silently
// lose comctl32 6, its DPI awareness or its supported-system declarations.
#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <set>
#include <string>

namespace {

const std::wstring kAsmV1 = L"urn:schemas-microsoft-com:asm.v1";
const std::wstring kAsmV3 = L"urn:schemas-microsoft-com:asm.v3";
const std::wstring kCompatibility = L"urn:schemas-microsoft-com:compatibility.v1";
const std::wstring kSettings2005 = L"http://schemas.microsoft.com/SMI/2005/WindowsSettings";
const std::wstring kSettings2016 = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";

// The default namespace in effect at node.
std::wstring Namespace(pugi::xml_node node) {
  for (; node; node = node.parent())
    if (pugi::xml_attribute xmlns = node.attribute(L"xmlns")) return xmlns.value();
  return L"";
}

// The child of the given name and namespace; the manifest may hold others of
// the same name in other namespaces ("application").
pugi::xml_node Child(pugi::xml_node parent, const wchar_t* name, const std::wstring& ns) {
  for (pugi::xml_node child : parent.children(name))
    if (Namespace(child) == ns) return child;
  return {};
}

class Manifest : public testing::Test {
 protected:
  void SetUp() override {
    const pugi::xml_parse_result result =
        document_.load_file(GLIMMER_SOURCE_DIR "/resources/glimmerdale.manifest");
    ASSERT_TRUE(result) << result.description() << " at " << result.offset;
    assembly_ = document_.child(L"assembly");
    ASSERT_TRUE(assembly_);
    ASSERT_EQ(kAsmV1, Namespace(assembly_));
    EXPECT_STREQ(L"1.0", assembly_.attribute(L"manifestVersion").value());
  }

  pugi::xml_document document_;
  pugi::xml_node assembly_;
};

TEST_F(Manifest, DeclaresWindows7To11) {
  const pugi::xml_node application =
      Child(Child(assembly_, L"compatibility", kCompatibility), L"application", kCompatibility);
  ASSERT_TRUE(application) << "compatibility/application in the compatibility namespace";
  std::set<std::wstring> ids;
  for (pugi::xml_node os : application.children(L"supportedOS"))
    ids.insert(os.attribute(L"Id").value());
  EXPECT_EQ((std::set<std::wstring>{
                L"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
                L"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
                L"{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
                L"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
            }),
            ids);
}

TEST_F(Manifest, IsPerMonitorDpiAwareWithTheOldDeclarationForOldSystems) {
  const pugi::xml_node settings =
      Child(Child(assembly_, L"application", kAsmV3), L"windowsSettings", kAsmV3);
  ASSERT_TRUE(settings) << "application/windowsSettings in the asm.v3 namespace";
  const pugi::xml_node awareness = Child(settings, L"dpiAwareness", kSettings2016);
  ASSERT_TRUE(awareness);
  // Windows takes the first entry it knows: V2 from 10 1703 on, V1 before.
  EXPECT_STREQ(L"PerMonitorV2, PerMonitor", awareness.text().get());
  const pugi::xml_node aware = Child(settings, L"dpiAware", kSettings2005);
  ASSERT_TRUE(aware);
  EXPECT_STREQ(L"true", aware.text().get());
}

TEST_F(Manifest, BindsCommonControls6AndRunsAsTheInvoker) {
  const pugi::xml_node identity =
      assembly_.child(L"dependency").child(L"dependentAssembly").child(L"assemblyIdentity");
  EXPECT_STREQ(L"Microsoft.Windows.Common-Controls", identity.attribute(L"name").value());
  EXPECT_STREQ(L"6.0.0.0", identity.attribute(L"version").value());
  EXPECT_STREQ(L"6595b64144ccf1df", identity.attribute(L"publicKeyToken").value());
  const pugi::xml_node level = Child(assembly_, L"trustInfo", kAsmV3)
                                   .child(L"security")
                                   .child(L"requestedPrivileges")
                                   .child(L"requestedExecutionLevel");
  EXPECT_STREQ(L"asInvoker", level.attribute(L"level").value());
}

}  // namespace
