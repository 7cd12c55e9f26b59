/*
** One PDF document of the PDF device: pages, fonts, images, page tree and trailer.
*/
#include "platform/gdi/gdi_pdf_document.h"

#include <algorithm>

namespace zarne::gdi {

PdfDocument::PdfDocument(const PdfPageGeometry& geometry, bool gray, std::string title,
                         std::string path)
    : geometry_(geometry), gray_(gray), title_(std::move(title)), path_(std::move(path)) {}

bool PdfDocument::ensureOpen() {
  if (opened_) return !failed_;
  opened_ = true;
  if (!file_.open(path_)) {
    failed_ = true;
    return false;
  }
  catalog_ = file_.reserve();
  pageTree_ = file_.reserve();
  return true;
}

bool PdfDocument::addPage(const std::string& content) {
  if (!ensureOpen()) return false;
  int number = file_.reserve();
  file_.stream(number, "", content);
  contents_.push_back(number);
  return true;
}

PdfFont* PdfDocument::font(const QRawFont& face, int* resource) {
  int index = -1;
  // Most glyph runs are in the face of the run before.
  auto recent = lastRecent_ < recentFaces_.size() && recentFaces_[lastRecent_].first == face
                    ? recentFaces_.begin() + static_cast<std::ptrdiff_t>(lastRecent_)
                    : std::find_if(recentFaces_.begin(), recentFaces_.end(),
                                   [&](const auto& e) { return e.first == face; });
  if (recent != recentFaces_.end()) {
    index = recent->second;
    lastRecent_ = static_cast<size_t>(recent - recentFaces_.begin());
  } else {
    // Faces met at other sizes are one embedded font.
    std::string key = (face.familyName() + "\n" + face.styleName()).toStdString() + "\n" +
                      std::to_string(face.weight()) + "\n" +
                      std::to_string(static_cast<int>(face.style()));
    auto known = faceIndex_.find(key);
    if (known != faceIndex_.end()) {
      index = known->second;
    } else {
      auto font = std::make_unique<PdfFont>(face);
      if (font->usable() && ensureOpen()) {
        index = static_cast<int>(fonts_.size());
        fonts_.push_back({std::move(font), file_.reserve()});
      }
      faceIndex_.emplace(std::move(key), index);
    }
    if (recentFaces_.size() >= 32) recentFaces_.clear();
    lastRecent_ = recentFaces_.size();
    recentFaces_.emplace_back(face, index);
  }
  if (index < 0) return nullptr;
  *resource = index + 1;
  return fonts_[static_cast<size_t>(index)].font.get();
}

int PdfDocument::image(const QImage& source) {
  auto known = imageIndex_.find(source.cacheKey());
  if (known != imageIndex_.end()) return known->second + 1;
  if (!ensureOpen()) return 0;
  const int width = source.width(), height = source.height();
  std::string mask;
  if (source.hasAlphaChannel()) {
    QImage alpha = source.convertToFormat(QImage::Format_ARGB32);
    mask.reserve(static_cast<size_t>(width) * height);
    bool opaque = true;
    for (int y = 0; y < height; ++y) {
      const QRgb* line = reinterpret_cast<const QRgb*>(alpha.constScanLine(y));
      for (int x = 0; x < width; ++x) {
        mask.push_back(static_cast<char>(qAlpha(line[x])));
        opaque = opaque && qAlpha(line[x]) == 255;
      }
    }
    if (opaque) mask.clear();
  }
  const QImage pixels =
      source.convertToFormat(gray_ ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
  const size_t rowBytes = static_cast<size_t>(width) * (gray_ ? 1 : 3);
  std::string data;
  data.reserve(rowBytes * height);
  for (int y = 0; y < height; ++y)
    data.append(reinterpret_cast<const char*>(pixels.constScanLine(y)), rowBytes);
  std::string size = "/Width ";
  AppendInt(size, width);
  size += "/Height ";
  AppendInt(size, height);
  size += "/BitsPerComponent 8";
  std::string entries = "/Type/XObject/Subtype/Image" + size +
                        (gray_ ? "/ColorSpace/DeviceGray" : "/ColorSpace/DeviceRGB");
  if (!mask.empty()) {
    int maskObject = file_.reserve();
    file_.stream(maskObject, "/Type/XObject/Subtype/Image" + size + "/ColorSpace/DeviceGray", mask);
    entries += "/SMask ";
    AppendInt(entries, maskObject);
    entries += " 0 R";
  }
  int object = file_.reserve();
  file_.stream(object, entries, data);
  images_.push_back(object);
  int index = static_cast<int>(images_.size()) - 1;
  imageIndex_.emplace(source.cacheKey(), index);
  return index + 1;
}

bool PdfDocument::finish(int copies, bool collate) {
  if (!ensureOpen()) return false;
  for (size_t i = 0; i < fonts_.size(); ++i) fonts_[i].font->write(file_, fonts_[i].object);

  int resources = file_.reserve();
  std::string body = "<</ProcSet[/PDF/Text/ImageB/ImageC]";
  if (!fonts_.empty()) {
    body += "/Font<<";
    for (size_t i = 0; i < fonts_.size(); ++i) {
      body += "/F";
      AppendInt(body, static_cast<long long>(i + 1));
      body += " ";
      AppendInt(body, fonts_[i].object);
      body += " 0 R";
    }
    body += ">>";
  }
  if (!images_.empty()) {
    body += "/XObject<<";
    for (size_t i = 0; i < images_.size(); ++i) {
      body += "/Im";
      AppendInt(body, static_cast<long long>(i + 1));
      body += " ";
      AppendInt(body, images_[i]);
      body += " 0 R";
    }
    body += ">>";
  }
  body += ">>";
  file_.object(resources, body);

  const int pageCount = static_cast<int>(contents_.size());
  const int total = pageCount * std::max(copies, 1);
  std::string pageEntries = "<</Type/Page/Parent ";
  AppendInt(pageEntries, pageTree_);
  pageEntries += " 0 R/MediaBox[0 0 ";
  AppendNumber(pageEntries, geometry_.widthPoints);
  pageEntries += " ";
  AppendNumber(pageEntries, geometry_.heightPoints);
  pageEntries += "]/Resources ";
  AppendInt(pageEntries, resources);
  pageEntries += " 0 R/Contents ";
  std::string kids;
  for (int i = 0; i < total; ++i) {
    int page = collate ? i % pageCount : i / std::max(copies, 1);
    int object = file_.reserve();
    std::string pageBody = pageEntries;
    AppendInt(pageBody, contents_[static_cast<size_t>(page)]);
    pageBody += " 0 R>>";
    file_.object(object, pageBody);
    AppendInt(kids, object);
    kids += " 0 R ";
  }
  body = "<</Type/Pages/Kids[" + kids + "]/Count ";
  AppendInt(body, total);
  body += ">>";
  file_.object(pageTree_, body);

  body = "<</Type/Catalog/Pages ";
  AppendInt(body, pageTree_);
  body += " 0 R>>";
  file_.object(catalog_, body);

  int info = file_.reserve();
  file_.object(info, "<</Title " + PdfTextString(title_) + "/Producer(Zarne)>>");
  return file_.finish(catalog_, info);
}

void PdfDocument::abandon() { file_.abandon(); }

}  // namespace zarne::gdi
