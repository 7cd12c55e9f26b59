/*
** The bytes of a PDF file: numbered objects written as they are finished, streams compressed
** at zlib's fastest level, and the cross-reference table and trailer that end the file.
** Also the number formatting the content streams share. Private to the library.
*/
#ifndef ZARNE_PLATFORM_GDI_GDI_PDF_FILE_H
#define ZARNE_PLATFORM_GDI_GDI_PDF_FILE_H

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zarne::gdi {

class PdfFile {
 public:
  PdfFile();
  ~PdfFile();
  PdfFile(const PdfFile&) = delete;
  PdfFile& operator=(const PdfFile&) = delete;

  /* Creates the file and writes the header; false when it cannot be created. */
  bool open(const std::string& path);
  /* A number for an object written later. */
  int reserve();
  /* Writes a whole object: "n 0 obj <body> endobj". */
  void object(int number, std::string_view body);
  /* Writes a stream object: the dictionary's entries (without << >>, without /Length and
     /Filter) and the data, compressed unless `compress` is false. */
  void stream(int number, std::string_view entries, std::string_view data, bool compress = true);
  /* The cross-reference table and trailer; closes the file. False if any write failed. */
  bool finish(int catalog, int info);
  /* Closes and removes the file. */
  void abandon();

 private:
  void put(std::string_view bytes);
  void begin(int number);
  /* Compresses into deflated_; false on failure. */
  bool deflate(std::string_view data);
  struct Deflater;

  std::FILE* file_ = nullptr;
  std::string path_;
  long long position_ = 0;
  std::vector<long long> offsets_{0};  // by object number; 0 = not written
  bool failed_ = false;
  std::string deflated_;
  std::unique_ptr<Deflater> deflater_;
};

/* std::llround inline: halves away from zero. Content writing rounds every coordinate and
   every glyph's offset, and the library call was a fifth of placing a glyph. */
inline long long RoundToInteger(double value) {
  // Below 2^52 a value's fraction is exact after taking off its whole part; above it a value
  // has no fraction, and far above it the library decides.
  if (!(std::fabs(value) < 4503599627370496.0)) return std::llround(value);
  long long whole = static_cast<long long>(value);  // toward zero
  double fraction = value - static_cast<double>(whole);
  if (fraction >= 0.5) ++whole;
  else if (fraction <= -0.5) --whole;
  return whole;
}

/* Appends a number as PDF writes it: at most three decimals, no trailing zeros. */
void AppendNumber(std::string& out, double value);
void AppendInt(std::string& out, long long value);
/* A text string literal "(...)" with the delimiters and backslash escaped. */
std::string PdfTextString(std::string_view latin1);

}  // namespace zarne::gdi

#endif
