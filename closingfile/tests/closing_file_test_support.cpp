/*
** The closing-file dialog tests' helpers.
*/
#include "closingfile/tests/closing_file_test_support.h"

#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"

#include <fstream>
#include <sstream>

void ClosingFileTest::Command(RespaWindow* view, int id) {
  view->SendMessage(WM_COMMAND, id);
  Pump();
}

void ClosingFileTest::AnswerCommand(RespaWindow* view, int command, int templateId,
                                    const std::vector<std::pair<int, std::string>>& typed, int key,
                                    int leaveTo) {
  driver.OnDialog(templateId, [&](HWND dialog) {
    for (const auto& [id, text] : typed) TypeInto(dialog, id, text);
    if (leaveTo != 0) FocusControl(dialog, leaveTo);
    PressDialogKey(dialog, key);
  });
  Command(view, command);
}

void ClosingFileTest::Save(RespaWindow* view) {
  view->SendMessage(WM_COMMAND, 24333);
  Pump();
}

std::string ClosingFileTest::Shot(HWND dialog, const std::string& name) {
  std::string path = std::string(CLOSINGFILE_OUTPUT_DIR) + "/" + name + ".png";
  EXPECT_TRUE(SaveWindowScreenshot(dialog, path)) << path;
  return path;
}

void FocusControl(HWND dialog, int id) {
  HWND control = FindControl(dialog, id);
  ASSERT_NE(control, nullptr) << id;
  SetFocus(control);
  PumpDialogMessages(dialog);
}

void TypeInto(HWND dialog, int id, const std::string& text) {
  FocusControl(dialog, id);
  HWND control = FindControl(dialog, id);
  char className[32] = "";
  GetClassName(control, className, sizeof className);
  if (std::string(className) == "COMBOBOX")
    SendMessage(control, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
  else SendMessage(control, EM_SETSEL, 0, -1);
  TypeIntoDialog(dialog, text);
}

bool ControlVisible(HWND dialog, int id) {
  HWND control = FindControl(dialog, id);
  EXPECT_NE(control, nullptr) << id;
  return control && IsWindowVisible(control);
}

std::string CaptionOf(HWND dialog) {
  char caption[256] = "";
  GetWindowText(dialog, caption, sizeof caption);
  return caption;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void ClosingFileTest::PutValues(int table, const std::string& number,
                                const std::vector<std::pair<int, std::string>>& texts,
                                const std::vector<std::pair<int, LONG>>& longs,
                                const std::vector<std::pair<int, double>>& doubles) {
  TPXRecord record(gTables[table], true);
  record.Clear();
  record.SetString(1, number.c_str());
  for (const auto& [field, text] : texts) ASSERT_TRUE(record.SetString(field, text.c_str()));
  for (const auto& [field, value] : longs) ASSERT_TRUE(record.SetLong(field, value));
  for (const auto& [field, value] : doubles) ASSERT_TRUE(record.SetDouble(field, value));
  ASSERT_TRUE(record.Post());
}

std::string ClosingFileTest::BufferText(RespaWindow* view, int table, int field) {
  char text[512] = "";
  view->records[table]->GetString(field, text, sizeof text);
  return text;
}

LONG ClosingFileTest::BufferLong(RespaWindow* view, int table, int field) {
  LONG value = -1;
  view->records[table]->GetLong(field, value);
  return value;
}

std::string LongControlText(HWND dialog, int id) {
  HWND control = FindControl(dialog, id);
  if (!control) return {};
  std::string text(static_cast<size_t>(GetWindowTextLength(control)) + 1, '\0');
  int length = GetWindowText(control, text.data(), static_cast<int>(text.size()));
  text.resize(length > 0 ? static_cast<size_t>(length) : 0);
  return text;
}
