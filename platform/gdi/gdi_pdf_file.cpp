/*
** The bytes of a PDF file: objects, deflated streams, the cross-reference table.
*/
#include "platform/gdi/gdi_pdf_file.h"

#include <zlib.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace zarne::gdi {

struct PdfFile::Deflater {
  z_stream stream{};
  bool ready = false;
  ~Deflater() {
    if (ready) deflateEnd(&stream);
  }
};

PdfFile::PdfFile() = default;

PdfFile::~PdfFile() {
  if (file_) std::fclose(file_);
}

bool PdfFile::deflate(std::string_view data) {
  // One deflater for the whole file, reset for each stream: setting one up costs more than
  // a page's content takes to compress. The fastest level: a page of report rows deflates
  // about as well at 1 as at 6, in a fraction of the time.
  if (!deflater_) deflater_ = std::make_unique<Deflater>();
  z_stream& z = deflater_->stream;
  if (!deflater_->ready) {
    if (deflateInit(&z, Z_BEST_SPEED) != Z_OK) return false;
    deflater_->ready = true;
  } else if (deflateReset(&z) != Z_OK) {
    return false;
  }
  deflated_.resize(deflateBound(&z, static_cast<uLong>(data.size())));
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(deflated_.data());
  z.avail_out = static_cast<uInt>(deflated_.size());
  if (::deflate(&z, Z_FINISH) != Z_STREAM_END) return false;
  deflated_.resize(deflated_.size() - z.avail_out);
  return true;
}

bool PdfFile::open(const std::string& path) {
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) return false;
  path_ = path;
  static char buffer[1 << 16];
  std::setvbuf(file_, buffer, _IOFBF, sizeof buffer);
  // The second line's high bytes tell transfer programs the file is binary.
  put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
  return !failed_;
}

int PdfFile::reserve() {
  offsets_.push_back(0);
  return static_cast<int>(offsets_.size()) - 1;
}

void PdfFile::put(std::string_view bytes) {
  if (!file_ || failed_) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failed_ = true;
  position_ += static_cast<long long>(bytes.size());
}

void PdfFile::begin(int number) {
  if (number <= 0 || number >= static_cast<int>(offsets_.size())) {
    failed_ = true;
    return;
  }
  offsets_[number] = position_;
  std::string head;
  AppendInt(head, number);
  head += " 0 obj\n";
  put(head);
}

void PdfFile::object(int number, std::string_view body) {
  begin(number);
  put(body);
  put("\nendobj\n");
}

void PdfFile::stream(int number, std::string_view entries, std::string_view data, bool compress) {
  std::string_view bytes = data;
  if (compress) {
    if (!deflate(data)) {
      failed_ = true;
      return;
    }
    bytes = deflated_;
  }
  begin(number);
  std::string head = "<<";
  head += entries;
  if (compress) head += "/Filter/FlateDecode";
  head += "/Length ";
  AppendInt(head, static_cast<long long>(bytes.size()));
  head += ">>\nstream\n";
  put(head);
  put(bytes);
  put("\nendstream\nendobj\n");
}

bool PdfFile::finish(int catalog, int info) {
  if (!file_) return false;
  long long xref = position_;
  std::string table = "xref\n0 ";
  AppendInt(table, static_cast<long long>(offsets_.size()));
  table += "\n0000000000 65535 f \n";
  char entry[24];
  for (size_t i = 1; i < offsets_.size(); ++i) {
    if (offsets_[i] == 0) failed_ = true;  // reserved, never written
    std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", offsets_[i]);
    table += entry;
  }
  table += "trailer\n<</Size ";
  AppendInt(table, static_cast<long long>(offsets_.size()));
  table += "/Root ";
  AppendInt(table, catalog);
  table += " 0 R/Info ";
  AppendInt(table, info);
  table += " 0 R>>\nstartxref\n";
  AppendInt(table, xref);
  table += "\n%%EOF\n";
  put(table);
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}

void PdfFile::abandon() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (!path_.empty()) std::remove(path_.c_str());
}

void AppendInt(std::string& out, long long value) {
  char digits[24];
  int n = 0;
  bool negative = value < 0;
  unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value) : value;
  do {
    digits[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  if (negative) out.push_back('-');
  while (n) out.push_back(digits[--n]);
}

void AppendNumber(std::string& out, double value) {
  if (!std::isfinite(value)) value = 0;
  long long thousandths = RoundToInteger(value * 1000);
  if (thousandths % 1000 == 0) {
    AppendInt(out, thousandths / 1000);
    return;
  }
  if (thousandths < 0) {
    out.push_back('-');
    thousandths = -thousandths;
  }
  AppendInt(out, thousandths / 1000);
  int fraction = static_cast<int>(thousandths % 1000);
  char decimals[4] = {'.', static_cast<char>('0' + fraction / 100),
                      static_cast<char>('0' + fraction / 10 % 10),
                      static_cast<char>('0' + fraction % 10)};
  int length = 4;
  while (decimals[length - 1] == '0') --length;
  out.append(decimals, static_cast<size_t>(length));
}

std::string PdfTextString(std::string_view latin1) {
  std::string out = "(";
  for (char c : latin1) {
    if (c == '(' || c == ')' || c == '\\') out.push_back('\\');
    if (static_cast<unsigned char>(c) < 0x20) {
      out.push_back(' ');
      continue;
    }
    out.push_back(c);
  }
  out.push_back(')');
  return out;
}

}  // namespace zarne::gdi
