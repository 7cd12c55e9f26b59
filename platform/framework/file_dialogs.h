/*
** The open and save file dialogs as dialog objects over a data record: the flags, the
** filter ("text|pattern|...|"), the chosen filter, the initial directory, the default
** extension, and the chosen file name.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_FILE_DIALOGS_H
#define ZARNE_PLATFORM_FRAMEWORK_FILE_DIALOGS_H

#include "platform/framework/print_dialog.h"
#include "platform/user/common_dialogs.h"

#include <string>
#include <vector>

class TOpenSaveDialog : public TCommonDialog {
 public:
  class TData {
   public:
    TData(DWORD flags = 0, const char* filter = nullptr, char* customFilter = nullptr,
          const char* initialDir = nullptr, const char* defExt = nullptr, int maxPath = 0);
    TData(const TData& other);
    TData& operator=(const TData& other);
    ~TData();

    DWORD Flags;
    DWORD Error = 0;
    char* FileName;  // MaxPath bytes: the initial name in, the choice out
    char* Filter;
    char* CustomFilter;
    int FilterIndex = 1;
    char* InitialDir;
    char* DefExt;
    int MaxPath;

    /* Takes "text|pattern|text|pattern|" (or NUL-separated) filter text. */
    void SetFilter(const char* filter = nullptr);
  };

  TOpenSaveDialog(TWindow* parent, TData& data, const char* title = nullptr,
                  TModule* module = nullptr);
  TData& GetData() { return Data; }

 protected:
  /* Runs GetOpenFileName or GetSaveFileName on the data; IDOK or IDCANCEL. */
  int Run(bool save);
  TData& Data;
  std::string DialogTitle;
};

class TFileOpenDialog : public TOpenSaveDialog {
 public:
  TFileOpenDialog(TWindow* parent, TData& data, const char* templateName = nullptr,
                  const char* title = nullptr, TModule* module = nullptr);
  int Execute() override { return Run(false); }
};

class TFileSaveDialog : public TOpenSaveDialog {
 public:
  TFileSaveDialog(TWindow* parent, TData& data, const char* templateName = nullptr,
                  const char* title = nullptr, TModule* module = nullptr);
  int Execute() override { return Run(true); }
};

#endif
