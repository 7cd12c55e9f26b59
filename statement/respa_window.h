/*
** RespaWindow: the statement view of one open closing file. It owns one record buffer per
** shared table, keyed by the file's number, draws the settlement statement over the picture
** of the form, and lets the user edit one field at a time in place through a floating edit
** line or choice list. Only this window writes its buffers to the tables: on Save, on
** deactivation and when it closes.
**
** Other parts of the program reach its state directly: the records by table index, the file
** number and the frame. Scripts bind its fields through TScriptFieldBinding.
*/
#ifndef ZARNE_STATEMENT_RESPA_WINDOW_H
#define ZARNE_STATEMENT_RESPA_WINDOW_H

#include "closingfile/closing_file_view.h"
#include "platform/framework/frame.h"
#include "platform/framework/window.h"
#include "script/script_decimal.h"
#include "script/script_field_binding.h"
#include "statement/recalc_view.h"

#include <string>
#include <unordered_map>

struct TFieldNode;
class TPXRecord;
class TOneEdit;
class TOneLBox;

constexpr int kRespaRecordCount = kFileTableCount;
/* records BUYER to EXTRA hold the file's one record of each table; TITLEB's is a work buffer. */
constexpr int kFileRecordCount = kTitleBTable;

/* Messages the two floating controls, set-up and the commands post to the window. */
constexpr UINT WM_PREVFIELD = WM_USER + 0;
constexpr UINT WM_NEXTFIELD = WM_USER + 1;
constexpr UINT WM_BEGINFIELDEDIT = WM_USER + 2;
constexpr UINT WM_PAGEDOWNFIELD = WM_USER + 3;
constexpr UINT WM_PAGEUPFIELD = WM_USER + 4;
constexpr UINT WM_FIELDMENU = WM_USER + 5;
constexpr UINT WM_QUICKDATE = WM_USER + 7;

/* The closing-file commands of the menus and tool bar. */
constexpr int kBuyersCommand = 4;
constexpr int kSellersCommand = 5;
constexpr int kLenderCommand = 6;
constexpr int kSettlementAgentCommand = 7;
constexpr int kPropertyCommand = 8;
constexpr int kScheduleACommand = 9;
constexpr int kFileTrackingCommand = 9070;
constexpr int kRequirementsCommand = 10;
constexpr int kExceptionsCommand = 11;

/* Ids of the floating controls. */
constexpr int kEditLineId = 101;
constexpr int kChoiceListId = 102;

/* Scrolling: 8 by 24 pixel units over 72 by 139 units. */
constexpr int kRespaXUnit = 8;
constexpr int kRespaYUnit = 24;
constexpr long kRespaXRange = 72;
constexpr long kRespaYRange = 139;

/* Start and commit texts hold the longest editable text (an 80-character suffix). */
constexpr int kFieldTextSize = 256;

