/*
** The documents tests print through the PDF device: the ones it made, removing them, and
** their text as pdftotext lays it out, whole or page by page.
*/
#ifndef ZARNE_PLATFORM_TESTING_PRINTED_PDFS_H
#define ZARNE_PLATFORM_TESTING_PRINTED_PDFS_H

#include <string>
#include <vector>

/* The documents in the device's output directory, sorted by path (the device numbers them
   in the order they were printed). */
std::vector<std::string> PrintedPdfs();
/* Removes every document the device made. */
void RemovePrintedPdfs();
/* The document's text (pdftotext -layout). */
std::string PdfLayoutText(const std::string& pdf);
/* The same split at its form feeds, one text per page; a blank tail is no page. */
std::vector<std::string> PdfLayoutPages(const std::string& pdf);

#endif
