/*
** The statement's field engine: which fields are shown where, which may be edited, their
** partners, their colours and texts, and beginning and committing the edit of the current
** field. Every operation takes the statement window first.
*/
#ifndef ZARNE_STATEMENT_FIELD_ENGINE_H
#define ZARNE_STATEMENT_FIELD_ENGINE_H

#include "platform/gdi/gdi_types.h"
#include "platform/kernel/wintypes.h"

#include <string>

class RespaWindow;
class TDC;
struct TFieldNode;

/* Whether the field's rectangle meets the client area at the scroll position, edges
   included. */
bool IsFieldVisible(RespaWindow* view, const TFieldNode* field);
/* Invalidates a visible field's place in the client area, with erase, unless the window
   last painted the whole box with the text its value shows now. */
void InvalidateField(RespaWindow* view, const TFieldNode* field);
void InvalidateFieldById(RespaWindow* view, int id);
/* The field id whose box shows what a change of this one affects, or 0 for none. */
int PartnerFieldId(int id);
void InvalidateDependentFields(RespaWindow* view, const TFieldNode* field);
/* Never selected nor edited; a null node counts as display-only. */
bool IsDisplayOnlyField(RespaWindow* view, const TFieldNode* field);
void ScrollFieldIntoView(RespaWindow* view, const TFieldNode* field);

/* Shows the control of the current field's kind over it, filled from the record. */
void BeginFieldEdit(RespaWindow* view);
/* Stores the control's text into the current field's record when it changed, then repaints
   the partner, recalculates (or moves the dates) and advises. */
void CommitFieldEdit(RespaWindow* view);
/* Hides the edit line and the choice list. */
void HideFieldControls(RespaWindow* view);

/* Paints the field; `shown` (when given) gets the text drawn, "" for an empty box. */
void PaintField(RespaWindow* view, const TFieldNode* field, TDC& dc, std::string* shown = nullptr);

/* Paints fields one after another on one DC, as PaintField paints each: the DC's state is
   saved once for them all and put back at the end, and each frame's pen is made once. A
   window's paint draws about ninety fields; a state saved, a pen made and both undone for
   each cost more than drawing the fields' texts. */
class TFieldPainter {
 public:
  explicit TFieldPainter(TDC& dc);
  ~TFieldPainter();
  TFieldPainter(const TFieldPainter&) = delete;
  TFieldPainter& operator=(const TFieldPainter&) = delete;
  void Paint(RespaWindow* view, const TFieldNode* field, std::string* shown = nullptr);

 private:
  HPEN FramePen(RespaWindow* view, const TFieldNode* field);

  TDC& dc_;
  int saved_;
  HPEN pens_[3] = {};  // solid and dotted dark grey frames, and a display field's grey
};

/* The text the field's box shows for its value now, "" for an empty box. */
std::string FieldShownText(RespaWindow* view, const TFieldNode* field);
COLORREF GetFieldColor(RespaWindow* view, const TFieldNode* field);

/* The value as text (see TScriptFieldBinding::FormatFieldText); by id, ids below 1 and
   unknown ids leave out untouched and the blank date reads blankDate. */
void FormatFieldText(RespaWindow* view, const TFieldNode* field, char* out, unsigned size,
                     char mode);
void FormatFieldTextById(RespaWindow* view, int id, char* out, unsigned size, char mode,
                         const char* blankDate = "   /   /   ");

/* The party texts. The joins need a buffer of kPartyTextSize to hold four names and
   suffixes; the others cut to size - 1 characters. */
constexpr unsigned kPartyTextSize = 1024;
void JoinBuyerNames(RespaWindow* view, char* out, unsigned size = kPartyTextSize);
void JoinSellerNames(RespaWindow* view, char* out, unsigned size = kPartyTextSize);
void GetGranteeText(RespaWindow* view, char* out, unsigned size = kPartyTextSize);
void GetGrantorText(RespaWindow* view, char* out, unsigned size = kPartyTextSize);
void GetBuyerNames(RespaWindow* view, char* out, unsigned size = kPartyTextSize);
void GetSellerNames(RespaWindow* view, char* out, unsigned size = kPartyTextSize);

#endif
