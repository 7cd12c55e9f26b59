/*
** One PDF document of the PDF device: its pages' content streams as they are finished, the
** fonts and images they use (each written once), and at the end the page tree (copies
** reuse the content of the pages they repeat), the resources and the catalogue. Private to
** the library.
*/
#ifndef ZARNE_PLATFORM_GDI_GDI_PDF_DOCUMENT_H
#define ZARNE_PLATFORM_GDI_GDI_PDF_DOCUMENT_H

#include "platform/gdi/gdi_pdf_file.h"
#include "platform/gdi/gdi_pdf_font.h"

#include <QImage>
#include <QRawFont>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zarne::gdi {

/* The page as the device sees it: paper size in points, dots per inch, and where the
   printable area's top-left corner (device point 0,0) lies on the paper, in dots. */
struct PdfPageGeometry {
  double widthPoints = 612;
  double heightPoints = 792;
  int dpi = 600;
  int offsetXDots = 0;
  int offsetYDots = 0;
  int widthDots = 0;  // printable area
  int heightDots = 0;
};

class PdfDocument {
 public:
  PdfDocument(const PdfPageGeometry& geometry, bool gray, std::string title, std::string path);
  const PdfPageGeometry& geometry() const { return geometry_; }
  bool gray() const { return gray_; }
  /* Creates the file on the first page; false when it cannot be written. */
  bool addPage(const std::string& content);
  int pageCount() const { return static_cast<int>(contents_.size()); }
  /* The face's font and its resource number (/F<n>); null when it cannot be embedded. */
  PdfFont* font(const QRawFont& face, int* resource);
  /* An image's resource number (/Im<n>), written on first use. */
  int image(const QImage& image);
  /* Writes the page tree (copies times: the whole document per copy when collated, else
     each page in turn), the resources and the trailer. */
  bool finish(int copies, bool collate);
  /* Removes what was written. */
  void abandon();

 private:
  bool ensureOpen();

  PdfPageGeometry geometry_;
  bool gray_;
  std::string title_;
  std::string path_;
  PdfFile file_;
  bool opened_ = false;
  bool failed_ = false;
  int catalog_ = 0;
  int pageTree_ = 0;
  std::vector<int> contents_;
  std::vector<std::pair<QRawFont, int>> recentFaces_;  // face -> index in fonts_
  size_t lastRecent_ = 0;                              // the entry found last
  std::map<std::string, int> faceIndex_;
  struct EmbeddedFont {
    std::unique_ptr<PdfFont> font;
    int object = 0;
  };
  std::vector<EmbeddedFont> fonts_;
  std::map<qint64, int> imageIndex_;  // cache key -> index in images_
  std::vector<int> images_;           // object numbers
};

}  // namespace zarne::gdi

#endif
