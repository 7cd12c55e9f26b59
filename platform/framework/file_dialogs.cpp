/*
** The open and save file dialogs over GetOpenFileName and GetSaveFileName.
*/
#include "platform/framework/file_dialogs.h"

#include <cstring>

namespace {
char* Duplicate(const char* text) {
  if (!text) return nullptr;
  char* copy = new char[std::strlen(text) + 1];
  std::strcpy(copy, text);
  return copy;
}
}  // namespace

TOpenSaveDialog::TData::TData(DWORD flags, const char* filter, char* customFilter,
                              const char* initialDir, const char* defExt, int maxPath)
    : Flags(flags),
      FileName(nullptr),
      Filter(nullptr),
      CustomFilter(customFilter),
      InitialDir(Duplicate(initialDir)),
      DefExt(Duplicate(defExt)),
      MaxPath(maxPath > 0 ? maxPath : MAX_PATH) {
  FileName = new char[static_cast<size_t>(MaxPath)]();
  SetFilter(filter);
}

TOpenSaveDialog::TData::TData(const TData& other)
    : Flags(other.Flags),
      Error(other.Error),
      FileName(nullptr),
      Filter(nullptr),
      CustomFilter(other.CustomFilter),
      FilterIndex(other.FilterIndex),
      InitialDir(Duplicate(other.InitialDir)),
      DefExt(Duplicate(other.DefExt)),
      MaxPath(other.MaxPath) {
  FileName = new char[static_cast<size_t>(MaxPath)]();
  std::strncpy(FileName, other.FileName, static_cast<size_t>(MaxPath) - 1);
  SetFilter(other.Filter);
}

TOpenSaveDialog::TData& TOpenSaveDialog::TData::operator=(const TData& other) {
  if (this == &other) return *this;
  TData copy(other);
  std::swap(Flags, copy.Flags);
  std::swap(Error, copy.Error);
  std::swap(FileName, copy.FileName);
  std::swap(Filter, copy.Filter);
  std::swap(CustomFilter, copy.CustomFilter);
  std::swap(FilterIndex, copy.FilterIndex);
  std::swap(InitialDir, copy.InitialDir);
  std::swap(DefExt, copy.DefExt);
  std::swap(MaxPath, copy.MaxPath);
  return *this;
}

TOpenSaveDialog::TData::~TData() {
  delete[] FileName;
  delete[] Filter;
  delete[] InitialDir;
  delete[] DefExt;
}

void TOpenSaveDialog::TData::SetFilter(const char* filter) {
  delete[] Filter;
  Filter = Duplicate(filter);
}

TOpenSaveDialog::TOpenSaveDialog(TWindow* parent, TData& data, const char* title, TModule* module)
    : TCommonDialog(parent, nullptr, module), Data(data), DialogTitle(title ? title : "") {}

int TOpenSaveDialog::Run(bool save) {
  OPENFILENAME ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Parent ? Parent->HWindow : nullptr;
  ofn.hInstance = *GetModule();
  ofn.lpstrFilter = Data.Filter;
  ofn.lpstrCustomFilter = Data.CustomFilter;
  ofn.nFilterIndex = static_cast<DWORD>(Data.FilterIndex);
  ofn.lpstrFile = Data.FileName;
  ofn.nMaxFile = static_cast<DWORD>(Data.MaxPath);
  ofn.lpstrInitialDir = Data.InitialDir;
  ofn.lpstrTitle = DialogTitle.empty() ? nullptr : DialogTitle.c_str();
  ofn.Flags = Data.Flags;
  ofn.lpstrDefExt = Data.DefExt;
  BOOL ok = save ? GetSaveFileName(&ofn) : GetOpenFileName(&ofn);
  if (!ok) {
    Data.Error = CommDlgExtendedError();
    return IDCANCEL;
  }
  Data.Error = 0;
  Data.Flags = ofn.Flags;
  Data.FilterIndex = static_cast<int>(ofn.nFilterIndex);
  return IDOK;
}

TFileOpenDialog::TFileOpenDialog(TWindow* parent, TData& data, const char*, const char* title,
                                 TModule* module)
    : TOpenSaveDialog(parent, data, title, module) {}

TFileSaveDialog::TFileSaveDialog(TWindow* parent, TData& data, const char*, const char* title,
                                 TModule* module)
    : TOpenSaveDialog(parent, data, title, module) {}
