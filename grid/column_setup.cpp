/*
** The Column Setup dialog (ColumnSetupDlg): defines a grid's columns one at a time, each
** change sent to the grid at once, and Cancel gives the grid back the state it had when the
** dialog opened. OpenColumnSetup runs it; one runs at a time in the library.
*/
#include "grid/column_setup.h"

#include "grid/design_exports.h"
#include "grid/design_help.h"
#include "grid/design_services.h"
#include "grid/library_state.h"
#include "grid/tessel_codes.h"
#include "grid/type_table.h"
#include "platform/gdi/gdi.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

enum SetupControl {
  kPrev = 101,
  kNext = 102,
  kInsert = 103,
  kCopy = 104,
  kMove = 105,
  kDelete = 106,
  kType = 107,
  kLength = 108,
  kName = 109,
  kHide = 110,
  kLock = 111,
  kWidth = 115,
  kWidthFixed = 116,
  kWidthAdjustable = 117,
  kWidthDefault = 118,
  kDataEditable = 119,
  kDataProtected = 120,
  kDataDefault = 121,
  kHeading = 122,
  kHeadLeft = 123,
  kHeadCenter = 124,
  kHeadRight = 125,
  kFormat = 126,
  kFormatLeft = 127,
  kFormatCenter = 128,
  kFormatRight = 129,
  kEditStyle = 133,
  kListItems = 134,
  kSortKeys = 135,
  kHelp = 998,
};

const char* const kFormats[] = {"(none)",       "0",      "0.00",         "#,##0",
                                "#,##0.00",     "$#,##0", "$#,##0.00",    "MM/DD/YY",
                                "D MMM YYYY",   "D MMM",  "MMMM D, YYYY", "h:mm p\\m",
                                "h:mm:ss p\\m", "h:mm",   "h:mm:ss",      "MM/DD/YY hh:mm:ss"};

// Owner: grid.
bool gSetupOpen = false;
HGLOBAL gSnapshot = nullptr;
ColumnSetupState* gState = nullptr;
// Set once OK or Cancel has ended the dialog: the focus leaving a field while the dialog is
// taken down must not change the grid again.
bool gEnding = false;

int Column() { return gState->current - 1; }
LRESULT ToGrid(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessage(gState->grid, message, wParam, lParam);
}
bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
void Enable(HWND dialog, int id, bool on) { EnableWindow(GetDlgItem(dialog, id), on); }

int TypeIndex(uint16_t code) {
  for (int i = 0; i < COLUMN_TYPE_COUNT; ++i)
    if (ColumnTypeList()[i].code == code) return i;
  return 0;
}

void FillFormats(HWND dialog) {
  HWND box = GetDlgItem(dialog, kFormat);
  for (const char* format : kFormats)
    SendMessage(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(format));
  for (int c = 0; c < gState->count; ++c) {
    char picture[120] = "";
    if (ToGrid(TSM_GETCOLFORMAT, c, reinterpret_cast<LPARAM>(picture)) != 0 || !*picture) continue;
    if (SendMessage(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                    reinterpret_cast<LPARAM>(picture)) == CB_ERR)
      SendMessage(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(picture));
  }
  SendMessage(box, CB_SETCURSEL, 0, 0);
}

void SetCaption(HWND dialog) {
  char caption[64];
  std::snprintf(caption, sizeof caption, "Configure Column %d of %d", gState->current,
                gState->count);
  SetWindowText(dialog, caption);
}

/* Lock and the width, data, heading and format controls follow Hide. */
void EnableByHide(HWND dialog) {
  bool shown = !Checked(dialog, kHide);
  const int dependent[] = {kLock,         kWidth,        kWidthFixed,    kWidthAdjustable,
                           kWidthDefault, kDataEditable, kDataProtected, kDataDefault,
                           kHeading,      kHeadLeft,     kHeadCenter,    kHeadRight,
                           kFormat,       kFormatLeft,   kFormatCenter,  kFormatRight};
  for (int id : dependent) Enable(dialog, id, shown);
}

