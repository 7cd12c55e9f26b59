/*
** PrintDlg: the printer's names and device mode travel in moveable global blocks. The names
** block is laid out as the printer-settings files keep their header: the DEVNAMES offsets,
** then driver, device and port, each followed by two zero bytes.
*/
#include "platform/user/common_dialogs.h"
#include "platform/user/common_dialogs_internal.h"

#include "platform/kernel/global_memory.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

PrintDialogPresenter& Presenter() {
  static PrintDialogPresenter presenter = PresentQtPrintDialog;
  return presenter;
}

bool KnownPrinter(const std::string& device, GdiPrinter* found) {
  for (const GdiPrinter& printer : GdiListPrinters()) {
    if (printer.device == device) {
      if (found) *found = printer;
      return true;
    }
  }
  return false;
}

/* A text at an offset of a locked block, never reading past its end. */
std::string TextAt(const BYTE* block, size_t size, WORD offset) {
  if (offset >= size) return std::string();
  const char* start = reinterpret_cast<const char*>(block + offset);
  return std::string(start, strnlen(start, size - offset));
}

/* The device named in a DEVNAMES block; empty when the block is missing or malformed. */
std::string DeviceOfNames(HGLOBAL names) {
  if (!names) return std::string();
  auto* block = static_cast<const BYTE*>(GlobalLock(names));
  size_t size = GlobalSize(names);
  std::string device;
  if (block && size >= sizeof(DEVNAMES)) {
    DEVNAMES header;
    std::memcpy(&header, block, sizeof header);
    device = TextAt(block, size, header.wDeviceOffset);
  }
  if (block) GlobalUnlock(names);
  return device;
}

/* The device mode in a block, over the printer's defaults for what the block lacks. */
bool ModeOfBlock(HGLOBAL block, DEVMODE* mode) {
  if (!block) return false;
  auto* data = static_cast<const BYTE*>(GlobalLock(block));
  size_t size = GlobalSize(block);
  bool usable = data && size >= offsetof(DEVMODE, dmFields);
  if (usable) std::memcpy(mode, data, std::min(size, sizeof(DEVMODE)));
  if (data) GlobalUnlock(block);
  return usable;
}

/* Puts bytes into a caller's block (resized) or a new moveable one; NULL on failure. */
HGLOBAL StoreBlock(HGLOBAL existing, const void* bytes, size_t size) {
  HGLOBAL block = existing ? GlobalReAlloc(existing, size, GMEM_MOVEABLE) : nullptr;
  if (!block) block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  void* data = block ? GlobalLock(block) : nullptr;
  if (!data) return nullptr;
  std::memcpy(data, bytes, size);
  GlobalUnlock(block);
  return block;
}

std::vector<BYTE> NamesImage(const GdiPrinter& printer, bool isDefault) {
  std::vector<BYTE> image(sizeof(DEVNAMES), 0);
  DEVNAMES header{};
  auto append = [&image](const std::string& text) {
    WORD offset = static_cast<WORD>(image.size());
    image.insert(image.end(), text.begin(), text.end());
    image.push_back(0);
    image.push_back(0);
    return offset;
  };
  header.wDriverOffset = append(printer.driver);
  header.wDeviceOffset = append(printer.device);
  header.wOutputOffset = append(printer.port);
  header.wDefault = isDefault ? DN_DEFAULTPRN : 0;
  std::memcpy(image.data(), &header, sizeof header);
  return image;
}

/* Hands the printer and its mode back in the record's blocks, and a DC when asked. */
bool HandBack(PRINTDLG& pd, const GdiPrinter& printer, const DEVMODE& mode) {
  std::vector<BYTE> names = NamesImage(printer, printer.device == GdiDefaultPrinter().device);
  HGLOBAL namesBlock = StoreBlock(pd.hDevNames, names.data(), names.size());
  HGLOBAL modeBlock = namesBlock ? StoreBlock(pd.hDevMode, &mode, sizeof mode) : nullptr;
  if (!namesBlock || !modeBlock) {
    SetCommDlgError(CDERR_MEMALLOCFAILURE);
    return false;
  }
  pd.hDevNames = namesBlock;
  pd.hDevMode = modeBlock;
  if (pd.Flags & (PD_RETURNDC | PD_RETURNIC)) {
    pd.hDC =
        (pd.Flags & PD_RETURNDC)
            ? CreateDC(printer.driver.c_str(), printer.device.c_str(), printer.port.c_str(), &mode)
            : CreateIC(printer.driver.c_str(), printer.device.c_str(), printer.port.c_str(), &mode);
    if (!pd.hDC) {
      SetCommDlgError(PDERR_CREATEICFAILURE);
      return false;
    }
  }
  return true;
}