class RespaWindow : public TWindow,
                    public TScriptFieldBinding,
                    public RecalcView,
                    public TClosingFileView {
 public:
  /* The creator copies the file number in before the window is created. */
  explicit RespaWindow(TWindow* parent);
  ~RespaWindow() override;

  bool CanClose() override;
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  LRESULT EvEraseBkgnd(HDC dc) override;
  void GetWindowClass(WNDCLASS& wndClass) override;
  const char* GetClassName() override;
  void SetupWindow() override;
  /* The file's lock and records go with the window itself, not later with the object. */
  void CleanupWindow() override;

  /* Posts and flushes the thirteen file records; nothing without a file number. */
  void CmFileSave();
  /* Closes the window the framework's way, which asks CanClose first. */
  void CmFileClose();
  /* Unlocks the file and frees its records: once the window agreed to close, before the
     tables they stand on are closed (shutdown), or with the window itself. */
  void ReleaseFile();
  /* The closing-file dialogs over this file's records. */
  void CmBuyers();
  void CmSellers();
  void CmLender();
  void CmSettlementAgent();
  void CmProperty();
  void CmScheduleA();
  void CmFileTracking();
  /* The field menu's Prorater (902): through the recalculation seam. */
  void CmProrater();
  /* The title-item dialogs: title_item_commands.cpp. */
  void CmRequirements();
  void CmExceptions();
  /* The statement's commands (statement_commands_*.cpp): print, save as, merge, the field
     menu and its calendar. */
  void CmFilePrint();
  void CmFileSaveAs();
  void CmFileMerge();
  void CmCalendar();
  void EvRButtonDown(UINT modKeys, TPoint& point) override;
  LRESULT EvFieldMenu(WPARAM, LPARAM);
  /* True once the window was refused its file and waits for its child's close: it shows
     nothing and saves nothing, and lookups of open files pass it by. */
  bool IsClosing() const { return closing_; }
  /* Whether the window's last paint of the field drew its whole box showing this text. */
  bool ShowsText(const TFieldNode* field, const std::string& text) const;

  /* Handlers of the response table. */
  void EvLButtonDown(UINT modKeys, TPoint& point) override;
  void EvMDIActivate(HWND hWndActivated, HWND hWndDeactivated) override;
  LRESULT EvPrevField(WPARAM, LPARAM);
  LRESULT EvNextField(WPARAM, LPARAM);
  LRESULT EvBeginFieldEdit(WPARAM, LPARAM);
  LRESULT EvPageDown(WPARAM, LPARAM);
  LRESULT EvPageUp(WPARAM, LPARAM);
  LRESULT EvQuickDate(WPARAM, LPARAM);

  /* TScriptFieldBinding: raw moves between a field and its record buffer. */
  HWND ScriptOwnerWindow() override;
  bool ReadFieldText(const TFieldNode* field, char* buffer, int size) override;
  bool ReadFieldDouble(const TFieldNode* field, double* value) override;
  bool ReadFieldLong(const TFieldNode* field, LONG* value) override;
  bool WriteFieldText(const TFieldNode* field, const char* text) override;
  bool WriteFieldDouble(const TFieldNode* field, double value) override;
  bool WriteFieldLong(const TFieldNode* field, LONG value) override;
  void FieldStored(const TFieldNode* field) override;
  void FormatFieldText(const TFieldNode* field, char* out, unsigned size, char mode) override;
  void GetGranteeText(char* out, unsigned size) override;
  void GetGrantorText(char* out, unsigned size) override;
  void GetBuyerNames(char* out, unsigned size) override;
  void GetSellerNames(char* out, unsigned size) override;

  /* RecalcView: what the rules reach. */
  TPXRecord* Record(int tableIndex) override;
  ScriptDecimal& Subtotal(int which) override { return subtotals[which]; }
  void RepaintFieldById(int fieldId) override;
  HWND BoxOwner() override { return HWindow; }
  TScriptFieldBinding* ScriptOwner() override { return this; }

  /* TClosingFileView: what the closing-file dialogs see of this file. */
  TWindow* FileWindow() override;
  const char* FileNumber() override;
  TPXRecord* FileRecord(int table) override;
  void JoinBuyerNames(char* out) override;
  void JoinSellerNames(char* out) override;
  void MergeTemplate(TWindow* promptOwner, const char* caption, const char* source, char* out,
                     int size) override;

  /* The main frame, for field advises. */
  TFrameWindow* frame = nullptr;
  /* The file's number; empty means no file: nothing is read or saved. */
  char fileNumber[16] = {};
  TOneEdit* editLine = nullptr;
  TOneLBox* choiceList = nullptr;
  /* The field selected or being edited; never null after set-up (when the list has one). */
  TFieldNode* currentField = nullptr;
  /* Owned; null once the window has let go of its file. */
  TPXRecord* records[kRespaRecordCount] = {};
  /* The field whose edit began and whose control still holds its text; a commit stores
     only while it is the current field. */
  TFieldNode* fieldBeingEdited = nullptr;
  /* The current field's text as it stood when its edit began. */
  char startText[kFieldTextSize] = {};
  /* The column sums of sections 800 to 1300 (SectionSubtotal order). */
  ScriptDecimal subtotals[kSubtotalCount] = {};

 private:
  bool ReadOrCreateFileRecords();
  bool LockBuyerRecord();
  /* Save As: the thirteen records under the new number; false (keyed back) on a failure. */
  bool PostUnderNumber(const char* number);
  /* Save As: the window's number, caption and lock move to the new number. */
  void MoveLockTo(const char* number);

  /* Whether the BUYER record's lock is held by this window. */
  bool locked_ = false;
  bool closing_ = false;
  /* By field id, the text of each field whose whole box its last paint drew: what the
     screen shows there until the field is invalidated again. A box painted in part (the
     rest of it outside the update region) is not known. */
  std::unordered_map<int, std::string> shownTexts_;

  DECLARE_RESPONSE_TABLE(RespaWindow);
};

#endif
