/*
** The tables behind string handles (HSZ) and data handles (HDDEDATA).
**
** A string handle names one text regardless of case, as an atom does: creating "zarne"
** after "Zarne" gives the same handle and counts one more use. Handles are numbers that
** are never reused, so a stale handle is refused rather than mistaken for another.
** Data handles own a copy of their bytes; the library frees those it hands to a callback
** once the callback returns, the application frees the rest.
*/
#ifndef ZARNE_PLATFORM_DDE_DDE_HANDLES_H
#define ZARNE_PLATFORM_DDE_DDE_HANDLES_H

#include "platform/dde/ddeml.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace dde {

/* Gives the handle of text (case-insensitively), counting one more use. */
HSZ InternString(std::string_view text);
bool RetainString(HSZ hsz);
bool ReleaseString(HSZ hsz);
bool StringText(HSZ hsz, std::string* text);
/* The text of a handle, or empty for none or an unknown handle. */
std::string StringTextOrEmpty(HSZ hsz);
size_t LiveStringCount();

/* A string handle that is released when the holder goes out of scope; an empty text has
   the null handle, as DdeCreateStringHandle gives it. */
class ScopedString {
 public:
  explicit ScopedString(std::string_view text)
      : hsz_(text.empty() ? nullptr : InternString(text)) {}
  ScopedString() = default;
  ~ScopedString() {
    if (hsz_) ReleaseString(hsz_);
  }
  ScopedString(const ScopedString&) = delete;
  ScopedString& operator=(const ScopedString&) = delete;
  HSZ get() const { return hsz_; }

 private:
  HSZ hsz_ = nullptr;
};

struct DataBlock {
  std::string bytes;
  std::string item;
  UINT format = 0;
  bool appOwned = false;
  DWORD instance = 0;
};

HDDEDATA NewData(DWORD instance, std::string_view bytes, std::string_view item, UINT format,
                 bool appOwned);
/* The block behind a handle, or null. Valid until the handle is freed. */
DataBlock* FindData(HDDEDATA data);
bool ReleaseData(HDDEDATA data);
/* Frees every data handle an instance still owns (at DdeUninitialize). */
void ReleaseInstanceData(DWORD instance);
size_t LiveDataCount();

}  // namespace dde

#endif
