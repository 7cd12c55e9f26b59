/*
** The custom-control interface a dialog editor calls: the control's description and the
** style function with its window-style dialog (TableStyleDlg32), from which the designer
** reaches Column Setup, the Extended Style dialog and the Load and Save dialogs.
*/
#include "grid/config_dialogs.h"
#include "grid/design_exports.h"
#include "grid/design_help.h"
#include "grid/design_host.h"
#include "grid/design_services.h"
#include "grid/ext_style_dialog.h"
#include "grid/library_state.h"
#include "grid/tessel_codes.h"
#include "grid/tessel_lock.h"
#include "platform/user/custom_controls.h"

#include <cstring>

namespace {

enum StyleControl {
  kBorder = 103,
  kHScroll = 104,
  kVScroll = 105,
  kHGrid = 106,
  kVGrid = 107,
  kEditable = 108,
  kNormal = 109,
  kLargeData = 110,
  kVirtual = 111,
  kColResize = 112,
  kNoDropDown = 113,
  kDropDown = 114,
  kAutoDropDown = 115,
  kSelectNone = 116,
  kSingleRow = 117,
  kMultiRow = 118,
  kSingleCol = 119,
  kMultiCol = 120,
  kColumnSetup = 121,
  kExtended = 123,
  kLoad = 124,
  kSave = 125,
  kHeadNone = 127,
  kHeadNumbers = 128,
  kHeadLetters = 129,
  kHeadCustom = 130,
  kLabelNone = 131,
  kLabelNumbers = 132,
  kLabelButtons = 133,
  kHelp = 998,
};

// The style dialog's state, shared with its buttons while it runs.
// Owner: grid.
DWORD gEditedStyle = 0;
DWORD gOpeningStyle = 0;
char gControlText[CCHCCTEXT] = "";
HWND gStyleGrid = nullptr;

// Owner: grid. Never written: not const only because the style info takes a non-const pointer.
CCSTYLEFLAGA gStyleFlags[] = {
    {TSS_VIRTUALMEM, 0, const_cast<LPSTR>("TSS_VIRTUALMEM")},
    {TSS_EDIT, 0, const_cast<LPSTR>("TSS_EDIT")},
    {TSS_RESIZE, 0, const_cast<LPSTR>("TSS_RESIZE")},
    {TSS_NONE, 0, const_cast<LPSTR>("TSS_NONE")},
    {TSS_OWNERDEF, 0, const_cast<LPSTR>("TSS_OWNERDEF")},
    {TSS_NUMBERS, 0, const_cast<LPSTR>("TSS_NUMBERS")},
    {TSS_LETTERS, 0, const_cast<LPSTR>("TSS_LETTERS")},
    {TSS_HGRID, 0, const_cast<LPSTR>("TSS_HGRID")},
    {TSS_VGRID, 0, const_cast<LPSTR>("TSS_VGRID")},
    {TSS_ROWSELECT, 0, const_cast<LPSTR>("TSS_ROWSELECT")},
    {TSS_MULTIROW, 0, const_cast<LPSTR>("TSS_MULTIROW")},
    {TSS_COLSELECT, 0, const_cast<LPSTR>("TSS_COLSELECT")},
    {TSS_MULTICOL, 0, const_cast<LPSTR>("TSS_MULTICOL")},
    {TSS_SMALLDATA, 0, const_cast<LPSTR>("TSS_SMALLDATA")},
    {TSS_LARGEDATA, 0, const_cast<LPSTR>("TSS_LARGEDATA")},
    {TSS_ROWBUTTONS, 0, const_cast<LPSTR>("TSS_ROWBUTTONS")},
    {TSS_ROWNUMBERS, 0, const_cast<LPSTR>("TSS_ROWNUMBERS")},
    {TSS_DROPDOWN, 0, const_cast<LPSTR>("TSS_DROPDOWN")},
    {TSS_AUTODROPDN, 0, const_cast<LPSTR>("TSS_AUTODROPDN")},
};

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
void Check(HWND dialog, int id, bool on) {
  CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

/* Drop-down styles need single-row selection. */
void ApplyDropDownRule(HWND dialog) {
  bool singleRow = Checked(dialog, kSingleRow);
  if (!singleRow) {
    Check(dialog, kDropDown, false);
    Check(dialog, kAutoDropDown, false);
  }
  EnableWindow(GetDlgItem(dialog, kDropDown), singleRow);
  EnableWindow(GetDlgItem(dialog, kAutoDropDown), singleRow);
}

void StyleToButtons(HWND dialog, DWORD style) {
  const struct {
    int id;
    DWORD bit;
  } boxes[] = {{kBorder, WS_BORDER},    {kHScroll, WS_HSCROLL}, {kVScroll, WS_VSCROLL},
               {kHGrid, TSS_HGRID},     {kVGrid, TSS_VGRID},    {kEditable, TSS_EDIT},
               {kColResize, TSS_RESIZE}};
  for (const auto& box : boxes) Check(dialog, box.id, (style & box.bit) != 0);
  // The large data model has no button of its own: checking the absent one clears both.
  int memory = (style & TSS_LARGEDATA) ? kLargeData : (style & TSS_VIRTUALMEM) ? kVirtual : kNormal;
  CheckRadioButton(dialog, kNormal, kVirtual, memory);
  int selection = (style & TSS_MULTICOL)    ? kMultiCol
                  : (style & TSS_COLSELECT) ? kSingleCol
                  : (style & TSS_MULTIROW)  ? kMultiRow
                  : (style & TSS_ROWSELECT) ? kSingleRow
                                            : kSelectNone;
  CheckRadioButton(dialog, kSelectNone, kMultiCol, selection);
  const int headings[4] = {kHeadNone, kHeadNumbers, kHeadLetters, kHeadCustom};
  CheckRadioButton(dialog, kHeadNone, kHeadCustom, headings[(style & 0x0030) >> 4]);
  int labels = (style & TSS_ROWNUMBERS)   ? kLabelNumbers
               : (style & TSS_ROWBUTTONS) ? kLabelButtons
                                          : kLabelNone;
  CheckRadioButton(dialog, kLabelNone, kLabelButtons, labels);
  int drop = (style & TSS_AUTODROPDN) == TSS_AUTODROPDN ? kAutoDropDown
             : (style & TSS_DROPDOWN)                   ? kDropDown
                                                        : kNoDropDown;
  CheckRadioButton(dialog, kNoDropDown, kAutoDropDown, drop);
  ApplyDropDownRule(dialog);
}

DWORD ButtonsToStyle(HWND dialog) {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  if (Checked(dialog, kColResize)) style |= TSS_RESIZE;
  if (Checked(dialog, kVirtual)) style |= TSS_VIRTUALMEM;
  // Neither memory model checked: a grid that relied on the large model keeps it.
  if (!Checked(dialog, kVirtual) && !Checked(dialog, kNormal))
    style |= gOpeningStyle & TSS_LARGEDATA;
  if (Checked(dialog, kHGrid)) style |= TSS_HGRID;
  if (Checked(dialog, kVGrid)) style |= TSS_VGRID;
  if (Checked(dialog, kEditable)) style |= TSS_EDIT;
  if (Checked(dialog, kMultiRow)) style |= TSS_MULTIROW;
  else if (Checked(dialog, kSingleRow)) style |= TSS_ROWSELECT;
  else if (Checked(dialog, kMultiCol)) style |= TSS_MULTICOL;
  else if (Checked(dialog, kSingleCol)) style |= TSS_COLSELECT;
  if (Checked(dialog, kLabelNumbers)) style |= TSS_ROWNUMBERS;
  else if (Checked(dialog, kLabelButtons)) style |= TSS_ROWBUTTONS;
  if (Checked(dialog, kHeadCustom)) style |= TSS_OWNERDEF;
  else if (Checked(dialog, kHeadLetters)) style |= TSS_LETTERS;
  else if (Checked(dialog, kHeadNumbers)) style |= TSS_NUMBERS;
  if (Checked(dialog, kAutoDropDown)) style |= TSS_AUTODROPDN;
  else if (Checked(dialog, kDropDown)) style |= TSS_DROPDOWN;
  if (Checked(dialog, kBorder)) style |= WS_BORDER;
  if (Checked(dialog, kHScroll)) style |= WS_HSCROLL;
  if (Checked(dialog, kVScroll)) style |= WS_VSCROLL;
  return style;
}

void ApplyExclusions(HWND dialog, int clicked) {
  if (clicked == kEditable && Checked(dialog, kEditable)) {
    Check(dialog, kDropDown, false);
    Check(dialog, kAutoDropDown, false);
  }
  if ((clicked == kDropDown || clicked == kAutoDropDown) && Checked(dialog, clicked))
    Check(dialog, kEditable, false);
  if (clicked == kVirtual && Checked(dialog, kVirtual) && Checked(dialog, kMultiRow))
    CheckRadioButton(dialog, kSelectNone, kMultiCol, kSelectNone);
  if (clicked >= kSelectNone && clicked <= kMultiCol) {
    if (Checked(dialog, kMultiRow)) Check(dialog, kVirtual, false);
    ApplyDropDownRule(dialog);
  }
}

void RunColumnSetupFromStyle(HWND dialog) {
  if (!gStyleGrid) return;
  HWND parent = GetParent(dialog);
  if (parent) SetActiveWindow(parent);
  ShowWindow(dialog, SW_HIDE);
  if (parent) UpdateWindow(parent);
  OpenColumnSetup(parent, gStyleGrid, 0);
  ShowWindow(dialog, SW_SHOW);
}

void OnStyleCommand(HWND dialog, int id) {
  switch (id) {
    case IDOK:
      gEditedStyle = ButtonsToStyle(dialog);
      EndDialog(dialog, 1);
      return;
    case IDCANCEL: EndDialog(dialog, 0); return;
    case kHelp: OpenTesselHelp(dialog, "The Tessel Control Style Dialog"); return;
    case kColumnSetup: RunColumnSetupFromStyle(dialog); return;
    case kExtended: RunExtStyleDialog(dialog, gStyleGrid); return;
    case kLoad:
    case kSave: {
      int done = id == kLoad ? RunLoadDialog(dialog, gStyleGrid, gControlText)
                             : RunSaveDialog(dialog, gStyleGrid, gControlText);
      if (done) {
        gEditedStyle = gOpeningStyle;
        EndDialog(dialog, 1);
      }
      return;
    }
    default: ApplyExclusions(dialog, id); return;
  }
}

INT_PTR CALLBACK StyleDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    StyleToButtons(dialog, gOpeningStyle);
    // Without a grid there is nothing to load into or save from.
    EnableWindow(GetDlgItem(dialog, kLoad), gStyleGrid != nullptr);
    EnableWindow(GetDlgItem(dialog, kSave), gStyleGrid != nullptr);
    return TRUE;
  }
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    OnStyleCommand(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

/* Kind 2 only: the grid with the control's text in a standard dialog among the editor's
   window and its siblings. */
HWND FindStyledGrid(HWND parent, const char* text) {
  if (!parent || GetDesignHost(parent) != 2) return nullptr;
  for (HWND dialog = GetWindow(parent, GW_HWNDFIRST); dialog;
       dialog = GetWindow(dialog, GW_HWNDNEXT)) {
    if (!SameClass(dialog, "#32770", false)) continue;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      char own[CCHCCTEXT] = "";
      GetWindowText(child, own, sizeof own);
      if (SameClass(child, "Tessel", true) && std::strcmp(own, text) == 0) return child;
    }
  }
  return nullptr;
}

}  // namespace

