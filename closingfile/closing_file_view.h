/*
** TClosingFileView: what the closing-file dialogs see of the open file. The statement window
** implements it, so the dialogs need neither the window nor the script language, and the
** window's commands can include the dialogs without a cycle.
*/
#ifndef ZARNE_CLOSINGFILE_CLOSING_FILE_VIEW_H
#define ZARNE_CLOSINGFILE_CLOSING_FILE_VIEW_H

class TWindow;
class TPXRecord;

class TClosingFileView {
 public:
  virtual ~TClosingFileView() = default;
  virtual TWindow* FileWindow() = 0;     // parent of the dialogs, owner of their boxes
  virtual const char* FileNumber() = 0;  // the open file's number, at most 15 characters
  virtual TPXRecord* FileRecord(
      int table) = 0;  // gTables order; 0-12 on the file's record, 13 the TITLEB work record
  virtual void JoinBuyerNames(char* out) = 0;  // out holds 600 characters
  virtual void JoinSellerNames(char* out) = 0;
  virtual void MergeTemplate(TWindow* promptOwner, const char* caption, const char* source,
                             char* out, int size) = 0;
};

/* The joins' buffer. */
constexpr int kClosingFilePartyTextSize = 600;

#endif
