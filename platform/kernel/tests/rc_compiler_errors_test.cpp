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
  Outcome outcome =
      RunCompiler(std::string(RC_TEST_DATA) + "/program.rc " + RC_TEST_DATA + "/program_extra.rc");
  EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
  EXPECT_EQ(outcome.errors, "");
}

namespace {

std::string WriteScript(const std::string& name, const std::string& text) {
  std::string path = ::testing::TempDir() + name;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return path;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  return path;
}

}  // namespace

// Inputs that once hung, aborted or crashed the compiler: each now stops it with an error
// naming its file and line.
TEST(RcCompilerErrors, RunawayAndUnreadableInputsStopAtTheirLine) {
  const std::string deep(30000, '(');
  struct Case {
    const char* name;
    std::string text;
    int line;
    const char* words;
  } cases[] = {
      {"self_macro.rc", "#define A A A\nA\n", 2, ""},
      {"growing_macros.rc",
       "#define B A A A A A A A A\n#define C B B B B B B B B\n#define D C C C C C C C C\n"
       "#define E D D D D D D D D\n#define F E E E E E E E E\n#define G F F F F F F F F\n"
       "#define H G G G G G G G G\nH\n",
       8, "macro replacement too large"},
      {"bitmap_empty_name.rc", "1 BITMAP \"\"\n", 1, "cannot find resource file \"\""},
      {"icon_directory.rc", "\n1 ICON \".\"\n", 2, "cannot find resource file \".\""},
      {"cursor_directory.rc", "1 CURSOR \".\"\n", 1, "cannot find resource file"},
      {"data_device.rc", "1 RCDATA \"/dev/zero\"\n", 1, "cannot find resource file"},
      {"include_empty_name.rc", "#include \"\"\n", 1, "cannot find include file \"\""},
      {"include_directory.rc", "\n\n#include \".\"\n", 3, "cannot find include file \".\""},
      {"include_device.rc", "#include \"/dev/zero\"\n", 1, "cannot find include file"},
      {"if_quotient_overflow.rc", "#if 0x80000000*0x80000000*2/-1\n#endif\n", 1, "overflow in #if"},
      {"if_division_by_zero.rc", "#if 1/(2-2)\n#endif\n", 1, "division by zero in #if"},
      // 0xFFFFFFFF squared is 0xFFFFFFFE00000001: not zero, so the #error is reached.
      {"if_product_wraps.rc", "#if 0xFFFFFFFF * 0xFFFFFFFF\n#error reached\n#endif\n", 2,
       "#error reached"},
      {"if_deep.rc", "#if " + deep + "\n", 1, "#if condition nested too deeply"},
      {"data_deep.rc", "1 RCDATA BEGIN " + deep + " END\n", 1, "expression nested too deeply"},
      {"data_quotient_overflow.rc", "\n1 RCDATA BEGIN 0x80000000*0x80000000*2/-1 END\n", 2,
       "overflow in the data"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = WriteScript(c.name, c.text);
    Outcome outcome = RunCompiler(path);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.errors.rfind(path + ":" + std::to_string(c.line) + ": ", 0), 0u)
        << outcome.errors;
    EXPECT_NE(outcome.errors.find(c.words), std::string::npos) << outcome.errors;
  }
}

// A macro whose replacement names itself keeps that name, as in C, and the rest expands.
TEST(RcCompilerErrors, MacroNamingItselfExpandsOnce) {
  std::string path = WriteScript("self_reference.rc",
                                 "#define SEVEN 7\n#define LIST SEVEN, LIST\n"
                                 "1 RCDATA BEGIN LIST END\n");
  Outcome outcome = RunCompiler(path);
  EXPECT_EQ(outcome.exitCode, 1);
  // 7 is read, then the unexpanded LIST is an unknown name on the same line.
  EXPECT_EQ(outcome.errors.rfind(path + ":3: ", 0), 0u) << outcome.errors;
  EXPECT_NE(outcome.errors.find("unknown name 'LIST'"), std::string::npos) << outcome.errors;
}
