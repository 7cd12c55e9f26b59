// Version data compiled from VERSIONINFO, reached by file name and walked by VerQueryValue.
#include "platform/kernel/module_identity.h"
#include "platform/kernel/resources.h"
#include "platform/kernel/version.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<BYTE> ReadVersionData(const std::string& fileName) {
  DWORD handle = 99;
  DWORD size = GetFileVersionInfoSize(fileName.c_str(), &handle);
  EXPECT_EQ(handle, 0u);
  std::vector<BYTE> data(size);
  if (size) { EXPECT_TRUE(GetFileVersionInfo(fileName.c_str(), 0, size, data.data())); }
  return data;
}

std::string QueryText(const std::vector<BYTE>& data, const char* path) {
  LPVOID value = nullptr;
  UINT length = 0;
  if (!VerQueryValue(data.data(), path, &value, &length)) return "<missing>";
  EXPECT_GT(length, 0u);
  EXPECT_EQ(static_cast<const char*>(value)[length - 1], '\0');  // length counts the NUL
  return static_cast<const char*>(value);
}

}  // namespace

TEST(RcVersion, FixedInformationOfTheProgram) {
  std::vector<BYTE> data = ReadVersionData(ModuleHostPath(MainProgramModule()));
  ASSERT_FALSE(data.empty());
  LPVOID value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValue(data.data(), "\\", &value, &length));
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  VS_FIXEDFILEINFO info;
  std::memcpy(&info, value, sizeof info);
  EXPECT_EQ(info.dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(info.dwStrucVersion, 0x00010000u);
  EXPECT_EQ(info.dwFileVersionMS, 0x00010002u);
  EXPECT_EQ(info.dwFileVersionLS, 0x00030004u);
  EXPECT_EQ(info.dwProductVersionMS, 0x00050006u);
  EXPECT_EQ(info.dwProductVersionLS, 0u);
  EXPECT_EQ(info.dwFileFlagsMask, 0x3Fu);
  EXPECT_EQ(info.dwFileFlags, 2u);
  EXPECT_EQ(info.dwFileOS, 0x00040004u);
  EXPECT_EQ(info.dwFileType, 1u);
}

TEST(RcVersion, StringsAndTranslationByPath) {
  std::vector<BYTE> data = ReadVersionData(ModuleHostPath(MainProgramModule()));
  ASSERT_FALSE(data.empty());
  LPVOID value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValue(data.data(), "\\VarFileInfo\\Translation", &value, &length));
  ASSERT_EQ(length, 4u);
  const BYTE* bytes = static_cast<const BYTE*>(value);
  EXPECT_EQ(bytes[0] | bytes[1] << 8, 0x0409);  // two words: language, then code page
  EXPECT_EQ(bytes[2] | bytes[3] << 8, 1252);
  // Keys are found whatever their case, as the About boxes format "%08lx" in lower case.
  EXPECT_EQ(QueryText(data, "\\StringFileInfo\\040904e4\\ProductName"), "RcTest");
  EXPECT_EQ(QueryText(data, "\\StringFileInfo\\040904E4\\Comments"), "two parts");
  EXPECT_EQ(QueryText(data, "\\stringfileinfo\\040904E4\\productname"), "RcTest");
  EXPECT_EQ(QueryText(data, "\\StringFileInfo\\040904E4\\Empty"), "");
  EXPECT_EQ(QueryText(data, "\\StringFileInfo\\040904E4\\CompanyName"), "<missing>");
  EXPECT_EQ(QueryText(data, "\\StringFileInfo\\04090000\\ProductName"), "<missing>");
}

TEST(RcVersion, ModuleFoundByWindowsFormNameToo) {
  std::string host = ModuleHostPath(MainProgramModule());
  std::string stem = host.substr(host.rfind('/') + 1);
  std::vector<BYTE> byHost = ReadVersionData(host);
  std::vector<BYTE> byWindowsName = ReadVersionData("Z:\\ANY\\DIRECTORY\\" + stem + ".EXE");
  EXPECT_EQ(byHost, byWindowsName);
  EXPECT_FALSE(byHost.empty());
}

TEST(RcVersion, FailureValuesWithoutVersionData) {
  DWORD handle = 5;
  EXPECT_EQ(GetFileVersionInfoSize("C:\\NOWHERE\\NOSUCH.EXE", &handle), 0u);
  EXPECT_EQ(GetFileVersionInfoSize(nullptr, nullptr), 0u);
  HMODULE kernel = ModuleFromAddress(reinterpret_cast<const void*>(&GetFileVersionInfoSize));
  EXPECT_EQ(GetFileVersionInfoSize(ModuleHostPath(kernel).c_str(), nullptr), 0u);
  BYTE buffer[64];
  EXPECT_FALSE(GetFileVersionInfo("NOSUCH.DLL", 0, sizeof buffer, buffer));
  LPVOID value = nullptr;
  UINT length = 0;
  EXPECT_FALSE(VerQueryValue(nullptr, "\\", &value, &length));
}

TEST(RcVersion, TooSmallBlockIsRefusedAndLeftAlone) {
  std::string host = ModuleHostPath(MainProgramModule());
  DWORD size = GetFileVersionInfoSize(host.c_str(), nullptr);
  ASSERT_GT(size, 8u);
  std::vector<BYTE> small(size - 1, 0xAB);
  EXPECT_FALSE(GetFileVersionInfo(host.c_str(), 0, size - 1, small.data()));
  EXPECT_EQ(small[0], 0xAB);
}

TEST(RcVersion, DamagedBlockAnswersFalse) {
  // A root whose length claims more than its key can hold.
  BYTE block[8] = {8, 0, 40, 0, 'V', 0, 0, 0};
  LPVOID value = nullptr;
  UINT length = 0;
  EXPECT_FALSE(VerQueryValue(block, "\\", &value, &length));
  BYTE unterminated[8] = {8, 0, 0, 0, 'V', 'S', 'V', 'S'};
  EXPECT_FALSE(VerQueryValue(unterminated, "\\", &value, &length));
}
