/*
** The property dialog and its Legal Description loader.
*/
#include "closingfile/property_dialog.h"

#include "closingfile/closing_file_view.h"
#include "closingfile/closing_file_xfer.h"
#include "platform/framework/edit.h"
#include "platform/framework/file_dialogs.h"
#include "platform/framework/module.h"
#include "platform/kernel/files.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/typed_edits.h"
#include "tableaccess/ww_file.h"

#include <cstring>
#include <memory>
#include <string>

namespace {
constexpr int kFilterSize = 80;
constexpr UINT kLegalBufferSize = 16384;
constexpr UINT kLegalTextSize = 16383;
constexpr UINT kTaxYearLimit = 5;
}  // namespace

DEFINE_RESPONSE_TABLE1(TProperty, TDialog)
EV_COMMAND(kLegalDescriptionButtonId, CmLegalDescription), END_RESPONSE_TABLE;

TProperty::TProperty(TClosingFileView* view, TResId resId, TModule* module)
    : TDialog(view->FileWindow(), resId, module), view_(view) {
  // Made in the order of the transfer record's fields.
  new TEdit(this, 108, sizeof TPropertyXfer::city);
  new TEdit(this, 201, sizeof TPropertyXfer::county);
  legal_ = new TEdit(this, kLegalDescriptionEditId, sizeof TPropertyXfer::legal);
  new TEdit(this, 109, sizeof TPropertyXfer::state);
  new TEdit(this, 107, sizeof TPropertyXfer::street);
  new TWWInteger(this, 301, kTaxYearLimit);
  new TEdit(this, 110, sizeof TPropertyXfer::zip);
  new TEdit(this, 111, sizeof TPropertyXfer::propertyId);
}

/* After a failed open, size or read the box keeps its text: an emptied box would let OK
   erase the description the user typed or the file stored. */
void TProperty::CmLegalDescription() {
  char filter[kFilterSize] = "";
  if (TModule* module = GetModule()) module->LoadString(kLegalFilterString, filter, sizeof filter);
  TOpenSaveDialog::TData data(
      OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_SHAREAWARE, nullptr, nullptr,
      gDatabaseDir, nullptr, MAX_PATH);
  data.SetFilter(filter);
  data.FilterIndex = 1;
  TFileOpenDialog dialog(this, data);
  if (dialog.Execute() != IDOK) return;
  std::string path = data.FileName;
  std::unique_ptr<char[]> buffer(new char[kLegalBufferSize]());
  if (!ReadLegalFile(path.c_str(), buffer.get())) return;
  view_->MergeTemplate(this, path.c_str(), buffer.get(), buffer.get(), kLegalTextSize);
  legal_->SetText(buffer.get());
}

bool TProperty::ReadLegalFile(const char* path, char* buffer) {
  TWWFile file;
  if (!file.Open(path, OF_READ)) return false;  // the file service said so
  long size = file.Size();
  long read = -1;
  if (size >= 0) {
    UINT count =
        static_cast<UINT>(size < static_cast<long>(kLegalTextSize) ? size : kLegalTextSize);
    read = file.Read(buffer, count);
  }
  file.Close();
  if (read < 0) {
    MessageBox(GetHandle(), "Could not read file.", "TWWFile Error", MB_ICONSTOP | MB_OK);
    return false;
  }
  buffer[read] = '\0';
  return true;
}
