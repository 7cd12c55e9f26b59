/*
** The Extended Style dialog (ExtStyleDlg): opens from the grid's settings and, on OK, sends
** exactly what its buttons show.
*/
#include "grid/ext_style_dialog.h"

#include "grid/design_help.h"
#include "grid/library_state.h"
#include "grid/tessel_codes.h"

namespace {

struct ExStyleBox {
  int id;
  DWORD bit;
};
const ExStyleBox kBoxes[] = {{136, 0x0200}, {115, 0x0100}, {117, 0x0080}, {111, 0x0002},
                             {112, 0x0010}, {113, 0x0004}, {114, 0x0008}, {116, 0x0020}};
enum { kColsInRows = 107, kRowsInCols = 108, kTabCells = 105, kTabControls = 106 };
enum { kHeadFixed = 119, kHeadAdjustable = 120, kHeadDefault = 121 };
enum { kLabelFixed = 122, kLabelAdjustable = 123, kLabelDefault = 124, kHelp = 998 };

// Owner: grid.
HWND gExtGrid = nullptr;

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

/* 2 fixed, 1 adjustable, 0 default, from the first of three buttons. */
int ModeOf(HWND dialog, int fixedId) {
  return Checked(dialog, fixedId) ? 2 : Checked(dialog, fixedId + 1) ? 1 : 0;
}
int ButtonOfMode(unsigned bits, int fixedId) {
  return (bits & 2) ? fixedId : (bits & 1) ? fixedId + 1 : fixedId + 2;
}

void Open(HWND dialog) {
  DWORD exStyle = static_cast<DWORD>(SendMessage(gExtGrid, TSM_GETEXSTYLE, 0, 0));
  for (const ExStyleBox& box : kBoxes)
    CheckDlgButton(dialog, box.id, (exStyle & box.bit) ? BST_CHECKED : BST_UNCHECKED);
  CheckRadioButton(dialog, kColsInRows, kRowsInCols,
                   (exStyle & 0x0040) ? kColsInRows : kRowsInCols);
  CheckRadioButton(dialog, kTabCells, kTabControls, (exStyle & 0x0001) ? kTabCells : kTabControls);
  unsigned labelFlags =
      static_cast<unsigned>(SendMessage(gExtGrid, TSM_GETCOLSTYLE, TSCOL_ROWLABEL, 0));
  CheckRadioButton(dialog, kLabelFixed, kLabelDefault, ButtonOfMode(labelFlags, kLabelFixed));
  SendMessage(gExtGrid, TSM_SETCURSOR, 0, TSROW_HEADING);
  unsigned headingStyle =
      static_cast<unsigned>(SendMessage(gExtGrid, TSM_GETROWSTYLE, TSREF_CURSOR, 0));
  CheckRadioButton(dialog, kHeadFixed, kHeadDefault, ButtonOfMode(headingStyle, kHeadFixed));
}

void Send(HWND dialog) {
  DWORD exStyle = 0;
  for (const ExStyleBox& box : kBoxes)
    if (Checked(dialog, box.id)) exStyle |= box.bit;
  if (Checked(dialog, kColsInRows)) exStyle |= 0x0040;
  if (Checked(dialog, kTabCells)) exStyle |= 0x0001;
  SendMessage(gExtGrid, TSM_SETEXSTYLE, 0, static_cast<LPARAM>(exStyle));
  SendMessage(gExtGrid, TSM_SETCOLSTYLE, TSCOL_ROWLABEL, ModeOf(dialog, kLabelFixed));
  SendMessage(gExtGrid, TSM_SETCURSOR, 0, TSROW_HEADING);
  SendMessage(gExtGrid, TSM_SETROWSTYLE, TSREF_CURSOR, ModeOf(dialog, kHeadFixed));
}

INT_PTR CALLBACK ExtStyleProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    Open(dialog);
    return TRUE;
  }
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK:
      Send(dialog);
      EndDialog(dialog, 1);
      return TRUE;
    case IDCANCEL: EndDialog(dialog, 0); return TRUE;
    case kHelp: OpenTesselHelp(dialog, "The Extended Styles Dialog"); return TRUE;
    default: return FALSE;
  }
}

}  // namespace

int RunExtStyleDialog(HWND owner, HWND grid) {
  if (!grid) return 0;
  gExtGrid = grid;
  INT_PTR result = DialogBoxParam(gTesselModule, "ExtStyleDlg", owner, ExtStyleProc, 0);
  gExtGrid = nullptr;
  return result == 1 ? 1 : 0;
}
