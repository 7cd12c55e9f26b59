/*
** Loading title items from item-set files: the user chooses one or more files, each is read
** whole, split into items, each item merged with the open file's fields and prompts, and
** every non-empty item stored with policy "B" and appended to the list. Items stored before
** a file that cannot be opened or read stay.
*/
#include "closingfile/title_item_lists.h"

#include "closingfile/closing_file_view.h"
#include "closingfile/title_item_split.h"
#include "platform/framework/file_dialogs.h"
#include "platform/kernel/files.h"
#include "platform/kernel/resources.h"
#include "platform/user/message_box.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/value_forms.h"
#include "tableaccess/ww_file.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

/* The open dialog's answer for a choice of several files: a folder and many names. */
constexpr int kAnswerSize = 32768;
constexpr size_t kPathSize = 260;
constexpr int kFilterSize = 80;

constexpr DWORD kLoadFlags = OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST |
                             OFN_FILEMUSTEXIST | OFN_SHAREAWARE;

/* directory + "\" (unless it ends in one) + name into path, or name alone without a
   directory; false when it does not fit. */
bool JoinPath(char* path, const char* directory, const char* name) {
  size_t length = directory ? std::strlen(directory) : 0;
  bool separator = directory && (length == 0 || directory[length - 1] != '\\');
  size_t needed = length + (separator ? 1 : 0) + std::strlen(name);
  if (needed >= kPathSize) return false;
  path[0] = '\0';
  if (directory) std::strcat(path, directory);
  if (separator) std::strcat(path, "\\");
  std::strcat(path, name);
  return true;
}

}  // namespace

void TTitleItemsDialog::ShowFileError(const char* text) {
  MessageBox(HWindow, text, "TWWFile Error", MB_OK | MB_ICONSTOP);
}

void TTitleItemsDialog::LoadTitleItems(int index) {
  TTitleItemList& list = lists_[index];
  char filter[kFilterSize] = "";
  if (list.filter) std::strncpy(filter, list.filter, sizeof filter - 1);
  else LoadString(nullptr, list.filterString, filter, sizeof filter);
  TOpenSaveDialog::TData data(kLoadFlags, filter, nullptr, gDatabaseDir, nullptr, kAnswerSize);
  if (TFileOpenDialog(this, data).Execute() != IDOK) return;
  std::unique_ptr<char[]> path(new (std::nothrow) char[kPathSize]);
  std::unique_ptr<char[]> item(new (std::nothrow) char[kTitleTextSize]);
  if (!path || !item) {
    ShowNoMemory();
    return;
  }
  // The answer: a full path alone, or a folder, its names and an empty string.
  const char* answer = data.FileName;
  const char* name = answer + std::strlen(answer) + 1;
  const char* directory = answer;
  if (*name == '\0') {
    directory = nullptr;
    name = answer;
  }
  for (; *name != '\0'; name += std::strlen(name) + 1) {
    // A path too long for the buffer is a file that cannot be opened.
    if (!JoinPath(path.get(), directory, name)) {
      ShowFileError("Could not open file.");
      return;
    }
    if (!LoadTitleFile(list, path.get(), item.get()) || directory == nullptr) return;
  }
}

bool TTitleItemsDialog::LoadTitleFile(TTitleItemList& list, const char* path, char* item) {
  TWWFile file;
  if (!file.Open(path, OF_READ)) return false;
  long size = file.Size();
  if (size < 0) {
    // A file of more than 2 GiB, or one that is no file, has no length to read by.
    ShowFileError("Could not read file.");
    return false;
  }
  std::unique_ptr<char[]> text(new (std::nothrow) char[static_cast<size_t>(size) + 1]());
  if (!text) {
    ShowNoMemory();
    return false;
  }
  long count = file.Read(text.get(), static_cast<UINT>(size));
  file.Close();
  if (count < 0) {
    ShowFileError("Could not read file.");
    return false;
  }
  size_t at = 0;
  while (NextTitleItem(text.get(), static_cast<size_t>(count), at, item)) {
    View->MergeTemplate(this, path, item, item, kTitleTextLimit);
    TrimTitleItem(item);
    if (item[0] == '\0') continue;
    double seq = 0;
    if (!StoreNewItem(list, item, 'B', seq)) return false;
    TTitleItemRow row;
    BuildTitleRow(row, item, seq, "B");
    if (!AppendRow(list, row)) return false;
  }
  return true;
}
