// zrc on malformed scripts: it stops with exit code 1 and names the file and line.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct Outcome {
  int exitCode;
  std::string errors;
};

Outcome RunCompiler(const std::string& scripts) {
  std::string output = ::testing::TempDir() + "rc_errors_out.cpp";
  std::string command = std::string(RC_COMPILER) + " -o " + output + " " + scripts + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  Outcome outcome{-1, {}};
  if (!pipe) return outcome;
  char buffer[512];
  while (fgets(buffer, sizeof buffer, pipe)) outcome.errors += buffer;
  int status = pclose(pipe);
  outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

std::string Bad(const char* name) { return std::string(RC_TEST_DATA) + "/bad/" + name; }

}  // namespace

TEST(RcCompilerErrors, MalformedLinesAreNamedByFileAndLine) {
  struct Case {
    const char* file;
    int line;
    const char* words;
  } cases[] = {
      {"unknown_style.rc", 5, "unknown name 'BS_NOSUCHSTYLE'"},
      {"unterminated.rc", 4, "not terminated"},
      {"missing_comma.rc", 3, "expected ','"},
      {"missing_include.rc", 1, "no_such_header.h"},
      {"missing_end.rc", 3, "missing END"},
      {"not_1252.rc", 3, "U+1F600 has no Windows-1252 form"},
      {"bad_control.rc", 3, "unknown control statement 'BUTTON'"},
      {"unclosed_if.rc", 7, "#if without #endif"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Outcome outcome = RunCompiler(Bad(c.file));
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.errors.rfind(Bad(c.file) + ":" + std::to_string(c.line) + ": ", 0), 0u)
        << outcome.errors;
    EXPECT_NE(outcome.errors.find(c.words), std::string::npos) << outcome.errors;
  }
}

TEST(RcCompilerErrors, StringIdGivenTwoTextsAcrossScriptsOfOneModule) {
  Outcome outcome = RunCompiler(Bad("conflict_a.rc") + " " + Bad("conflict_b.rc"));
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(outcome.errors.rfind(Bad("conflict_b.rc") + ":4: ", 0), 0u) << outcome.errors;
  EXPECT_NE(outcome.errors.find(Bad("conflict_a.rc") + ":3"), std::string::npos) << outcome.errors;
}

TEST(RcCompilerErrors, SameResourceTwiceIsRefused) {
  std::string script = std::string(RC_TEST_DATA) + "/library.rc";
  Outcome outcome = RunCompiler(script + " " + script);
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_NE(outcome.errors.find("duplicate resource 401"), std::string::npos) << outcome.errors;
}

TEST(RcCompilerErrors, WellFormedScriptsCompile) {
  Outcome outcome = RunCompiler(std::string(RC_TEST_DATA) + "/program.rc " + RC_TEST_DATA +
                                "/program_extra.rc");
  EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
  EXPECT_EQ(outcome.errors, "");
}
