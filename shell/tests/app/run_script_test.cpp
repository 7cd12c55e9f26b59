/*
** ./run refuses to start without a desktop: one line, a failing exit, and nothing built.
*/
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

TEST(RunScript, WithoutADisplayItSaysSoInOneLineAndFails) {
  std::string command =
      std::string("env -i PATH=/usr/bin:/bin HOME=/nonexistent bash '") + RUN_SCRIPT + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  std::array<char, 256> chunk{};
  while (std::fgets(chunk.data(), chunk.size(), pipe)) output += chunk.data();
  int status = pclose(pipe);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 0);
  ASSERT_FALSE(output.empty());
  EXPECT_EQ(output.find('\n'), output.size() - 1) << output;
  EXPECT_NE(output.find("display"), std::string::npos) << output;
}
