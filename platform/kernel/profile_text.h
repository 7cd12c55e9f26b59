/*
** The text of one profile file (an "ini" file) as lines, with the lookups and edits
** the profile calls need. Editing touches only the lines it must: every other line,
** comment, blank line and line ending stays byte for byte as it was read.
**
** Reading rules: a line whose first non-blank character is '[' starts a section named
** by the text up to ']' (or the end of a damaged line), trimmed; a line starting with
** ';' is a comment; any other non-blank line inside a section is a key, named by the
** trimmed text before '=' (a line without '=' is a key with an empty value). Section
** and key names match case-insensitively. Lines before the first section belong to no
** section. When a section appears more than once, its keys are looked up in every
** occurrence, the first match winning. A UTF-8 byte-order mark that an editor put at the
** start is kept but not read as part of the first line.
*/
#ifndef ZARNE_PLATFORM_KERNEL_PROFILE_TEXT_H
#define ZARNE_PLATFORM_KERNEL_PROFILE_TEXT_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class ProfileText {
 public:
  explicit ProfileText(std::string_view bytes);

  /* The file's bytes as they now stand. */
  std::string Bytes() const;

  /* The value of a key, trimmed and stripped of one pair of surrounding quotes. */
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;
  /* The distinct section names in file order (first spelling). */
  std::vector<std::string> SectionNames() const;
  /* The key names of a section in file order (empty when it is missing). */
  std::vector<std::string> KeyNames(std::string_view section) const;

  /* Sets a key, adding it at the end of its section, or adding the section at the end
     of the file. Returns whether the text changed. */
  bool SetValue(std::string_view section, std::string_view key, std::string_view value);
  /* Removes every line of the key in the section. */
  bool DeleteKey(std::string_view section, std::string_view key);
  /* Removes every occurrence of the section with all its lines. */
  bool DeleteSection(std::string_view section);

 private:
  enum class Kind { kOther, kSection, kKey };
  struct Line {
    std::string text;
    std::string ending;  // "\r\n", "\n" or "" for a last line without one
    Kind kind;           // of text, found once: every lookup walks every line
    size_t name_start;   // where the section's or key's name stands in text
    size_t name_length;
  };

  static Kind KindOf(const std::string& text);
  static Line MakeLine(std::string text, std::string ending);
  static std::string_view NameOf(const Line& line);
  // Views into the line's text: a lookup compares names without copying each line's.
  static std::string_view SectionNameOf(const std::string& text);
  static std::string_view KeyNameOf(const std::string& text);
  size_t SectionEnd(size_t header) const;
  std::string NewLineEnding() const;

  std::string byte_order_mark_;
  std::vector<Line> lines_;
};

/* Case-insensitive equality of two names, in the system's code page. */
bool ProfileNamesEqual(std::string_view a, std::string_view b);

#endif
