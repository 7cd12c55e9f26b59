/*
** TWWFile over the kernel's OpenFile and _l* calls.
*/
#include "tableaccess/ww_file.h"

#include "platform/kernel/files.h"
#include "platform/user/message_box.h"
#include "platform/user/window_manager.h"

namespace {

constexpr UINT kExistenceTest = OF_EXIST | OF_SHARE_DENY_NONE;
constexpr int kSeekSet = 0;
constexpr int kSeekCurrent = 1;
constexpr int kSeekEnd = 2;

}  // namespace

TWWFile::~TWWFile() { Close(); }

bool TWWFile::Open(LPCSTR name, UINT mode) {
  Close();
  OFSTRUCT info{};
  UINT style = Exists(name) ? mode : (mode | OF_CREATE);
  HFILE handle = name ? OpenFile(name, &info, style) : HFILE_ERROR;
  if (handle == HFILE_ERROR) {
    MessageBox(GetFocus(), "Could not open file.", "TWWFile Error", MB_ICONSTOP | MB_OK);
    return false;
  }
  handle_ = handle;
  return true;
}

bool TWWFile::Exists(LPCSTR name) {
  OFSTRUCT info{};
  return name && OpenFile(name, &info, kExistenceTest) != HFILE_ERROR;
}

long TWWFile::Read(void* buffer, UINT count) {
  if (!handle_) return -1;
  UINT done = _lread(handle_, buffer, count);
  return done == static_cast<UINT>(HFILE_ERROR) ? -1 : static_cast<long>(done);
}

long TWWFile::Write(const void* buffer, UINT count) {
  if (!handle_) return -1;
  UINT done = _lwrite(handle_, static_cast<LPCSTR>(buffer), count);
  return done == static_cast<UINT>(HFILE_ERROR) ? -1 : static_cast<long>(done);
}

bool TWWFile::Seek(long offset) { return handle_ && _llseek(handle_, offset, kSeekSet) == offset; }

long TWWFile::Size() {
  if (!handle_) return -1;
  LONG position = _llseek(handle_, 0, kSeekCurrent);
  if (position == HFILE_ERROR) return -1;
  LONG size = _llseek(handle_, 0, kSeekEnd);
  _llseek(handle_, position, kSeekSet);
  return size;
}

bool TWWFile::Close() {
  if (!handle_) return true;
  if (_lclose(handle_) == HFILE_ERROR) return false;
  handle_ = 0;
  return true;
}