BOOL ReturnDefault(PRINTDLG& pd) {
  if (pd.hDevMode || pd.hDevNames) {
    SetCommDlgError(PDERR_RETDEFFAILURE);
    return FALSE;
  }
  GdiPrinter printer = GdiDefaultPrinter();
  DEVMODE mode{};
  if (printer.device.empty() || !GdiDefaultDevMode(printer.device.c_str(), &mode)) {
    SetCommDlgError(PDERR_NODEFAULTPRN);
    return FALSE;
  }
  return HandBack(pd, printer, mode) ? TRUE : FALSE;
}

PrintDialogRequest BuildRequest(const PRINTDLG& pd) {
  PrintDialogRequest request;
  request.owner = pd.hwndOwner;
  request.setup = (pd.Flags & PD_PRINTSETUP) != 0;
  request.flags = pd.Flags;
  // The printer the caller had, when it still exists; else the default one.
  std::string device = DeviceOfNames(pd.hDevNames);
  if (device.empty() || !KnownPrinter(device, nullptr)) device = GdiDefaultPrinter().device;
  request.device = device;
  GdiDefaultDevMode(device.c_str(), &request.mode);
  DEVMODE given{};
  if (ModeOfBlock(pd.hDevMode, &given) && DeviceOfNames(pd.hDevNames) == device) {
    request.mode = given;
    request.mode.dmSize = sizeof(DEVMODE);
    request.mode.dmDriverExtra = 0;
  }
  request.fromPage = pd.nFromPage;
  request.toPage = pd.nToPage;
  request.minPage = pd.nMinPage;
  request.maxPage = pd.nMaxPage;
  request.copies = std::max<WORD>(pd.nCopies, 1);
  return request;
}

}  // namespace

PrintDialogPresenter SetPrintDialogPresenter(PrintDialogPresenter presenter) {
  PrintDialogPresenter previous = Presenter();
  Presenter() = presenter ? std::move(presenter) : PrintDialogPresenter(PresentQtPrintDialog);
  return previous;
}

BOOL PrintDlg(LPPRINTDLG pd) {
  SetCommDlgError(0);
  if (!pd || pd->lStructSize < offsetof(PRINTDLG, hInstance)) {
    SetCommDlgError(CDERR_STRUCTSIZE);
    return FALSE;
  }
  pd->hDC = nullptr;
  if (pd->Flags & PD_RETURNDEFAULT) return ReturnDefault(*pd);
  if (GdiListPrinters().empty()) {
    SetCommDlgError(PDERR_NODEVICES);
    return FALSE;
  }
  PrintDialogRequest request = BuildRequest(*pd);
  PrintDialogAnswer answer = Presenter()(request);
  if (!answer.accepted) return FALSE;
  GdiPrinter printer;
  if (!KnownPrinter(answer.device, &printer)) {
    SetCommDlgError(PDERR_PRINTERNOTFOUND);
    return FALSE;
  }
  DEVMODE mode = answer.mode;
  std::memset(mode.dmDeviceName, 0, sizeof mode.dmDeviceName);
  std::memcpy(mode.dmDeviceName, printer.device.data(),
              std::min(printer.device.size(), sizeof mode.dmDeviceName - 1));
  mode.dmSize = sizeof(DEVMODE);
  mode.dmDriverExtra = 0;
  WORD copies = std::max<WORD>(answer.copies, 1);
  if (!request.setup) {
    constexpr DWORD kChoices = PD_PAGENUMS | PD_SELECTION | PD_COLLATE | PD_PRINTTOFILE;
    pd->Flags = (pd->Flags & ~kChoices) | (answer.flags & kChoices);
    if (answer.flags & PD_PAGENUMS) {
      pd->nFromPage = answer.fromPage;
      pd->nToPage = answer.toPage;
    }
    // The copies are made either by the driver (the mode's count) or by the program printing
    // its pages again (nCopies), never both: the other count stays at one.
    bool driverCopies = (pd->Flags & PD_USEDEVMODECOPIES) != 0;
    mode.dmCopies = static_cast<SHORT>(driverCopies ? copies : 1);
    mode.dmFields |= DM_COPIES;
    pd->nCopies = driverCopies ? 1 : copies;
  }
  return HandBack(*pd, printer, mode) ? TRUE : FALSE;
}
