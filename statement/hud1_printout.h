/*
** THUDPrintout: the settlement statement of one open closing file printed on the HUD-1 form.
** Page 1 (the two summaries), page 2 (the settlement charges, standard or extended) and, when
** chosen, a separate signature page 3. Each page draws its form background and then the
** statement fields at the fixed positions of the generated print tables.
*/
#ifndef ZARNE_STATEMENT_HUD1_PRINTOUT_H
#define ZARNE_STATEMENT_HUD1_PRINTOUT_H

#include "platform/framework/printer.h"

class RespaWindow;

/* The printed page's logical width; y runs from 0 at the top edge downward (negative). */
constexpr int kHudPageWidth = 7950;
constexpr int kHudDateTextSize = 14;

class THUDPrintout : public TPrintout {
 public:
  THUDPrintout(const char* title, RespaWindow* view);

  void GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage) override;
  bool HasPage(int pageNumber) override;
  void PrintPage(int page, TRect& rect, unsigned flags) override;

  /* The height H of the window extent (7950, -H) that page n is printed in. */
  int PageHeight(int page) const;
  bool IsExtended() const { return extended_; }

  /* The print choices, set by the print command. */
  bool privacyOn = false;
  bool printBorrower = false;
  bool printSeller = false;
  bool separateSignaturePage = false;
  bool dateSignatures = true;
  char dateText[kHudDateTextSize] = {};
  bool gdiLines = true;

 private:
  void PrintPage1(HDC dc);
  void PrintPage2(HDC dc);
  void PrintPage3(HDC dc);

  RespaWindow* view_;
  bool extended_ = false;
};

/* The settlement date as the signature lines print it: field 212 in mode ">", or empty when
   the date is blank (no slashes on the signature lines). */
void SignatureDateText(RespaWindow* view, char* out, unsigned size);

#endif
