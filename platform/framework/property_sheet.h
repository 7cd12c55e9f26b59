/*
** Property sheets: TPropertySheet, a modal window of tabbed pages with OK, Cancel and (unless
** PSH_NOAPPLYNOW) Apply; TPropertyPage, a page made from a dialog template the first time it
** is shown. OK and Apply ask only the pages that were created to apply (PSN_APPLY); a page
** never shown takes no part, so it writes nothing.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_PROPERTY_SHEET_H
#define ZARNE_PLATFORM_FRAMEWORK_PROPERTY_SHEET_H

#include "platform/framework/dialog.h"

#include <string>
#include <vector>

/* Sheet flags and page notifications, as the original platform numbers them. */
#define PSH_DEFAULT                 0x00000000
#define PSH_NOAPPLYNOW              0x00000080
#define PSN_FIRST                   (0U - 200U)
#define PSN_SETACTIVE               (PSN_FIRST - 0)
#define PSN_KILLACTIVE              (PSN_FIRST - 1)
#define PSN_APPLY                   (PSN_FIRST - 2)
#define PSN_RESET                   (PSN_FIRST - 3)
#define PSNRET_NOERROR              0
#define PSNRET_INVALID              1
#define PSNRET_INVALID_NOCHANGEPAGE 2

/* The notification record a page is handed. */
struct TNotify {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
};

class TPropertySheet;

class TPropertyPage : public TDialog {
 public:
  TPropertyPage(TPropertySheet* parent, TResId resId, const char* title = nullptr,
                TResId iconRes = TResId(), TModule* module = nullptr);
  /* Made as a child window of the sheet. */
  bool Create() override;
  /* The tab's text: the title given, else the template's caption. */
  std::string GetTabTitle();

  /* PSN_SETACTIVE: the page is about to show. */
  virtual int SetActive(TNotify& notify);
  /* PSN_KILLACTIVE: may the page be left? The base asks CanClose. */
  virtual bool KillActive(TNotify& notify);
  /* PSN_APPLY (OK or Apply): the base asks CanClose, then copies the controls into the
     transfer buffer. PSNRET_NOERROR lets the sheet go on. */
  virtual int Apply(TNotify& notify);
  /* PSN_RESET (Cancel). */
  virtual void Reset(TNotify& notify);

 private:
  std::string tabTitle_;
};

class TPropertySheet : public TWindow {
 public:
  TPropertySheet(TWindow* parent, const char* title, UINT startPage = 0, bool isWizard = false,
                 DWORD flags = PSH_DEFAULT, TModule* module = nullptr);
  const char* GetClassName() override { return "ZarnePropertySheet"; }

  /* Runs the sheet modally: IDOK or IDCANCEL. */
  virtual int Execute();
  void SetupWindow() override;
  LRESULT EvCommand(UINT id, HWND hWndCtl, UINT notifyCode) override;
  void EvClose() override;
  void Paint(TDC& dc, bool erase, TRect& rect) override;
  void GetWindowClass(WNDCLASS& wndClass) override;

  int GetPageCount() const { return static_cast<int>(Pages().size()); }
  TPropertyPage* GetPage(int index) const;
  int GetCurrentPageIndex() const { return current_; }
  /* Shows the page (creating it on first show); false when the current page refuses. */
  bool SelectPage(int index);
  /* Applies every created page; false (and that page shown) when one refuses. */
  bool Apply();
  bool HasApplyButton() const { return !(flags_ & PSH_NOAPPLYNOW); }
  /* The button ids of the sheet's own controls. */
  enum { IdApply = 0x3021, IdFirstTab = 0x3100 };

 private:
  std::vector<TPropertyPage*> Pages() const;
  void LayoutSheet();
  void LayoutTabs();
  /* The sheet's own keys: Escape, Enter and the tab changes; true when it took the key. */
  bool SheetKey(MSG& msg);
  void End(int result);
  DWORD flags_;
  UINT startPage_;
  int current_ = -1;
  /* The row of tab buttons is never cut off: pages are laid out at least this wide. */
  int tabsWidth_ = 0;
  int tabHeight_ = 20;
  bool finished_ = false;
  int result_ = IDCANCEL;
};

#endif
