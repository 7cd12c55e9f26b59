/*
** The writer of the text form: DlgBuffSaveTessel puts a grid's configuration, version 25,
** into the caller's moveable text block, growing it as the text grows.
*/
#include "grid/config_names.h"
#include "grid/configurations.h"
#include "grid/library_state.h"
#include "grid/tessel_codes.h"
#include "grid/tessel_record.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

/* The caller's block, written at an offset so that writing goes on in place after a move. */
class TextBlock {
 public:
  explicit TextBlock(HGLOBAL handle)
      : handle_(handle), bytes_(static_cast<char*>(GlobalLock(handle))) {}
  ~TextBlock() {
    if (bytes_) GlobalUnlock(handle_);
  }
  bool Locked() const { return bytes_ != nullptr; }
  /* Appends the piece, first growing the block to hold it, 50 bytes more and a terminator;
     growth at least doubles the block so that writing stays linear. */
  bool Write(const std::string& piece) {
    size_t need = length_ + piece.size() + 50;
    size_t size = GlobalSize(handle_);
    if (size <= need && !Grow(std::max(need, 2 * size))) return false;
    std::memcpy(bytes_ + length_, piece.data(), piece.size());
    length_ += piece.size();
    bytes_[length_] = '\0';
    return true;
  }

 private:
  bool Grow(size_t bytes) {
    // A locked moveable block grows only when it may move; a fixed block must stay where
    // it is, since its handle is its address and the caller keeps that handle.
    bool fixed = bytes_ == reinterpret_cast<char*>(handle_);
    HGLOBAL grown = GlobalReAlloc(handle_, bytes, (fixed ? 0 : GMEM_MOVEABLE) | GMEM_ZEROINIT);
    if (!grown || grown != handle_) return false;
    GlobalUnlock(handle_);
    bytes_ = static_cast<char*>(GlobalLock(handle_));
    if (!bytes_) return false;
    return true;
  }
  HGLOBAL handle_;
  char* bytes_;
  size_t length_ = 0;
};

void AppendEscaped(std::string& out, const char* text) {
  for (const char* p = text; *p; ++p) {
    switch (*p) {
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '"': out += "\"\""; break;
      case '\\': out += "\\\\"; break;
      default: out += *p;
    }
  }
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  return line;
}

/* One column as the grid gives it, with its texts in buffers of their own. */
struct SavedColumn {
  TesselColDefEx record{};
  char format[124] = "";
  char heading[200] = "";
  char name[100] = "";
  std::vector<char> listItems;
};

bool FetchColumn(HWND grid, int column, SavedColumn* saved) {
  LRESULT size = SendMessage(grid, TSM_GETLISTITEMSSIZE, column, 0);
  if (size < 1) return false;
  saved->listItems.assign(static_cast<size_t>(size) + 1, '\0');
  saved->record.version = 25;
  saved->record.format = saved->format;
  saved->record.heading = saved->heading;
  saved->record.name = saved->name;
  saved->record.listItems = saved->listItems.data();
  return SendMessage(grid, TSM_GETCOLDEFEX, column, reinterpret_cast<LPARAM>(&saved->record)) == 0;
}

std::string HeaderLine(HWND grid, int count) {
  int labelWidth = static_cast<int>(SendMessage(grid, TSM_GETCOLWIDTH, TSCOL_ROWLABEL, 0));
  DWORD exStyle = static_cast<DWORD>(SendMessage(grid, TSM_GETEXSTYLE, 0, 0));
  unsigned labelFlags =
      static_cast<unsigned>(SendMessage(grid, TSM_GETCOLSTYLE, TSCOL_ROWLABEL, 0)) & 0xFFFF;
  SendMessage(grid, TSM_SETCURSOR, 0, TSROW_HEADING);
  unsigned headingStyle =
      static_cast<unsigned>(SendMessage(grid, TSM_GETROWSTYLE, TSREF_CURSOR, 0)) & 0xFFFF;
  if (!gWritePrivStyle)
    return Format("%u, %d, %d, 0, %d, 0x%04X, 0x%04X, 0x%04X, 0x%04X\r\n", 8u, 25, count,
                  labelWidth, LOWORD(exStyle), HIWORD(exStyle), labelFlags, headingStyle);
  unsigned style = static_cast<unsigned>(SendMessage(grid, TSM_GETSTYLE, 0, 0)) & 0xFFFF;
  return Format("%u, %d, %d, 0x%04X, %d, 0x%04X, 0x%04X, 0x%04X, 0x%04X\r\n", 8u, 25, count, style,
                labelWidth, LOWORD(exStyle), HIWORD(exStyle), labelFlags, headingStyle);
}

/* The column's five lines, written as one piece. */
bool WriteColumn(TextBlock& block, const SavedColumn& saved, std::string& piece) {
  const TesselColDefEx& r = saved.record;
  uint16_t type = r.type ? r.type : TST_INT1;
  uint16_t length = r.type ? r.length : 1;
  char numbers[160];
  std::snprintf(numbers, sizeof numbers, "%d, %d, %d, %d, %d, %d, 0x%04X, 0x%04X,\r\n", length,
                static_cast<int16_t>(r.width), LOWORD(r.value1), HIWORD(r.value1), LOWORD(r.value2),
                HIWORD(r.value2), LOWORD(r.editStyle), HIWORD(r.editStyle));
  piece.assign("   ");
  piece += ColumnFlagsText(r.flags, gWriteStyleNames);
  piece += ", ";
  piece += ColumnTypeText(type);
  piece += ", ";
  piece += numbers;
  const char* texts[4] = {saved.format, saved.heading, saved.name, saved.listItems.data()};
  for (const char* text : texts) {
    piece += "   \"";
    AppendEscaped(piece, text);
    piece += "\\0\",\r\n";
  }
  return block.Write(piece);
}

}  // namespace

extern "C" int DlgBuffSaveTessel(HGLOBAL buffer, LPCSTR configurationName, HWND grid) {
  TextBlock block(buffer);
  if (!block.Locked()) return TSCFG_NOMEMORY;
  const char* name = configurationName ? configurationName : "";
  if (!block.Write(std::string(name) + " TESSELCFG LOADONCALL MOVEABLE DISCARDABLE\r\n") ||
      !block.Write("BEGIN\r\n"))
    return TSCFG_NOMEMORY;
  LRESULT count = SendMessage(grid, TSM_GETCOLCOUNT, 0, 0);
  if (count < 0) count = 0;
  // Every column is fetched before anything is written, so the header never counts
  // columns that are not there.
  std::vector<SavedColumn> columns(static_cast<size_t>(count));
  for (int c = 0; c < count; ++c)
    if (!FetchColumn(grid, c, &columns[static_cast<size_t>(c)])) return TSCFG_NOMEMORY;
  if (!block.Write(HeaderLine(grid, static_cast<int>(count)))) return TSCFG_NOMEMORY;
  std::string piece;
  for (const SavedColumn& column : columns)
    if (!WriteColumn(block, column, piece)) return TSCFG_NOMEMORY;
  if (!block.Write("END\r\n") || !block.Write("\r\n")) return TSCFG_NOMEMORY;
  return TSCFG_DONE;
}
