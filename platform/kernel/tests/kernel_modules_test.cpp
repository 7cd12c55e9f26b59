// Loading the test library by its Windows name, its exports, DllMain and reference
// counts; missing libraries and exports; module file names.
#include "platform/kernel/last_error.h"
#include "platform/kernel/module_identity.h"
#include "platform/kernel/modules.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace {

typedef int (*CountFunction)();
typedef int (*LengthFunction)(const char*);

class ModulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("KERNEL_TEST_MODULE_ATTACHED");
    unsetenv("KERNEL_TEST_MODULE_DETACHED");
    unsetenv("KERNEL_TEST_MODULE_REFUSE");
    unsetenv("ZARNE_HIDDEN_LIBRARIES");
    unsetenv("ZARNE_LIBRARY_DIR");
  }
  void TearDown() override { SetUp(); }
};

/* Runs `body` in a child process; its exit code (0 = every check held). */
int InChildProcess(int (*body)()) {
  pid_t child = fork();
  if (child == 0) _exit(body());
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

int LoadWithTheLibraryHidden() {
  setenv("ZARNE_HIDDEN_LIBRARIES", "stmlay32, KERNEL_TEST_MODULE.DLL;auxlay32", 1);
  if (LoadLibrary("kernel_test_module.dll") != nullptr) return 1;
  if (GetLastError() != static_cast<DWORD>(ERROR_MOD_NOT_FOUND)) return 2;
  if (LoadLibrary("C:\\Zarne\\Kernel_Test_Module") != nullptr) return 3;
  unsetenv("ZARNE_HIDDEN_LIBRARIES");
  HMODULE module = LoadLibrary("kernel_test_module.dll");  // the file itself is untouched
  if (!module) return 4;
  FreeLibrary(module);
  return 0;
}

TEST_F(ModulesTest, WindowsNamesFindTheLibraryBesideTheProgram) {
  HMODULE module = LoadLibrary("Kernel_Test_Module.DLL");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(LoadLibrary("kernel_test_module"), module);
  EXPECT_EQ(LoadLibrary("C:\\Some\\Where\\KERNEL_TEST_MODULE.dll"), module);
  auto length = reinterpret_cast<LengthFunction>(GetProcAddress(module, "KernelTestLength"));
  ASSERT_NE(length, nullptr);
  EXPECT_EQ(length("four"), 4);
  EXPECT_EQ(ModuleFromAddress(reinterpret_cast<const void*>(length)), module);
  EXPECT_NE(ModuleHostPath(module).find("libkernel_test_module.so"), std::string::npos);
  EXPECT_EQ(GetModuleHandle("kernel_test_module.dll"), module);
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_EQ(GetModuleHandle("kernel_test_module.dll"), nullptr);
}

TEST_F(ModulesTest, DllMainSeesOneAttachAndOneDetach) {
  HMODULE module = LoadLibrary("kernel_test_module.dll");
  ASSERT_NE(module, nullptr);
  ASSERT_NE(std::getenv("KERNEL_TEST_MODULE_ATTACHED"), nullptr);
  EXPECT_EQ(std::stoull(std::getenv("KERNEL_TEST_MODULE_ATTACHED")),
            reinterpret_cast<uintptr_t>(module));
  ASSERT_EQ(LoadLibrary("kernel_test_module.dll"), module);
  auto attach_count =
      reinterpret_cast<CountFunction>(GetProcAddress(module, "KernelTestAttachCount"));
  ASSERT_NE(attach_count, nullptr);
  EXPECT_EQ(attach_count(), 1);
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_EQ(std::getenv("KERNEL_TEST_MODULE_DETACHED"), nullptr);
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_NE(std::getenv("KERNEL_TEST_MODULE_DETACHED"), nullptr);
  EXPECT_FALSE(FreeLibrary(module));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(ModulesTest, RefusingDllMainFailsTheLoad) {
  setenv("KERNEL_TEST_MODULE_REFUSE", "1", 1);
  EXPECT_EQ(LoadLibrary("kernel_test_module.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
  EXPECT_EQ(GetModuleHandle("kernel_test_module.dll"), nullptr);
}

TEST_F(ModulesTest, MissingLibrariesAndExportsGiveNull) {
  EXPECT_EQ(LoadLibrary("nosuchlib.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(LoadLibrary(""), nullptr);
  EXPECT_EQ(LoadLibrary(nullptr), nullptr);
  HMODULE module = LoadLibrary("kernel_test_module.dll");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(GetProcAddress(module, "NoSuchExport"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  // Found in a library it depends on, not in the module itself.
  EXPECT_EQ(GetProcAddress(module, "lstrlen"), nullptr);
  EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCE(1)), nullptr);
  EXPECT_EQ(GetProcAddress(module, nullptr), nullptr);
  FreeLibrary(module);
  EXPECT_FALSE(FreeLibrary(reinterpret_cast<HMODULE>(0x1000)));
}

TEST_F(ModulesTest, ProgramModuleAndItsFileName) {
  EXPECT_EQ(GetModuleHandle(nullptr), MainProgramModule());
  EXPECT_EQ(GetModuleHandle("KERNEL_TESTS.EXE"), MainProgramModule());
  char name[MAX_PATH];
  const DWORD length = GetModuleFileName(nullptr, name, sizeof name);
  ASSERT_GT(length, 3u);
  EXPECT_EQ(std::string(name, 3), "Z:\\");
  EXPECT_EQ(std::string(name).substr(length - 13), "\\kernel_tests");
  EXPECT_EQ(std::string(name).find('/'), std::string::npos);

  char small[8];
  EXPECT_EQ(GetModuleFileName(nullptr, small, sizeof small), 8u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::string(small), std::string(name, 7));
  int on_stack = 0;
  EXPECT_EQ(GetModuleFileName(reinterpret_cast<HMODULE>(&on_stack), name, sizeof name), 0u);
}

}  // namespace

TEST_F(ModulesTest, AHiddenLibraryIsMissingForOneProcessOnly) {
  EXPECT_EQ(InChildProcess(LoadWithTheLibraryHidden), 0);
  // This process, without the variable, loads it from the same place.
  HMODULE module = LoadLibrary("kernel_test_module.dll");
  ASSERT_NE(module, nullptr);
  EXPECT_NE(GetProcAddress(module, "KernelTestLength"), nullptr);
  EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(ModulesTest, TheSearchDirectoryIsConsultedFirst) {
  // A library of the same name without the exports, placed in a directory of its own.
  char pattern[] = "/tmp/zarne-libdir-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  std::filesystem::path dir = pattern;
  std::filesystem::path bare =
      std::filesystem::path(ModuleHostPath(MainProgramModule())).parent_path() /
      "libkernel_test_module_bare.so";
  ASSERT_TRUE(std::filesystem::exists(bare)) << bare;
  std::filesystem::copy_file(bare, dir / "libkernel_test_module.so");
  setenv("ZARNE_LIBRARY_DIR", dir.c_str(), 1);
  HMODULE module = LoadLibrary("kernel_test_module.dll");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(ModuleHostPath(module), (dir / "libkernel_test_module.so").string());
  EXPECT_EQ(GetProcAddress(module, "KernelTestLength"), nullptr);
  EXPECT_NE(GetProcAddress(module, "KernelTestBareMarker"), nullptr);
  EXPECT_TRUE(FreeLibrary(module));
  // A name the directory does not hold is still found beside the program.
  std::filesystem::remove(dir / "libkernel_test_module.so");
  module = LoadLibrary("kernel_test_module.dll");
  ASSERT_NE(module, nullptr);
  EXPECT_NE(GetProcAddress(module, "KernelTestLength"), nullptr);
  EXPECT_TRUE(FreeLibrary(module));
  std::filesystem::remove_all(dir);
}
