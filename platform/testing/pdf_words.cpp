/*
** The words of a PDF read back with pdftotext -bbox.
*/
#include "platform/testing/pdf_words.h"

#include "platform/testing/other_programs.h"

#include <cmath>
#include <cstring>
#include <regex>
#include <utility>

namespace {
std::string Unescape(std::string text) {
  const std::pair<const char*, const char*> entities[] = {
      {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}};
  for (const auto& [from, to] : entities)
    for (size_t at; (at = text.find(from)) != std::string::npos;)
      text.replace(at, std::strlen(from), to);
  return text;
}
}  // namespace

std::vector<PdfWord> PdfWords(const std::string& pdf) {
  std::vector<PdfWord> words;
  const std::string html = ProgramOutput("pdftotext -bbox '" + pdf + "' - 2>/dev/null");
  const std::regex word(
      R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), word); it != std::sregex_iterator();
       ++it) {
    const std::smatch& m = *it;
    words.push_back(
        {Unescape(m[5]), std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4])});
  }
  return words;
}

bool PdfTextAt(const std::vector<PdfWord>& words, const std::string& text, double x, double y) {
  std::vector<std::string> parts;
  for (size_t start = 0; start <= text.size();) {
    size_t space = text.find(' ', start);
    if (space == std::string::npos) space = text.size();
    if (space > start) parts.push_back(text.substr(start, space - start));
    start = space + 1;
  }
  for (size_t i = 0; i + parts.size() <= words.size(); ++i) {
    if (std::fabs(words[i].xMin - x) > 2.0 || std::fabs(words[i].yMin - y) > 2.0) continue;
    bool all = true;
    for (size_t k = 0; k < parts.size() && all; ++k)
      all = words[i + k].text == parts[k] && std::fabs(words[i + k].yMin - words[i].yMin) < 1.0;
    if (all) return true;
  }
  return false;
}
