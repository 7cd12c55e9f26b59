/*
** The words of a printed PDF with their boxes in points (pdftotext -bbox), for tests that
** check where a printout put its texts.
*/
#ifndef ZARNE_PLATFORM_TESTING_PDF_WORDS_H
#define ZARNE_PLATFORM_TESTING_PDF_WORDS_H

#include <string>
#include <vector>

struct PdfWord {
  std::string text;
  double xMin, yMin, xMax, yMax;
};

/* Every word of the document, in pdftotext's order, with its text unescaped. */
std::vector<PdfWord> PdfWords(const std::string& pdf);
/* Whether the text's words follow each other on one line starting within 2 points of (x, y). */
bool PdfTextAt(const std::vector<PdfWord>& words, const std::string& text, double x, double y);

#endif
