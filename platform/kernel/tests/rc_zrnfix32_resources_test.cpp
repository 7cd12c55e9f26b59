// The repair utility's version data, read the way its About box reads it.
#include "platform/kernel/module_identity.h"
#include "platform/kernel/version.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

TEST(RcZrnfix32, ProductNameAndVersionThroughTheSwappedTranslation) {
  std::string host = ModuleHostPath(MainProgramModule());
  DWORD size = GetFileVersionInfoSize(host.c_str(), nullptr);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> data(size);
  ASSERT_TRUE(GetFileVersionInfo(host.c_str(), 0, size, data.data()));
  LPVOID value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValue(data.data(), "\\VarFileInfo\\Translation", &value, &length));
  ASSERT_EQ(length, 4u);
  uint32_t translation;
  std::memcpy(&translation, value, 4);
  translation = (translation << 16) | (translation >> 16);  // language first, then code page
  char path[96];
  std::snprintf(path, sizeof path, "\\StringFileInfo\\%08lx\\ProductName",
                static_cast<unsigned long>(translation));
  EXPECT_STREQ(path, "\\StringFileInfo\\040904e4\\ProductName");
  ASSERT_TRUE(VerQueryValue(data.data(), path, &value, &length));
  EXPECT_STREQ(static_cast<const char*>(value), "ZarneFix");
  ASSERT_TRUE(
      VerQueryValue(data.data(), "\\StringFileInfo\\040904e4\\ProductVersion", &value, &length));
  EXPECT_STREQ(static_cast<const char*>(value), "3.2");
  EXPECT_TRUE(
      VerQueryValue(data.data(), "\\StringFileInfo\\040904e4\\LegalCopyright", &value, &length));
  EXPECT_FALSE(
      VerQueryValue(data.data(), "\\StringFileInfo\\040904e4\\SpecialBuild", &value, &length));
}
