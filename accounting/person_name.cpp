/*
** Splitting a person's name at its last blank, suffixes aside.
*/
#include "accounting/person_name.h"

#include <cstring>
#include <string>

namespace {

const char* const kSuffixes[] = {"I", "II", "III", "IV", "SR", "JR", "ESQ"};

void TrimBlanks(std::string& text) {
  size_t end = text.find_last_not_of(' ');
  text.erase(end == std::string::npos ? 0 : end + 1);
  text.erase(0, text.find_first_not_of(' ') == std::string::npos ? text.size()
                                                                 : text.find_first_not_of(' '));
}

bool IsSuffix(std::string word) {
  for (char& c : word)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  for (const char* suffix : kSuffixes)
    if (word == suffix) return true;
  return false;
}

}  // namespace

void SplitPersonName(const char* name, char* firstNames, char* lastName) {
  std::string work = name ? name : "";
  TrimBlanks(work);
  std::string cleaned;
  for (char c : work)
    if (c != ',' && c != '.') cleaned += c;
  // Removing the punctuation can leave blanks at either end ("Smith ,"): trim again.
  TrimBlanks(cleaned);

  std::string suffix;
  size_t blank = cleaned.rfind(' ');
  if (blank != std::string::npos && IsSuffix(cleaned.substr(blank + 1))) {
    suffix = cleaned.substr(blank + 1);
    cleaned.erase(blank);
    TrimBlanks(cleaned);  // doubled blanks before the suffix
    blank = cleaned.rfind(' ');
  }

  std::string first, last;
  if (blank != std::string::npos) {
    last = cleaned.substr(blank + 1);
    first = cleaned.substr(0, blank);
    TrimBlanks(first);
    if (!suffix.empty()) first += " " + suffix;
  } else {
    last = cleaned;
    first = suffix;
  }
  std::memcpy(firstNames, first.c_str(), first.size() + 1);
  std::memcpy(lastName, last.c_str(), last.size() + 1);
}
