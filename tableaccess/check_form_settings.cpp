/*
** Reading and writing chkform.dat. The file must end up exactly 128 bytes: a longer file
** left as it was would fail the size test at every start and reset the user's layout.
*/
#include "tableaccess/check_form_settings.h"

#include "tableaccess/system_boxes.h"
#include "tableaccess/ww_file.h"

namespace {

constexpr UINT kReadWriteShareAll = 0x42;
constexpr UINT kErrorWriting = 1045;
constexpr UINT kErrorReading = 1046;

void Encode(const short values[kCheckFormValueCount], BYTE bytes[kCheckFormFileSize]) {
  for (int i = 0; i < kCheckFormValueCount; ++i) {
    auto v = static_cast<uint16_t>(values[i]);
    bytes[2 * i] = static_cast<BYTE>(v & 0xFF);
    bytes[2 * i + 1] = static_cast<BYTE>(v >> 8);
  }
}

void Decode(const BYTE bytes[kCheckFormFileSize], short values[kCheckFormValueCount]) {
  for (int i = 0; i < kCheckFormValueCount; ++i)
    values[i] = static_cast<short>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
}

/* Writes the whole image from the start and cuts whatever followed it. */
bool WriteImage(TWWFile& file, const short values[kCheckFormValueCount]) {
  BYTE bytes[kCheckFormFileSize];
  Encode(values, bytes);
  return file.Seek(0) && file.Write(bytes, kCheckFormFileSize) == kCheckFormFileSize &&
         file.Write(bytes, 0) == 0;
}

}  // namespace

short gCheckFormLayout[kCheckFormValueCount];

void ReadCheckFormSettings(short values[kCheckFormValueCount], LPCSTR path) {
  TWWFile file;
  if (!file.Open(path, kReadWriteShareAll)) return;
  if (file.Size() == kCheckFormFileSize) {
    BYTE bytes[kCheckFormFileSize];
    if (!file.Seek(0) || file.Read(bytes, kCheckFormFileSize) != kCheckFormFileSize) {
      ShowSystemError(kErrorReading);
      return;
    }
    Decode(bytes, values);
    return;
  }
  for (int i = 0; i < kCheckFormValueCount; ++i) values[i] = kCheckFormUnset;
  if (!WriteImage(file, values)) ShowSystemError(kErrorWriting);
}

void WriteCheckFormSettings(const short values[kCheckFormValueCount], LPCSTR path) {
  TWWFile file;
  if (!file.Open(path, kReadWriteShareAll)) return;
  if (!WriteImage(file, values)) ShowSystemError(kErrorWriting);
}
