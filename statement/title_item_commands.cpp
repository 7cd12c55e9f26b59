/*
** The statement window's title-item commands: Requirements and Exceptions. Each dialog
** stores every change itself, so the window saves and repaints nothing afterwards; what the
** user typed into the current field is committed first, so the dialog's field merges see it.
*/
#include "closingfile/exceptions_dialog.h"
#include "closingfile/requirements_dialog.h"
#include "statement/field_engine.h"
#include "statement/respa_window.h"

namespace {

/* Commits the field being edited, runs the dialog, and begins the field's edit again so
   its control and start text match what is stored. */
template <class Dialog>
void RunTitleItemDialog(RespaWindow* view, int templateId) {
  bool editing = view->currentField && view->currentField == view->fieldBeingEdited;
  if (editing) CommitFieldEdit(view);
  {
    Dialog dialog(view, templateId);
    dialog.Execute();
  }
  if (editing && view->HWindow && view->currentField) BeginFieldEdit(view);
}

}  // namespace

void RespaWindow::CmRequirements() {
  RunTitleItemDialog<TRequirements>(this, kRequirementsTemplate);
}

void RespaWindow::CmExceptions() { RunTitleItemDialog<TExceptions>(this, kExceptionsTemplate); }
