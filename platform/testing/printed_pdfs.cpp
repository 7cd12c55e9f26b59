/*
** The PDF device's documents, read for tests.
*/
#include "platform/testing/printed_pdfs.h"

#include "platform/gdi/gdi_print.h"
#include "platform/testing/other_programs.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

std::vector<std::string> PrintedPdfs() {
  std::vector<std::string> files;
  const fs::path dir = GdiPdfOutputDirectory();
  std::error_code error;
  if (fs::is_directory(dir, error))
    for (const auto& entry : fs::directory_iterator(dir, error))
      if (entry.path().extension() == ".pdf") files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

void RemovePrintedPdfs() {
  for (const std::string& file : PrintedPdfs()) fs::remove(file);
}

std::string PdfLayoutText(const std::string& pdf) {
  return ProgramOutput(CommandLine("pdftotext", {"-layout", pdf, "-"}));
}

std::vector<std::string> PdfLayoutPages(const std::string& pdf) {
  const std::string text = PdfLayoutText(pdf);
  std::vector<std::string> pages;
  size_t start = 0;
  for (size_t at; (at = text.find('\f', start)) != std::string::npos; start = at + 1)
    pages.push_back(text.substr(start, at - start));
  if (start < text.size() && text.find_first_not_of("\n ", start) != std::string::npos)
    pages.push_back(text.substr(start));
  return pages;
}
