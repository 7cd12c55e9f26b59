// Resources belong to the module they are linked into: a shared library's resources are its
// own, present while it is loaded and gone once it is unloaded.
#include "platform/kernel/module_identity.h"
#include "platform/kernel/modules.h"
#include "platform/kernel/resource_formats.h"
#include "platform/kernel/resources.h"
#include "platform/kernel/version.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class LoadedTestLibrary {
 public:
  LoadedTestLibrary() : module_(LoadLibrary("rc_test_library.dll")) {}
  ~LoadedTestLibrary() { Unload(); }
  void Unload() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
  }
  HMODULE module() const { return module_; }

 private:
  HMODULE module_;
};

std::string Text(HMODULE module, UINT id) {
  char buffer[64];
  int length = LoadString(module, id, buffer, sizeof buffer);
  return std::string(buffer, length);
}

}  // namespace

TEST(RcModules, LibraryAndProgramKeepTheirOwnResources) {
  LoadedTestLibrary library;
  ASSERT_NE(library.module(), nullptr);
  ASSERT_NE(library.module(), MainProgramModule());
  EXPECT_EQ(Text(library.module(), 300), "Hello from the library");
  EXPECT_EQ(Text(nullptr, 300), "Hello from the program");
  EXPECT_EQ(Text(MainProgramModule(), 300), "Hello from the program");
  // The program's other resources are not the library's.
  EXPECT_EQ(Text(library.module(), 298), "");
  EXPECT_EQ(FindResource(library.module(), MAKEINTRESOURCE(400), RT_DIALOG), nullptr);

  HRSRC dialog = FindResource(library.module(), MAKEINTRESOURCE(401), RT_DIALOG);
  ASSERT_NE(dialog, nullptr);
  resource_format::DialogTemplate parsed;
  ASSERT_TRUE(
      resource_format::ParseDialogTemplate(LockResource(LoadResource(library.module(), dialog)),
                                           SizeofResource(library.module(), dialog), &parsed));
  EXPECT_EQ(parsed.caption, "Library dialog");
  EXPECT_TRUE(parsed.controls.empty());
}

TEST(RcModules, LibraryVersionByItsFileName) {
  LoadedTestLibrary library;
  ASSERT_NE(library.module(), nullptr);
  std::string path = ModuleHostPath(library.module());
  DWORD size = GetFileVersionInfoSize(path.c_str(), nullptr);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> data(size);
  ASSERT_TRUE(GetFileVersionInfo(path.c_str(), 0, size, data.data()));
  LPVOID value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(
      VerQueryValue(data.data(), "\\StringFileInfo\\040904E4\\ProductName", &value, &length));
  EXPECT_STREQ(static_cast<const char*>(value), "RcTestLibrary");
  // "librc_test_library.so" is also known by its Windows name.
  EXPECT_EQ(GetFileVersionInfoSize("C:\\ZARNE\\RC_TEST_LIBRARY.DLL", nullptr), size);
}

TEST(RcModules, VersionByTheNamesGetModuleFileNameGives) {
  LoadedTestLibrary library;
  ASSERT_NE(library.module(), nullptr);
  char programName[MAX_PATH], libraryName[MAX_PATH];
  ASSERT_GT(GetModuleFileName(nullptr, programName, sizeof programName), 0u);
  ASSERT_GT(GetModuleFileName(library.module(), libraryName, sizeof libraryName), 0u);
  DWORD programSize = GetFileVersionInfoSize(programName, nullptr);
  DWORD librarySize = GetFileVersionInfoSize(libraryName, nullptr);
  EXPECT_EQ(programSize,
            GetFileVersionInfoSize(ModuleHostPath(MainProgramModule()).c_str(), nullptr));
  EXPECT_EQ(librarySize, GetFileVersionInfoSize(ModuleHostPath(library.module()).c_str(), nullptr));
  EXPECT_GT(programSize, 0u);
  EXPECT_GT(librarySize, 0u);
  EXPECT_NE(programSize, librarySize);
}

TEST(RcModules, UnloadedLibraryTakesItsResourcesAlong) {
  LoadedTestLibrary library;
  HMODULE module = library.module();
  ASSERT_NE(module, nullptr);
  ASSERT_NE(FindResource(module, MAKEINTRESOURCE(401), RT_DIALOG), nullptr);
  library.Unload();
  EXPECT_EQ(FindResource(module, MAKEINTRESOURCE(401), RT_DIALOG), nullptr);
  EXPECT_EQ(Text(module, 300), "");
  EXPECT_EQ(GetFileVersionInfoSize("RC_TEST_LIBRARY.DLL", nullptr), 0u);
}

TEST(RcModules, ModuleWithoutResourcesAnswersFailureValues) {
  HMODULE kernel = ModuleFromAddress(reinterpret_cast<const void*>(&FindResource));
  ASSERT_NE(kernel, nullptr);
  EXPECT_EQ(FindResource(kernel, MAKEINTRESOURCE(1), RT_VERSION), nullptr);
  EXPECT_EQ(FindResource(kernel, "CustGrid", "TESSELCFG"), nullptr);
  EXPECT_EQ(Text(kernel, 300), "");
  EXPECT_EQ(LoadAccelerators(kernel, MAKEINTRESOURCE(500)), nullptr);
  EXPECT_EQ(LoadResource(kernel, nullptr), nullptr);
  EXPECT_EQ(LockResource(nullptr), nullptr);
  EXPECT_EQ(SizeofResource(kernel, nullptr), 0u);
  EXPECT_EQ(FindResource(nullptr, nullptr, RT_DIALOG), nullptr);
  // A handle that is no resource of the registry is refused rather than read.
  int notAResource = 0;
  EXPECT_EQ(SizeofResource(nullptr, reinterpret_cast<HRSRC>(&notAResource)), 0u);
  EXPECT_EQ(LoadResource(nullptr, reinterpret_cast<HRSRC>(&notAResource)), nullptr);
}

TEST(RcModules, DamagedBlobIsNotRegistered) {
  static const BYTE notABlob[] = {'Z', 'R', 'E', 'S', 1, 0,
                                  0,   0,   5,   0,   0, 0};  // 5 entries, none there
  std::vector<resource_format::BlobEntry> entries;
  EXPECT_FALSE(resource_format::ReadBlobDirectory(notABlob, sizeof notABlob, &entries));
  static const BYTE wrongMagic[] = {'Z', 'R', 'E', 'X', 1, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_FALSE(resource_format::ReadBlobDirectory(wrongMagic, sizeof wrongMagic, &entries));
}
