/*
** The print data record: flags, page range and the chosen printer's moveable blocks.
*/
#include "platform/framework/print_data.h"

#include <cstring>
#include <string>

TPrintDialogData::TPrintDialogData()
    : Flags(PD_ALLPAGES), Error(0), FromPage(-1), ToPage(-1), MinPage(-1), MaxPage(-1), Copies(1) {}

TPrintDialogData::~TPrintDialogData() {
  ClearDevMode();
  ClearDevNames();
}

static HGLOBAL CopyBlock(HGLOBAL source) {
  if (!source) return nullptr;
  SIZE_T size = GlobalSize(source);
  const void* from = GlobalLock(source);
  HGLOBAL copy = from ? GlobalAlloc(GMEM_MOVEABLE, size) : nullptr;
  if (copy) {
    std::memcpy(GlobalLock(copy), from, size);
    GlobalUnlock(copy);
  }
  if (from) GlobalUnlock(source);
  return copy;
}

TPrintDialogData::TPrintDialogData(const TPrintDialogData& other)
    : Flags(other.Flags),
      Error(other.Error),
      FromPage(other.FromPage),
      ToPage(other.ToPage),
      MinPage(other.MinPage),
      MaxPage(other.MaxPage),
      Copies(other.Copies) {
  AdoptHandles(CopyBlock(other.devMode_), CopyBlock(other.devNames_));
}

TPrintDialogData& TPrintDialogData::operator=(const TPrintDialogData& other) {
  if (this == &other) return *this;
  Flags = other.Flags;
  Error = other.Error;
  FromPage = other.FromPage;
  ToPage = other.ToPage;
  MinPage = other.MinPage;
  MaxPage = other.MaxPage;
  Copies = other.Copies;
  AdoptHandles(CopyBlock(other.devMode_), CopyBlock(other.devNames_));
  return *this;
}

// Each block is locked once while it is held, so the pointers handed out stay put (the
// platform's blocks never move while locked) and repeated reads add no locks.
const DEVMODE* TPrintDialogData::GetDevMode() const {
  return static_cast<const DEVMODE*>(devModePtr_);
}

DEVMODE* TPrintDialogData::GetDevMode() { return static_cast<DEVMODE*>(devModePtr_); }

static void FreeBlock(HGLOBAL& block) {
  if (!block) return;
  while (GlobalFlags(block) & GMEM_LOCKCOUNT) GlobalUnlock(block);
  GlobalFree(block);
  block = nullptr;
}

void TPrintDialogData::ClearDevMode() {
  FreeBlock(devMode_);
  devModePtr_ = nullptr;
}

void TPrintDialogData::SetDevMode(const DEVMODE* devMode) {
  ClearDevMode();
  if (!devMode) return;
  // A record that names no size of its own is taken as the whole fixed record; the driver
  // data that may follow is kept as it came.
  SIZE_T size = devMode->dmSize ? devMode->dmSize : sizeof(DEVMODE);
  size += devMode->dmDriverExtra;
  SIZE_T blockSize = size < sizeof(DEVMODE) ? sizeof(DEVMODE) : size;
  devMode_ = GlobalAlloc(GHND, blockSize);
  if (!devMode_) return;
  devModePtr_ = GlobalLock(devMode_);
  std::memcpy(devModePtr_, devMode, size);
}

const DEVNAMES* TPrintDialogData::GetDevNames() const {
  return static_cast<const DEVNAMES*>(devNamesPtr_);
}

const char* TPrintDialogData::NameAt(WORD offset) const {
  const char* base = static_cast<const char*>(devNamesPtr_);
  if (!base) return "";
  // A foreign block whose offsets point past its end gives an empty name.
  SIZE_T size = GlobalSize(devNames_);
  if (offset >= size || !std::memchr(base + offset, '\0', size - offset)) return "";
  return base + offset;
}

const char* TPrintDialogData::GetDriverName() const {
  const DEVNAMES* names = GetDevNames();
  return names ? NameAt(names->wDriverOffset) : "";
}
const char* TPrintDialogData::GetDeviceName() const {
  const DEVNAMES* names = GetDevNames();
  return names ? NameAt(names->wDeviceOffset) : "";
}
const char* TPrintDialogData::GetOutputName() const {
  const DEVNAMES* names = GetDevNames();
  return names ? NameAt(names->wOutputOffset) : "";
}

void TPrintDialogData::SetDevNames(const char* driver, const char* device, const char* output) {
  std::string d = driver ? driver : "", v = device ? device : "", o = output ? output : "";
  SIZE_T size = sizeof(DEVNAMES) + d.size() + 1 + v.size() + 1 + o.size() + 1;
  HGLOBAL block = GlobalAlloc(GHND, size);
  if (!block) return;
  char* base = static_cast<char*>(GlobalLock(block));
  auto* names = reinterpret_cast<DEVNAMES*>(base);
  names->wDriverOffset = sizeof(DEVNAMES);
  names->wDeviceOffset = static_cast<WORD>(names->wDriverOffset + d.size() + 1);
  names->wOutputOffset = static_cast<WORD>(names->wDeviceOffset + v.size() + 1);
  names->wDefault = 0;
  std::memcpy(base + names->wDriverOffset, d.c_str(), d.size() + 1);
  std::memcpy(base + names->wDeviceOffset, v.c_str(), v.size() + 1);
  std::memcpy(base + names->wOutputOffset, o.c_str(), o.size() + 1);
  ClearDevNames();
  devNames_ = block;
  devNamesPtr_ = base;
}

void TPrintDialogData::ClearDevNames() {
  FreeBlock(devNames_);
  devNamesPtr_ = nullptr;
}

void TPrintDialogData::AdoptHandles(HGLOBAL devMode, HGLOBAL devNames) {
  if (devMode != devMode_) {
    ClearDevMode();
    devMode_ = devMode;
    devModePtr_ = devMode ? GlobalLock(devMode) : nullptr;
  }
  if (devNames != devNames_) {
    ClearDevNames();
    devNames_ = devNames;
    devNamesPtr_ = devNames ? GlobalLock(devNames) : nullptr;
  }
}
