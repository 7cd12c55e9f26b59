/*
** Loading the field scripts and running the one bound to a changed field.
*/
#include "statement/recalc_field_scripts.h"

#include "platform/kernel/files.h"
#include "platform/kernel/text.h"
#include "platform/user/message_box.h"
#include "script/zbasic.h"
#include "statement/recalc_dispatch.h"
#include "statement/recalc_rules.h"
#include "tableaccess/field_list.h"
#include "tableaccess/hidden_file_list.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/system_boxes.h"
#include "tableaccess/value_forms.h"
#include "tableaccess/ww_file.h"

#include <cstdio>
#include <cstring>
#include <string>

std::vector<TZBIItem> gFieldScripts;

namespace {

/* One flag per item of gFieldScripts: set while its script runs. */
// Owner: statement.
std::vector<bool> gScriptRunning;

/* Which loaded items came from a file named exactly after their field. */
// Owner: statement.
std::vector<bool> gLoadedByExactName;

int FindItemIndex(LONG tableIndex, LONG fieldNumber) {
  TZBIItem key(tableIndex, fieldNumber, nullptr);
  for (size_t i = 0; i < gFieldScripts.size(); ++i)
    if (gFieldScripts[i] == key) return static_cast<int>(i);
  return -1;
}

void ShowUnreadable(const char* fileName) {
  char text[512];
  std::snprintf(text, sizeof text, ResourceString(kFieldScriptUnreadableText).text, fileName);
  MessageBox(FocusOwner(), text, ResourceString(kZarneMessageCaption).text,
             MB_ICONEXCLAMATION | MB_OK);
}

/* The whole file as text with a terminator; false (after the box) when it cannot be had. */
bool ReadScriptFile(TWWFile& file, const char* fileName, std::string* text) {
  long size = file.Size();
  if (size < 0) {
    ShowUnreadable(fileName);
    return false;
  }
  text->assign(static_cast<size_t>(size), '\0');
  if (size > 0 && file.Read(text->data(), static_cast<UINT>(size)) != size) {
    ShowUnreadable(fileName);
    return false;
  }
  // A NUL inside the file ends the script there, as the interpreter reads it.
  text->resize(std::strlen(text->c_str()));
  return true;
}

/* Keeps a loaded script unless an earlier file has the better claim on its field. */
void KeepScript(const TFieldNode* field, const std::string& text, bool exactName) {
  int index = FindItemIndex(static_cast<SHORT>(field->tableIndex), field->fieldNumber);
  TZBIItem item(static_cast<SHORT>(field->tableIndex), field->fieldNumber, text.c_str());
  if (index < 0) {
    gFieldScripts.push_back(item);
    gLoadedByExactName.resize(gFieldScripts.size(), false);
    gLoadedByExactName.back() = exactName;
  } else if (exactName && !gLoadedByExactName[index]) {
    gFieldScripts[index] = item;
    gLoadedByExactName[index] = true;
  }
}

void LoadScriptFile(const char* fileName) {
  char path[MAX_PATH];
  BuildPath(path, gDatabaseDir, fileName, nullptr, sizeof path);
  TWWFile file;
  if (!file.Open(path, OF_READ | OF_SHARE_DENY_NONE)) return;  // the file layer showed its box

  char name[MAX_PATH];
  std::snprintf(name, sizeof name, "%s", fileName);
  const char* extension = std::strrchr(name, '.');
  std::string wholeBase(name,
                        extension ? static_cast<size_t>(extension - name) : std::strlen(name));
  if (char* dot = std::strchr(name, '.')) *dot = '\0';
  CharUpper(name);
  const TFieldNode* field = FindFieldByName(&gRespaFieldList, name);
  if (!field) return;

  std::string text;
  if (!ReadScriptFile(file, fileName, &text)) return;
  CharUpper(wholeBase.data());
  KeepScript(field, text, wholeBase == name);
}

/* Clears a script's running flag however its run ends. */
class RunningScope {
 public:
  explicit RunningScope(size_t index) : index_(index) { gScriptRunning[index_] = true; }
  ~RunningScope() {
    if (index_ < gScriptRunning.size()) gScriptRunning[index_] = false;
  }

 private:
  size_t index_;
};

}  // namespace

void LoadFieldScripts() {
  gFieldScripts.clear();
  gLoadedByExactName.clear();
  gScriptRunning.clear();
  THiddenFileList list(nullptr, kHiddenFileListTemplate);
  list.SetDirectory(gDatabaseDir);
  list.SetExtension("zbi");
  if (!list.Create()) return;
  TListBox* box = list.ListBox();
  for (int i = 0; i < box->GetCount(); ++i) LoadScriptFile(box->GetString(i).c_str());
}

const TZBIItem* FindFieldScript(const TFieldNode* field) {
  if (!field) return nullptr;
  int index = FindItemIndex(static_cast<SHORT>(field->tableIndex), field->fieldNumber);
  return index < 0 ? nullptr : &gFieldScripts[index];
}

bool RunFieldScript(RecalcView& view, const TFieldNode* field) {
  if (!field) return false;
  int index = FindItemIndex(static_cast<SHORT>(field->tableIndex), field->fieldNumber);
  if (index < 0) return false;
  if (gScriptRunning.size() < gFieldScripts.size()) gScriptRunning.resize(gFieldScripts.size());
  if (gScriptRunning[index]) return true;
  {
    RunningScope running(index);
    // The text is copied: a script may not outlive a change of the list it came from.
    std::string text = gFieldScripts[index].Text() ? gFieldScripts[index].Text() : "";
    TZBasic interpreter(view.ScriptOwner());
    interpreter.RunScript(text.c_str());
  }
  RecalcAll(view);
  return true;
}
