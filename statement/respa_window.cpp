/*
** The statement window's life: construction, reading or creating the file's records and
** locking the file, painting the form and its fields, saving, closing and activation.
** Field editing lives in the field engine.
*/
#include "statement/respa_window.h"

#include "platform/engine/engine.h"
#include "platform/framework/application.h"
#include "platform/framework/scroller.h"
#include "statement/default_values.h"
#include "statement/field_advise.h"
#include "statement/field_engine.h"
#include "statement/one_controls.h"
#include "statement/recalculation_seam.h"
#include "statement/statement_drawing.h"
#include "tableaccess/px_transaction.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "hudform/hudform_exports.h"
#include "hudform/print_layout.h"
#include "hud_print_tables.inc"
#include "platform/gdi/gdi.h"
#include "platform/user/winuser.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kFileNumberField = 1;
constexpr int kFirstEditedFieldId = 102;
constexpr int kEditLineTextLimit = 10;
}  // namespace

DEFINE_RESPONSE_TABLE1(RespaWindow, TWindow)
EV_WM_LBUTTONDOWN, EV_COMMAND(24333, CmFileSave), EV_WM_MDIACTIVATE, EV_COMMAND(24339, CmFileClose),
    EV_COMMAND(902, CmProrater), EV_COMMAND(kRequirementsCommand, CmRequirements),
    EV_COMMAND(kExceptionsCommand, CmExceptions), EV_COMMAND(kBuyersCommand, CmBuyers),
    EV_COMMAND(kSellersCommand, CmSellers), EV_COMMAND(kLenderCommand, CmLender),
    EV_COMMAND(kSettlementAgentCommand, CmSettlementAgent),
    EV_COMMAND(kPropertyCommand, CmProperty), EV_COMMAND(kScheduleACommand, CmScheduleA),
    EV_COMMAND(kFileTrackingCommand, CmFileTracking), EV_COMMAND(24337, CmFilePrint),
    EV_COMMAND(24334, CmFileSaveAs), EV_COMMAND(1, CmFileMerge),
    EV_COMMAND(901, CmCalendar), EV_WM_RBUTTONDOWN, EV_MESSAGE(WM_FIELDMENU, EvFieldMenu),
    EV_MESSAGE(WM_PREVFIELD, EvPrevField), EV_MESSAGE(WM_NEXTFIELD, EvNextField),
    EV_MESSAGE(WM_BEGINFIELDEDIT, EvBeginFieldEdit), EV_MESSAGE(WM_QUICKDATE, EvQuickDate),
    EV_MESSAGE(WM_PAGEDOWNFIELD, EvPageDown),
    EV_MESSAGE(WM_PAGEUPFIELD, EvPageUp), END_RESPONSE_TABLE;

RespaWindow::RespaWindow(TWindow* parent) : TWindow(parent, nullptr, nullptr) {
  Attr.Style |= WS_HSCROLL | WS_VSCROLL;
  Scroller = new TScroller(this, kRespaXUnit, kRespaYUnit, kRespaXRange, kRespaYRange);
  if (TApplication* application = GetApplication()) frame = application->GetMainWindow();
  for (int index = 0; index < kRespaRecordCount; ++index)
    if (gTables[index]) records[index] = new TPXRecord(gTables[index], true);
  editLine = new TOneEdit(this, kEditLineId, "", 1, 1, 60, 24, kEditLineTextLimit, true);
  choiceList = new TOneLBox(this, kChoiceListId, 1, 1, 60, 24);
  // Made, hidden, when a choice field is first edited (BeginChoiceList): most files are
  // opened and closed without one, and making the list cost an open as much as its reads.
  choiceList->DisableAutoCreate();
  choiceList->Attr.Style &= ~WS_VISIBLE;
}

RespaWindow::~RespaWindow() { ReleaseFile(); }

void RespaWindow::CleanupWindow() {
  ReleaseFile();
  TWindow::CleanupWindow();
}

const char* RespaWindow::GetClassName() { return "RespaWindow"; }

void RespaWindow::GetWindowClass(WNDCLASS& wndClass) {
  TWindow::GetWindowClass(wndClass);
  wndClass.hbrBackground = gStatementBrush;
}

void RespaWindow::SetupWindow() {
  TWindow::SetupWindow();
  if (fileNumber[0] && !ReadOrCreateFileRecords()) {
    // Another station holds the file: this window never shows it.
    fileNumber[0] = '\0';
    closing_ = true;
    // Hidden, the view is passed by every lookup of open files until its child closes.
    HideFieldControls(this);
    Show(SW_HIDE);
    if (Parent && Parent->HWindow) Parent->PostMessage(WM_CLOSE);
    return;
  }
  if (fileNumber[0]) RunSetupColumnSums(this);
  editLine->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(gStatementFont), FALSE);
  HideFieldControls(this);
  currentField = FindFieldByNumber(&gRespaFieldList, kFirstEditedFieldId);
  if (!currentField) currentField = FirstField(&gRespaFieldList);
  PostMessage(WM_BEGINFIELDEDIT);
}

/* The BUYER record is locked as soon as it stands in the buffer, so a file another station
   holds gets no records inserted over it. False when that lock was refused. */
bool RespaWindow::ReadOrCreateFileRecords() {
  for (int index = 0; index < kFileRecordCount; ++index) {
    TPXRecord* record = records[index];
    if (!record) continue;
    record->SetString(kFileNumberField, fileNumber);
    if (record->Seek(1, ENGINE_KEY_EQ)) {
      record->Read(ENGINE_NO_LOCK);
    } else {
      ApplyDefaultValues(this, index);
      // A refused insert has had its box; the save posts the record again.
      (void)record->Insert();
    }
    if (index == kBuyerTable && !LockBuyerRecord()) return false;
  }
  return true;
}

