// The main program's resources, as every test program that links zarne32_resources sees them.
#include "platform/kernel/module_identity.h"
#include "platform/kernel/resources.h"
#include "platform/kernel/version.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Text(UINT id) {
  char buffer[128];
  int length = LoadString(nullptr, id, buffer, sizeof buffer);
  return std::string(buffer, length);
}

}  // namespace

TEST(RcZarne32, ShellStringsAreThere) {
  EXPECT_EQ(Text(1002), "System Error");
  EXPECT_EQ(Text(1008), "Unable to load Tessel.");
  EXPECT_EQ(Text(1010), "GetProcessAddress failed.");
  EXPECT_EQ(Text(1014), "Inserting Bank Rec: %d");
  EXPECT_EQ(Text(1016), "Initializing Other Field List");
  EXPECT_EQ(Text(1023), "Zarne Message");
}

// What the About box does: the translation read as one 32-bit number names the string block.
TEST(RcZarne32, VersionStringsThroughTheTranslationValue) {
  char fileName[256];
  std::string host = ModuleHostPath(MainProgramModule());
  std::snprintf(fileName, sizeof fileName, "%s", host.c_str());
  DWORD size = GetFileVersionInfoSize(fileName, nullptr);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> data(size);
  ASSERT_TRUE(GetFileVersionInfo(fileName, 0, size, data.data()));
  LPVOID value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValue(data.data(), "\\VarFileInfo\\Translation", &value, &length));
  ASSERT_EQ(length, 4u);
  uint32_t translation;
  std::memcpy(&translation, value, 4);
  EXPECT_EQ(translation, 0x040904E4u);

  auto query = [&](const char* name) {
    char path[128];
    std::snprintf(path, sizeof path, "\\StringFileInfo\\%08lx\\%s",
                  static_cast<unsigned long>(translation), name);
    LPVOID text = nullptr;
    UINT textLength = 0;
    return VerQueryValue(data.data(), path, &text, &textLength)
               ? std::string(static_cast<char*>(text))
               : std::string("<missing>");
  };
  EXPECT_EQ(query("ProductName"), "Zarne");
  EXPECT_EQ(query("InternalName"), "Zarne");
  EXPECT_EQ(query("FileVersion"), "3.2");
  EXPECT_EQ(query("ProductVersion"), "3.2");
  EXPECT_NE(query("CompanyName"), "<missing>");
  EXPECT_NE(query("LegalCopyright"), "<missing>");
  EXPECT_NE(query("FileDescription"), "<missing>");
  EXPECT_EQ(query("SpecialBuild"), "<missing>");
}