extern "C" UINT CustomControlInfoA(LPCCINFOA info) {
  if (!info) return 1;
  std::memset(info, 0, sizeof *info);
  std::strcpy(info->szClass, "Tessel");
  info->flOptions = 0;
  std::strcpy(info->szDesc, "Tessel Control");
  info->cxDefault = 80;
  info->cyDefault = 40;
  info->flStyleDefault = 0x508000C0;
  info->cStyleFlags = static_cast<INT>(sizeof gStyleFlags / sizeof gStyleFlags[0]);
  info->aStyleFlags = gStyleFlags;
  info->lpfnStyle = TesselStyleFn;
  info->lpfnSizeToText = nullptr;
  return 1;
}

extern "C" BOOL TesselStyleFn(HWND parent, LPCCSTYLEA style) {
  if (!style) return FALSE;
  gOpeningStyle = gEditedStyle = style->flStyle;
  std::memcpy(gControlText, style->szText, sizeof gControlText);
  gControlText[sizeof gControlText - 1] = '\0';
  gStyleGrid = FindStyledGrid(parent, gControlText);
  // The owner is the grid whose message is being handled, if the editor calls from one.
  HWND owner = gNestingDepth > 0 ? gCurrentGrid : nullptr;
  INT_PTR result = DialogBoxParam(gTesselModule, "TableStyleDlg32", owner, StyleDialogProc, 0);
  gStyleGrid = nullptr;
  if (result <= 0) return FALSE;
  style->flStyle = gEditedStyle;
  return static_cast<BOOL>(result);
}
