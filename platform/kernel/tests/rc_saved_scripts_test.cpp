// zrc on scripts that hold saved grid configurations: a Ctrl-Z ends a file, the 1252 code
// page keeps bytes as they stand, and --blob writes the very blob a module embeds.
#include "platform/kernel/resource_registry.h"
#include "platform/kernel/resources.h"
#include "platform/kernel/modules.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Names of their own per process: CTest runs the cases side by side.
std::string Temp(const std::string& name) {
  return ::testing::TempDir() + "rc_saved_" + std::to_string(getpid()) + "_" + name;
}

int Compile(const std::string& arguments) {
  std::string command = std::string(RC_COMPILER) + " " + arguments + " 2>/dev/null";
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

/* The bytes of resource `name` of type TESSELCFG in a blob compiled from the script. */
std::string CompiledConfig(const std::string& script, const char* name, int* exitCode) {
  std::string source = Temp("script.rc"), blobPath = Temp("script.blob");
  std::ofstream(source, std::ios::binary) << script;
  std::remove(blobPath.c_str());
  *exitCode = Compile("--blob " + blobPath + " -I " + SOURCE_ROOT + " " + source);
  if (*exitCode != 0) return {};
  static std::vector<std::string> kept;  // registered blobs must stay alive
  kept.push_back(ReadAll(blobPath));
  // A module handle of its own, so that names do not meet the test program's resources.
  auto module = reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x7000 + kept.size()));
  if (!RegisterModuleResources(module, kept.back().data(), kept.back().size())) return "(damaged)";
  HRSRC found = FindResource(module, name, "TESSELCFG");
  if (!found) return "(missing)";
  const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
  return std::string(data, SizeofResource(module, found));
}

}  // namespace

TEST(RcSavedScripts, CtrlZEndsTheFileThatHoldsIt) {
  int exitCode = -1;
  std::string bytes = CompiledConfig(
      "A TESSELCFG\r\nBEGIN\r\n 1, 2\r\nEND\r\n\x1A\x1A junk that is no script", "A", &exitCode);
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(bytes, std::string("\x01\x00\x02\x00", 4));
  // Without the Ctrl-Z the junk is an error.
  CompiledConfig("A TESSELCFG\r\nBEGIN\r\n 1, 2\r\nEND\r\n junk ;", "A", &exitCode);
  EXPECT_EQ(exitCode, 1);
}

TEST(RcSavedScripts, CodePage1252KeepsBytesThatLookLikeUtf8) {
  int exitCode = -1;
  std::string saved = "S TESSELCFG\r\nBEGIN\r\n \"Caf\xC3\xA9\\0\"\r\nEND\r\n";
  EXPECT_EQ(CompiledConfig(saved, "S", &exitCode), std::string("Caf\xE9\0", 5));
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(CompiledConfig("#pragma code_page(1252)\r\n" + saved, "S", &exitCode),
            std::string("Caf\xC3\xA9\0", 6));
  EXPECT_EQ(CompiledConfig("#pragma code_page(1252)\r\n#pragma code_page(65001)\r\n" + saved, "S",
                           &exitCode),
            std::string("Caf\xE9\0", 5));
  // Bytes that are no UTF-8 at all are refused without the pragma and kept with it.
  std::string latin = "L TESSELCFG\r\nBEGIN\r\n \"\xE9\\0\"\r\nEND\r\n";
  CompiledConfig(latin, "L", &exitCode);
  EXPECT_EQ(exitCode, 0) << "a lone byte of 0x80 or above is taken as it stands";
  EXPECT_EQ(CompiledConfig("#pragma code_page(1252)\r\n" + latin, "L", &exitCode),
            std::string("\xE9\0", 2));
  CompiledConfig("#pragma code_page(437)\r\n" + latin, "L", &exitCode);
  EXPECT_EQ(exitCode, 1);
}

TEST(RcSavedScripts, SavedBlocksCompileWithTheGridHeaderAndNumbersAsTheCompilerReadsThem) {
  int exitCode = -1;
  std::string script =
      "#pragma code_page(1252)\r\n#include \"grid/tessel_codes.h\"\r\n"
      "G TESSELCFG LOADONCALL MOVEABLE DISCARDABLE\r\nBEGIN\r\n8, 25, 1, 0x00C0, 010\r\n"
      "   TSCS_EDIT | 0x0010, TST_ZSTRING, 16, 60,\r\n   \"A\"\"B\\0\",\r\nEND\r\n\r\n";
  std::string bytes = CompiledConfig(script, "G", &exitCode);
  ASSERT_EQ(exitCode, 0);
  // 010 is ten here; TSCS_EDIT | 0x0010 is 0x0014; "" is one quote.
  EXPECT_EQ(bytes,
            std::string("\x08\x00\x19\x00\x01\x00\xC0\x00\x0A\x00\x14\x00\x87\x00\x10\x00\x3C\x00"
                        "A\"B\0",
                        22));
  CompiledConfig("G TESSELCFG\r\nBEGIN\r\n TSCS_EDIT\r\nEND\r\n", "G", &exitCode);
  EXPECT_EQ(exitCode, 1) << "without the header the flag names are unknown";
}

TEST(RcSavedScripts, TheBlobOptionWritesTheBytesAModuleEmbeds) {
  std::string blobPath = Temp("module.blob");
  std::string data = RC_TEST_DATA;
  std::string scripts =
      data + "/program.rc " + data + "/program_extra.rc " + data + "/preprocessor.rc";
  ASSERT_EQ(Compile("--blob " + blobPath + " -I " + SOURCE_ROOT + " " + scripts), 0);
  std::string blob = ReadAll(blobPath);
  const RegisteredResource* entry = FindRegisteredResource(
      GetModuleHandle(nullptr), resource_format::ResourceKey::Named("TESSELCFG"),
      resource_format::ResourceKey::Named("20100TESSEL201"));
  ASSERT_NE(entry, nullptr);
  ASSERT_GT(blob.size(), 12u);
  EXPECT_EQ(std::string(static_cast<const char*>(entry->blob), blob.size()), blob);
}