void EnableByType(HWND dialog, int typeIndex) {
  const ColumnTypeEntry& type = ColumnTypeList()[typeIndex];
  Enable(dialog, kLength, type.length == 0);
  bool notCheckBox = type.code != TST_CHECKBOX;
  Enable(dialog, kListItems, notCheckBox);
  Enable(dialog, kEditStyle, notCheckBox);
}

void ShowFormat(HWND dialog, const char* picture) {
  HWND box = GetDlgItem(dialog, kFormat);
  LRESULT at = *picture ? SendMessage(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(picture))
                        : 0;
  if (at == CB_ERR) {
    SendMessage(box, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetWindowText(box, picture);
  } else {
    SendMessage(box, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
  }
}

void LoadFields(HWND dialog) {
  SetCaption(dialog);
  unsigned flags = 0, type = ColumnTypeList()[0].code, length = ColumnTypeList()[0].length,
           width = 0;
  char heading[200] = "", format[120] = "", name[100] = "";
  if (gState->count > 0) {
    int c = Column();
    LRESULT values[4] = {ToGrid(TSM_GETCOLSTYLE, c), ToGrid(TSM_GETCOLTYPE, c),
                         ToGrid(TSM_GETCOLLEN, c), ToGrid(TSM_GETCOLWIDTH, c)};
    for (LRESULT value : values)
      if (value < 0) return;
    if (ToGrid(TSM_GETCOLHEADING, c, reinterpret_cast<LPARAM>(heading)) != 0 ||
        ToGrid(TSM_GETCOLFORMAT, c, reinterpret_cast<LPARAM>(format)) != 0 ||
        ToGrid(TSM_GETCOLNAME, c, reinterpret_cast<LPARAM>(name)) != 0)
      return;
    ToGrid(TSM_ENSUREVISIBLE, c, 0);
    flags = static_cast<unsigned>(values[0]);
    type = static_cast<unsigned>(values[1]);
    length = static_cast<unsigned>(values[2]);
    width = static_cast<unsigned>(values[3]);
  }
  int typeIndex = TypeIndex(static_cast<uint16_t>(type));
  SendDlgItemMessage(dialog, kType, CB_SETCURSEL, static_cast<WPARAM>(typeIndex), 0);
  SetDlgItemInt(dialog, kLength, length, FALSE);
  SetDlgItemInt(dialog, kWidth, width, FALSE);
  SetDlgItemText(dialog, kName, name);
  SetDlgItemText(dialog, kHeading, heading);
  CheckDlgButton(dialog, kHide, (flags & TSCS_HIDDEN) ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, kLock, (flags & TSCS_LOCKED) ? BST_CHECKED : BST_UNCHECKED);
  unsigned head = flags & 0x0300, align = flags & 0x00C0, widthMode = flags & 0x0003,
           dataMode = flags & 0x000C;
  CheckRadioButton(dialog, kHeadLeft, kHeadRight,
                   head == 0x0200   ? kHeadRight
                   : head == 0x0100 ? kHeadCenter
                                    : kHeadLeft);
  ShowFormat(dialog, format);
  CheckRadioButton(dialog, kFormatLeft, kFormatRight,
                   align == 0x0080   ? kFormatRight
                   : align == 0x0040 ? kFormatCenter
                                     : kFormatLeft);
  CheckRadioButton(dialog, kWidthFixed, kWidthDefault,
                   widthMode == 2   ? kWidthFixed
                   : widthMode == 1 ? kWidthAdjustable
                                    : kWidthDefault);
  CheckRadioButton(dialog, kDataEditable, kDataDefault,
                   dataMode == 8   ? kDataProtected
                   : dataMode == 4 ? kDataEditable
                                   : kDataDefault);
  if (gState->count == 0) return;
  EnableByType(dialog, typeIndex);
  EnableByHide(dialog);
}

void Refresh(HWND dialog) {
  LRESULT count = ToGrid(TSM_GETCOLCOUNT);
  if (count < 0) return;
  gState->count = static_cast<uint16_t>(count);
  if (count == 0) gState->current = 0;
  else if (gState->current > count) gState->current = static_cast<uint16_t>(count);
  else if (gState->current == 0) gState->current = 1;
  bool any = count > 0;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    int id = static_cast<int>(GetWindowLongPtr(child, GWL_ID));
    if (id != kInsert && id != IDOK && id != IDCANCEL && id != kHelp) EnableWindow(child, any);
  }
  LoadFields(dialog);
}

void SetFlagBits(unsigned mask, unsigned bits) {
  unsigned flags = static_cast<unsigned>(ToGrid(TSM_GETCOLSTYLE, Column()));
  ToGrid(TSM_SETCOLSTYLE, Column(), static_cast<LPARAM>((flags & ~mask) | bits));
}

void OnTypeChosen(HWND dialog) {
  int index = static_cast<int>(SendDlgItemMessage(dialog, kType, CB_GETCURSEL, 0, 0));
  if (index < 0 || index >= COLUMN_TYPE_COUNT) return;
  const ColumnTypeEntry& type = ColumnTypeList()[index];
  SetDlgItemInt(dialog, kLength, type.length, FALSE);
  EnableByType(dialog, index);
  ToGrid(TSM_SETCOLTYPE, Column(), static_cast<LPARAM>(type.code));
  ToGrid(TSM_SETCOLLEN, Column(), static_cast<LPARAM>(type.length));
  ToGrid(TSM_INVALIDATECOL, Column());
}

void OnFormatLeft(HWND dialog) {
  HWND box = GetDlgItem(dialog, kFormat);
  char text[120] = "";
  GetWindowText(box, text, sizeof text);
  LRESULT at =
      SendMessage(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
  if (at == CB_ERR && *text) at = SendMessage(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  if (at != CB_ERR) SendMessage(box, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
  const char* picture = at == 0 || !*text ? "" : text;
  ToGrid(TSM_SETCOLFORMAT, Column(), reinterpret_cast<LPARAM>(picture));
  ToGrid(TSM_INVALIDATECOL, Column());
}

void OnFieldLeft(HWND dialog, int id) {
  if (gState->count == 0) return;
  char text[200] = "";
  switch (id) {
    case kLength:
      ToGrid(TSM_SETCOLLEN, Column(),
             static_cast<LPARAM>(GetDlgItemInt(dialog, kLength, nullptr, FALSE)));
      ToGrid(TSM_INVALIDATECOL, Column());
      return;
    case kName:
      GetDlgItemText(dialog, kName, text, 100);
      ToGrid(TSM_SETCOLNAME, Column(), reinterpret_cast<LPARAM>(text));
      return;
    case kWidth:
      ToGrid(TSM_SETCOLWIDTH, Column(),
             static_cast<LPARAM>(GetDlgItemInt(dialog, kWidth, nullptr, FALSE)));
      ToGrid(TSM_INVALIDATECOL, Column());
      return;
    case kHeading:
      GetDlgItemText(dialog, kHeading, text, 200);
      ToGrid(TSM_SETCOLHEADING, Column(), reinterpret_cast<LPARAM>(text));
      ToGrid(TSM_INVALIDATECELL, Column(), TSROW_HEADING);
      return;
    default: return;
  }
}

void OnHide(HWND dialog) {
  EnableByHide(dialog);
  bool hidden = Checked(dialog, kHide);
  SetFlagBits(TSCS_HIDDEN, hidden ? TSCS_HIDDEN : 0);
  if (!hidden) ToGrid(TSM_ENSUREVISIBLE, Column(), 0);
  ToGrid(TSM_REDRAW);
}

/* The radio groups of the column's flags: the group's bits and each button's value. */
bool OnFlagRadio(int id) {
  struct Group {
    int first, last;
    unsigned mask;
    unsigned values[3];
  } groups[] = {{kWidthFixed, kWidthDefault, 0x0003, {TSCS_FIXED, TSCS_RESIZE, 0}},
                {kDataEditable, kDataDefault, 0x000C, {TSCS_EDIT, TSCS_PROTECT, 0}},
                {kHeadLeft, kHeadRight, 0x0300, {TSCS_HEADLEFT, TSCS_HEADCENTER, TSCS_HEADRIGHT}},
                {kFormatLeft, kFormatRight, 0x00C0, {TSCS_LEFT, TSCS_CENTER, TSCS_RIGHT}}};
  for (const Group& group : groups)
    if (id >= group.first && id <= group.last) {
      SetFlagBits(group.mask, group.values[id - group.first]);
      return true;
    }
  return false;
}

INT_PTR RunSubDialog(HWND dialog, const char* name, DLGPROC proc) {
  return DialogBoxParam(gTesselModule, name, dialog, proc, reinterpret_cast<LPARAM>(gState));
}

void OnSubDialog(HWND dialog, int id) {
  struct Sub {
    int id;
    const char* name;
    DLGPROC proc;
    bool refreshes;
  } subs[] = {{kInsert, "ColInsertDlg", ColInsertDlgFn, true},
              {kCopy, "ColCopyDlg", ColCopyDlgFn, true},
              {kMove, "ColMoveDlg", ColMoveDlgFn, true},
              {kDelete, "ColDeleteDlg", ColDeleteDlgFn, true},
              {kListItems, "ListBoxDlg", ColListDlgFn, true},
              {kEditStyle, "EditDlg", EditStyleDlgFn, false},
              {kSortKeys, "SortDlg", SortDlgFn, false}};
  for (const Sub& sub : subs)
    if (sub.id == id) {
      if (RunSubDialog(dialog, sub.name, sub.proc) == 1 && sub.refreshes) {
        Refresh(dialog);
        ToGrid(TSM_REDRAW);
      }
      return;
    }
}

void OnCommand(HWND dialog, int id, int code) {
  if (gEnding) return;
  if (code == EN_KILLFOCUS) return OnFieldLeft(dialog, id);
  if (id == kFormat && code == CBN_KILLFOCUS) return OnFormatLeft(dialog);
  if (id == kType && code == CBN_SELCHANGE) return OnTypeChosen(dialog);
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDOK:
      ToGrid(TSM_FREEDATA, 0, reinterpret_cast<LPARAM>(gSnapshot));
      gSnapshot = nullptr;
      gEnding = true;
      EndDialog(dialog, 1);
      return;
    case IDCANCEL:
      // The snapshot replaces (and frees) everything changed while the dialog was open.
      ToGrid(TSM_ATTACHDATA, 0, reinterpret_cast<LPARAM>(gSnapshot));
      gSnapshot = nullptr;
      gEnding = true;
      EndDialog(dialog, 0);
      return;
    case kHelp: OpenTesselHelp(dialog, "The Column Configuration Dialog"); return;
    case kPrev:
    case kNext:
      if (gState->count == 0) return;
      if (id == kPrev) gState->current = gState->current <= 1 ? gState->count : gState->current - 1;
      else gState->current = gState->current >= gState->count ? 1 : gState->current + 1;
      LoadFields(dialog);
      return;
    case kHide: OnHide(dialog); return;
    case kLock:
      SetFlagBits(TSCS_LOCKED, Checked(dialog, kLock) ? TSCS_LOCKED : 0);
      ToGrid(TSM_REDRAW);
      return;
    default:
      if (!OnFlagRadio(id)) OnSubDialog(dialog, id);
  }
}

/* The button strip in the button-face colour down to 16 dialog units, a frame-coloured line
   of one unit, and the window colour below. */
void PaintBackground(HWND dialog, HDC dc) {
  RECT client{};
  GetClientRect(dialog, &client);
  RECT units{0, 0, 1, 16};
  MapDialogRect(dialog, &units);
  RECT line{0, 0, 1, 17};
  MapDialogRect(dialog, &line);
  RECT strip{client.left, client.top, client.right, units.bottom};
  RECT frame{client.left, units.bottom, client.right, line.bottom};
  RECT rest{client.left, line.bottom, client.right, client.bottom};
  const struct {
    RECT* area;
    int color;
  } parts[] = {{&strip, COLOR_BTNFACE}, {&frame, COLOR_WINDOWFRAME}, {&rest, COLOR_WINDOW}};
  for (const auto& part : parts) {
    HBRUSH brush = CreateSolidBrush(GetSysColor(part.color));
    FillRect(dc, part.area, brush);
    DeleteObject(brush);
  }
}

void OnInit(HWND dialog, ColumnSetupState* state) {
  gState = state;
  gEnding = false;
  for (int i = 0; i < COLUMN_TYPE_COUNT; ++i)
    SendDlgItemMessage(dialog, kType, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(ColumnTypeList()[i].name));
  SendDlgItemMessage(dialog, kName, EM_LIMITTEXT, 99, 0);
  SendDlgItemMessage(dialog, kHeading, EM_LIMITTEXT, 199, 0);
  SendDlgItemMessage(dialog, kFormat, CB_LIMITTEXT, 119, 0);
  FillFormats(dialog);
  Refresh(dialog);
}

}  // namespace

const ColumnTypeEntry* ColumnTypeList() {
  static ColumnTypeEntry list[COLUMN_TYPE_COUNT];
  static bool made = false;
  if (!made) {
    for (int i = 0; i < COLUMN_TYPE_COUNT; ++i) {
      std::strncpy(list[i].name, kTesselTypes[i].setupName, sizeof list[i].name - 1);
      list[i].length = kTesselTypes[i].length;
      list[i].code = kTesselTypes[i].code;
    }
    made = true;
  }
  return list;
}

extern "C" INT_PTR ColStyleDlgFn(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: OnInit(dialog, reinterpret_cast<ColumnSetupState*>(lParam)); return TRUE;
    case WM_ERASEBKGND: PaintBackground(dialog, reinterpret_cast<HDC>(wParam)); return TRUE;
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    default: return FALSE;
  }
}

extern "C" int OpenColumnSetup(HWND owner, HWND grid, int column) {
  if (!grid || !IsWindow(grid)) return 0;
  LRESULT count = SendMessage(grid, TSM_GETCOLCOUNT, 0, 0);
  if (count < 0) return 0;
  if (count > 0 && (column < 0 || column >= count)) return 0;
  if (gSetupOpen) {
    MessageBox(owner, "This Dialog is already in use.", "Column Setup", MB_OK | MB_ICONSTOP);
    return 0;
  }
  SendMessage(grid, TSM_DELETEALLROWS, 0, 0);
  // Without the snapshot Cancel could undo nothing: the dialog does not open.
  gSnapshot = reinterpret_cast<HGLOBAL>(SendMessage(grid, TSM_CLONEDATA, 0, 0));
  if (!gSnapshot) {
    MessageBox(owner, "Not enough memory to open Column Setup.", "Column Setup",
               MB_OK | MB_ICONSTOP);
    return 0;
  }
  ColumnSetupState state{static_cast<uint16_t>(count),
                         static_cast<uint16_t>(count > 0 ? column + 1 : 0), grid};
  gSetupOpen = true;
  INT_PTR result = DialogBoxParam(gTesselModule, "ColumnSetupDlg", owner, ColStyleDlgFn,
                                  reinterpret_cast<LPARAM>(&state));
  gSetupOpen = false;
  if (gSnapshot) {
    // The dialog did not run to OK or Cancel: keep the grid as it is now.
    SendMessage(grid, TSM_FREEDATA, 0, reinterpret_cast<LPARAM>(gSnapshot));
    gSnapshot = nullptr;
  }
  gState = nullptr;
  InvalidateRect(grid, nullptr, TRUE);
  SendMessage(grid, TSM_SETCURCELL, 0, 0);
  SendMessage(grid, TSM_SETLEFTCOL, 0, 0);
  return result == 1 ? 1 : 0;
}

bool ReadRangedField(HWND dialog, int id, const char* fieldName, int low, int high, int* value) {
  BOOL translated = FALSE;
  UINT number = GetDlgItemInt(dialog, id, &translated, FALSE);
  if (translated && static_cast<long>(number) >= low && static_cast<long>(number) <= high) {
    *value = static_cast<int>(number);
    return true;
  }
  char text[160];
  std::snprintf(text, sizeof text, "%s must be between %d and %d", fieldName, low, high);
  ShowDialogFailure(dialog, text);
  SetFocus(GetDlgItem(dialog, id));
  return false;
}

void ShowDialogFailure(HWND dialog, const char* text) {
  char caption[80] = "";
  GetWindowText(dialog, caption, sizeof caption);
  MessageBox(dialog, text, caption, MB_OK);
}

void GridRedraw(HWND grid, bool on) {
  SendMessage(grid, WM_SETREDRAW, on ? TRUE : FALSE, 0);
  if (on) InvalidateRect(grid, nullptr, TRUE);
}
