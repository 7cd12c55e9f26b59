/*
** TCommonDialog and TPrintDialog over PrintDlg.
*/
#include "platform/framework/print_dialog.h"

#include <cstring>

TCommonDialog::TCommonDialog(TWindow* parent, const char* title, TModule* module)
    : TDialog(parent, TResId(), module) {
  if (title) SetCaption(title);
}

TPrintDialog::TPrintDialog(TWindow* parent, TData& data, const char*, const char*,
                           const char* title, TModule* module)
    : TCommonDialog(parent, title, module), Data(data) {}

namespace {
// The dialog may keep, replace or free the blocks it is given, so it gets copies: the data's
// own blocks stay valid whatever it does.
HGLOBAL CopyOf(HGLOBAL block) {
  if (!block) return nullptr;
  SIZE_T size = GlobalSize(block);
  const void* from = GlobalLock(block);
  HGLOBAL copy = from ? GlobalAlloc(GMEM_MOVEABLE, size) : nullptr;
  if (copy) {
    std::memcpy(GlobalLock(copy), from, size);
    GlobalUnlock(copy);
  }
  if (from) GlobalUnlock(block);
  return copy;
}
}  // namespace

int TPrintDialog::Execute() {
  PRINTDLG pd{};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = Parent ? Parent->HWindow : nullptr;
  pd.Flags = Data.Flags;
  bool returnDefault = (Data.Flags & PD_RETURNDEFAULT) != 0;
  pd.hDevMode = returnDefault ? nullptr : CopyOf(Data.GetDevModeHandle());
  pd.hDevNames = returnDefault ? nullptr : CopyOf(Data.GetDevNamesHandle());
  pd.nFromPage = static_cast<WORD>(Data.FromPage < 0 ? 1 : Data.FromPage);
  pd.nToPage = static_cast<WORD>(Data.ToPage < 0 ? 1 : Data.ToPage);
  pd.nMinPage = static_cast<WORD>(Data.MinPage < 0 ? 1 : Data.MinPage);
  pd.nMaxPage = static_cast<WORD>(Data.MaxPage < 0 ? 0xFFFF : Data.MaxPage);
  pd.nCopies = static_cast<WORD>(Data.Copies > 0 ? Data.Copies : 1);
  if (!PrintDlg(&pd)) {
    Data.Error = CommDlgExtendedError();
    GlobalFree(pd.hDevMode);
    GlobalFree(pd.hDevNames);
    return IDCANCEL;
  }
  Data.Error = 0;
  // Asking for the default printer is a one-time request, not a lasting choice: a later
  // print dialog on the same data must show itself.
  Data.Flags = pd.Flags & ~static_cast<DWORD>(PD_RETURNDEFAULT);
  Data.FromPage = pd.nFromPage;
  Data.ToPage = pd.nToPage;
  Data.Copies = pd.nCopies;
  Data.AdoptHandles(pd.hDevMode, pd.hDevNames);
  if (pd.hDC) DeleteDC(pd.hDC);
  return IDOK;
}