bool RespaWindow::LockBuyerRecord() {
  locked_ = records[kBuyerTable]->Lock();
  return locked_;
}

void RespaWindow::ReleaseFile() {
  closing_ = true;  // nothing may reach the records from here on
  if (locked_ && records[kBuyerTable]) records[kBuyerTable]->Unlock();
  locked_ = false;
  for (TPXRecord*& record : records) {
    delete record;
    record = nullptr;
  }
}

namespace {

/* Whether the paint's clipping holds the field's whole box, frame edges included. */
bool WholeBoxPainted(TDC& dc, const TFieldNode* field, bool simpleClip, const TRect& clipBox) {
  TRect box(field->left, field->top, field->right + 1, field->bottom + 1);
  if (simpleClip) return (box & clipBox) == box;
  int saved = dc.SaveDC();
  dc.IntersectClipRect(box);
  TRect inside;
  bool whole = dc.GetClipBox(inside) == SIMPLEREGION && inside == box;
  dc.RestoreDC(saved);
  return whole;
}

}  // namespace

/* Paint covers the form's paper with white wherever the update reaches it, so the class's
   patterned brush is laid only beside and below the paper. Laid under the paper too, it
   cost a scroll as much as drawing the band it uncovers. */
LRESULT RespaWindow::EvEraseBkgnd(HDC dc) {
  if (!gStatementBrush || !Scroller) return TWindow::EvEraseBkgnd(dc);
  TRect client = GetClientRect();
  int paperRight = kScreenFormPaperWidth - static_cast<int>(Scroller->XPos * Scroller->XUnit);
  int paperBottom = kScreenFormPaperHeight - static_cast<int>(Scroller->YPos * Scroller->YUnit);
  if (paperRight < client.right) {
    TRect beside(std::max(paperRight, 0), 0, client.right, client.bottom);
    ::FillRect(dc, &beside, gStatementBrush);
  }
  if (paperBottom < client.bottom) {
    TRect below(0, std::max(paperBottom, 0), std::min(paperRight, static_cast<int>(client.right)),
                client.bottom);
    if (below.right > 0) ::FillRect(dc, &below, gStatementBrush);
  }
  return TRUE;
}

void RespaWindow::Paint(TDC& dc, bool erase, TRect& rect) {
  TWindow::Paint(dc, erase, rect);
  HGDIOBJ previousFont = gStatementFont ? ::SelectObject(dc, gStatementFont) : nullptr;
  RECT area = rect;
  PaintRespaBackground(dc.GetHDC(), &area);
  // The update region of a scroll with fields pending is a band and scattered fields whose
  // bounding box is the whole window: only fields inside the region itself are drawn.
  TRect clipBox;
  bool simpleClip = dc.GetClipBox(clipBox) == SIMPLEREGION;
  std::string shown;
  {
    TFieldPainter fields(dc);
    for (TFieldNode* field = gRespaFieldList.head; field; field = field->next) {
      if (field->bottom >= rect.top && field->top <= rect.bottom && field->right >= rect.left &&
          field->left <= rect.right &&
          dc.RectVisible(
              TRect(field->left - 1, field->top - 1, field->right + 2, field->bottom + 2))) {
        fields.Paint(this, field, &shown);
        if (WholeBoxPainted(dc, field, simpleClip, clipBox)) shownTexts_[field->fieldId] = shown;
        else shownTexts_.erase(field->fieldId);
      }
    }
  }
  if (previousFont) ::SelectObject(dc, previousFont);
}

bool RespaWindow::ShowsText(const TFieldNode* field, const std::string& text) const {
  auto known = shownTexts_.find(field->fieldId);
  return known != shownTexts_.end() && known->second == text;
}

/* What is typed in the edit line is committed first, so a save never misses it. One save is
   one write across the thirteen tables: stored whole or not at all, so the borrower's and
   seller's totals never disagree with their lines after a crash. */
void RespaWindow::CmFileSave() {
  if (!fileNumber[0] || !records[kBuyerTable]) return;
  CommitFieldEdit(this);
  TPXTransaction save;
  bool written = true;
  for (int index = 0; index < kFileRecordCount && written; ++index)
    if (records[index]) written = records[index]->Post() && records[index]->Flush();
  // Not committed, it is taken back; the records it wrote stay unsaved for the next save.
  if (!written) return;
  // A refused commit has had its box, takes every write back and leaves the records
  // unsaved as well: nothing tells of a save that did not happen.
  if (!save.Commit()) return;
}

void RespaWindow::CmFileClose() { CloseWindow(0); }

void RespaWindow::CmProrater() { CallProrater(this); }

/* Agrees once the children agree: what is typed is committed and the file saved. The lock
   and the records stay until the window goes, or until a shutdown every window agreed to
   releases them, so a shutdown another window refuses leaves this one working. */
bool RespaWindow::CanClose() {
  if (!TWindow::CanClose()) return false;
  CmFileSave();
  return true;
}

void RespaWindow::EvMDIActivate(HWND hWndActivated, HWND hWndDeactivated) {
  HWND child = Parent ? Parent->HWindow : nullptr;
  if (!child || closing_) return;
  if (hWndActivated == child) {
    PostFieldAdvise(frame, nullptr);
  } else if (hWndDeactivated == child) {
    CmFileSave();
  }
}
