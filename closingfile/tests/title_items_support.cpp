/*
** The title-item tests' tables, grids, dialogs and files.
*/
#include "closingfile/tests/title_items_support.h"

#include "grid/tessel_codes.h"
#include "platform/kernel/modules.h"
#include "platform/testing/synthetic_input.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <cstring>
#include <fstream>
#include <memory>

namespace {}

void TitleItemsTest::SetUp() {
  StatementWindowTest::SetUp();
  // Start-up loads the grid library, which registers the class the templates name.
  grids_ = LoadLibrary("vgrd32.dll");
  ASSERT_NE(grids_, nullptr);
  view = OpenFile(kFile);
  ASSERT_NE(view, nullptr);
}

void TitleItemsTest::TearDown() {
  view = nullptr;
  StatementWindowTest::TearDown();
  if (grids_) FreeLibrary(grids_);
}

std::vector<StoredItem> TitleItemsTest::AllStored() {
  std::vector<StoredItem> items;
  TPXRecord record(gTables[kTitleBTable], true);
  for (bool at = record.First(); at; at = record.Next()) {
    if (!record.Read(ENGINE_NO_LOCK)) break;
    StoredItem item;
    char file[16] = "", type[3] = "", policy[2] = "";
    std::unique_ptr<char[]> text(new char[40000]());
    record.GetString(1, file, sizeof file);
    record.GetString(2, type, sizeof type);
    record.GetDouble(3, item.seq);
    record.GetString(4, text.get(), 40000);
    record.GetString(5, policy, sizeof policy);
    item.file = file;
    item.type = type;
    item.text = text.get();
    item.policy = policy;
    items.push_back(item);
  }
  return items;
}

std::vector<StoredItem> TitleItemsTest::Stored(const std::string& file, const std::string& type) {
  std::vector<StoredItem> items;
  for (const StoredItem& item : AllStored())
    if (item.file == file && item.type == type) items.push_back(item);
  return items;
}

void TitleItemsTest::PutItem(const std::string& file, const std::string& type, double seq,
                             const std::string& text, const std::string& policy) {
  TPXRecord record(gTables[kTitleBTable], true);
  record.Clear();
  record.SetString(1, file.c_str());
  record.SetString(2, type.c_str());
  record.SetDouble(3, seq);
  record.SetString(5, policy.c_str());
  ASSERT_TRUE(record.Insert());
  ASSERT_TRUE(record.SetString(4, text.c_str()));
}

long TitleItemsTest::Send(HWND grid, UINT message, WPARAM wParam, LPARAM lParam) {
  return static_cast<long>(static_cast<int32_t>(SendMessage(grid, message, wParam, lParam)));
}

std::vector<TTitleItemRow> TitleItemsTest::Rows(HWND grid) {
  std::vector<TTitleItemRow> rows;
  long count = Send(grid, TSM_GETROWCOUNT);
  for (long r = 0; r < count; ++r) {
    TTitleItemRow row;
    std::memset(&row, 0x5A, sizeof row);
    Send(grid, TSM_SETCURSOR, 0, r);
    Send(grid, TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&row));
    rows.push_back(row);
  }
  Send(grid, TSM_SETCURSOR, 0, -2);
  return rows;
}

std::vector<std::string> TitleItemsTest::RowTexts(HWND grid) {
  std::vector<std::string> texts;
  for (const TTitleItemRow& row : Rows(grid)) texts.emplace_back(row.Text);
  return texts;
}

void TitleItemsTest::ClickRow(HWND grid, int row) {
  Send(grid, TSM_ENSUREVISIBLE, 0, row);
  Send(grid, TSM_SETCURSOR, 0, row);
  RECT cell{};
  Send(grid, TSM_GETCELLRECT, 0, reinterpret_cast<LPARAM>(&cell));
  Send(grid, TSM_SETCURSOR, 0, -2);
  Click(grid, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
  Pump();
}

void TitleItemsTest::RunCommand(int command, int templateId, DialogDriver::Script script) {
  driver.OnDialog(templateId, std::move(script));
  view->SendMessage(WM_COMMAND, command);
  Pump();
}

std::string TitleItemsTest::WriteFile(const std::string& name, const std::string& bytes) {
  std::string path = PathInRoot(name);
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::vector<std::string> TitleItemsTest::BoxCaptions() {
  std::vector<std::string> captions;
  for (const MessageBoxRequest& box : Boxes().Shown()) captions.push_back(box.caption);
  return captions;
}

std::vector<std::string> Texts(const std::vector<StoredItem>& items) {
  std::vector<std::string> texts;
  for (const StoredItem& item : items) texts.push_back(item.text);
  return texts;
}

bool KeysRise(const std::vector<StoredItem>& items) {
  for (size_t i = 1; i < items.size(); ++i)
    if (!(items[i].seq > items[i - 1].seq)) return false;
  return true;
}
