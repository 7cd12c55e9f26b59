#include "platform/kernel/module_identity.h"

#include <gtest/gtest.h>

static int gSymbolInProgram = 0;

TEST(ModuleIdentityTest, ProgramCodeAndDataBelongToTheMainModule) {
  HMODULE main = MainProgramModule();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ModuleFromAddress(&gSymbolInProgram), main);
  EXPECT_NE(ModuleHostPath(main).find("kernel_tests"), std::string::npos);
}

TEST(ModuleIdentityTest, SharedLibraryIsItsOwnModule) {
  HMODULE kernel = ModuleFromAddress(reinterpret_cast<const void*>(&ModuleFromAddress));
  ASSERT_NE(kernel, nullptr);
  EXPECT_NE(kernel, MainProgramModule());
  EXPECT_NE(ModuleHostPath(kernel).find("libzarne_kernel.so"), std::string::npos);
  EXPECT_EQ(ModuleFromAddress(nullptr), nullptr);
  EXPECT_TRUE(ModuleHostPath(nullptr).empty());
}
