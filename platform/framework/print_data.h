/*
** The print data record of the print dialog and the printer object (TPrintDialog::TData
** names this same record): the flags and page range the dialog exchanges, and the chosen
** printer as two moveable memory blocks in the formats the printer-settings files keep:
** the device names (DEVNAMES: three offsets from the block's start, a default flag, then
** the NUL-terminated driver, device and port names) and the device-mode record (DEVMODE,
** its dmSize plus dmDriverExtra bytes).
**
** The record owns both blocks: it frees them when it ends or when they are replaced.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_PRINT_DATA_H
#define ZARNE_PLATFORM_FRAMEWORK_PRINT_DATA_H

#include "platform/gdi/gdi_print.h"
#include "platform/kernel/global_memory.h"
#include "platform/user/common_dialogs.h"

class TPrintDialogData {
 public:
  TPrintDialogData();
  ~TPrintDialogData();
  TPrintDialogData(const TPrintDialogData& other);
  TPrintDialogData& operator=(const TPrintDialogData& other);

  DWORD Flags;
  DWORD Error;
  int FromPage;
  int ToPage;
  int MinPage;
  int MaxPage;
  int Copies;

  /* The device mode: null when there is none. The pointer stays valid until the block is
     replaced or cleared. */
  const DEVMODE* GetDevMode() const;
  DEVMODE* GetDevMode();
  /* Copies the record (dmSize + dmDriverExtra bytes; a dmSize of 0 counts as the whole
     record); null clears it. */
  void SetDevMode(const DEVMODE* devMode);
  void ClearDevMode();

  /* The device names: empty texts (never null) when there are none. */
  const DEVNAMES* GetDevNames() const;
  const char* GetDriverName() const;
  const char* GetDeviceName() const;
  const char* GetOutputName() const;
  /* Null names count as empty. */
  void SetDevNames(const char* driver, const char* device, const char* output);
  void ClearDevNames();
  bool HasDevNames() const { return devNames_ != nullptr; }

  /* The blocks themselves, for the common print dialog, which takes and gives handles.
     Adopt takes ownership of blocks made elsewhere (freeing the ones held). The record
     keeps its blocks locked once while it holds them; one handed to another owner must
     be unlocked by it with GlobalUnlock before it is freed. */
  HGLOBAL GetDevModeHandle() const { return devMode_; }
  HGLOBAL GetDevNamesHandle() const { return devNames_; }
  void AdoptHandles(HGLOBAL devMode, HGLOBAL devNames);

 private:
  const char* NameAt(WORD offset) const;
  HGLOBAL devMode_ = nullptr;
  HGLOBAL devNames_ = nullptr;
  void* devModePtr_ = nullptr;
  void* devNamesPtr_ = nullptr;
};

#endif
