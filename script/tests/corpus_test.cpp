/*
** Runs every script of the corpus (corpus/<name>.zbs) and checks what it declares after its
** "=== expect" line:
**   num NAME VALUE       the variable holds exactly that decimal
**   str NAME TEXT        the string variable holds the rest of the line ("\n" = line feed)
**   absent NAME          the run made no such variable
**   error CODE LINE MSG  one error box: its caption, stop icon, and "Line LINE\nMSG."
**   returns end|null     what RunScript answered
** A case with no error line must show no box. Built-ins are reset before each case.
*/
#include "script/script_globals.h"
#include "script/tests/script_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <sstream>

namespace {

const char kExpectMarker[] = "\n=== expect\n";

std::string Unescape(std::string text) {
  for (size_t at = 0; (at = text.find("\\n", at)) != std::string::npos; ++at)
    text.replace(at, 2, "\n");
  return text;
}

void ResetBuiltIns() {
  RegisterScriptGlobals();
  for (TVariableNode* node = gScriptGlobals.First(); node; node = node->next) {
    node->value = ScriptDecimal{};
    if (node->text) node->text[0] = '\0';
  }
}

const CapturedVariable* Lookup(const ScriptRun& run, const std::string& name,
                               CapturedVariable* scratch) {
  auto it = run.locals.find(name);
  if (it != run.locals.end()) return &it->second;
  if (TVariableNode* node = gScriptGlobals.Find(name.c_str())) {
    scratch->type = node->type;
    scratch->value = node->value;
    scratch->text = node->text ? node->text : "";
    return scratch;
  }
  return nullptr;
}

void CheckCase(const std::string& name, const std::string& content) {
  SCOPED_TRACE(name);
  size_t marker = content.find(kExpectMarker);
  ASSERT_NE(marker, std::string::npos) << "no expectations";
  std::string script = content.substr(0, marker);
  std::istringstream expectations(content.substr(marker + std::strlen(kExpectMarker)));
  ResetBuiltIns();
  ScriptRun run = RunCapturing(script.c_str());
  bool errorExpected = false;
  std::string line;
  while (std::getline(expectations, line)) {
    if (line.empty()) continue;
    std::istringstream words(line);
    std::string verb, variable;
    words >> verb;
    if (verb == "num" || verb == "str" || verb == "absent") {
      words >> variable;
      CapturedVariable scratch;
      const CapturedVariable* found = Lookup(run, variable, &scratch);
      if (verb == "absent") {
        EXPECT_EQ(found, nullptr) << variable;
        continue;
      }
      ASSERT_NE(found, nullptr) << variable;
      std::string rest;
      std::getline(words, rest);
      if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
      if (verb == "num") {
        EXPECT_EQ(found->type, kVariableNumber) << variable;
        EXPECT_EQ(found->value.ToText(), Dec(rest.c_str()).ToText()) << variable;
      } else {
        EXPECT_EQ(found->type, kVariableString) << variable;
        EXPECT_EQ(found->text, Unescape(rest)) << variable;
      }
    } else if (verb == "error") {
      int code = 0, lineNumber = 0;
      words >> code >> lineNumber;
      std::string message;
      std::getline(words, message);
      message.erase(0, message.find_first_not_of(' '));
      errorExpected = true;
      ASSERT_EQ(run.boxes.size(), 1u) << "error " << code << " expected";
      EXPECT_EQ(run.boxes[0].caption, "ZarneBasic Error");
      EXPECT_EQ(run.boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
      EXPECT_EQ(run.boxes[0].text, ErrorBoxText(lineNumber, message)) << "code " << code;
      EXPECT_EQ(run.resumeAt, nullptr);
    } else if (verb == "returns") {
      std::string what;
      words >> what;
      if (what == "null") {
        EXPECT_EQ(run.resumeAt, nullptr);
      } else {
        ASSERT_NE(run.resumeAt, nullptr);
        size_t offset = static_cast<size_t>(run.resumeAt - script.c_str());
        ASSERT_GE(offset, 3u);
        EXPECT_EQ(script.substr(offset - 3, 3), "end");
      }
    } else {
      ADD_FAILURE() << "unknown expectation: " << line;
    }
  }
  if (!errorExpected) { EXPECT_TRUE(run.boxes.empty()) << run.boxes[0].text; }
}

}  // namespace

TEST(ScriptCorpus, EveryScriptLeavesWhatItDeclares) {
  std::vector<std::filesystem::path> cases;
  for (const auto& entry : std::filesystem::directory_iterator(TestDataPath("corpus")))
    if (entry.path().extension() == ".zbs") cases.push_back(entry.path());
  std::sort(cases.begin(), cases.end());
  ASSERT_GE(cases.size(), 30u);
  for (const auto& path : cases) CheckCase(path.filename().string(), ReadTextFile(path.string()));
}
