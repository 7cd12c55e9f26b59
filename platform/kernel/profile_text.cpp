/*
** The line model of a profile file: parsing, lookups and minimal edits.
*/
#include "platform/kernel/profile_text.h"

#include "platform/kernel/text.h"

#include <unordered_set>

namespace {

bool IsBlankChar(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlankChar(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankChar(text.back())) text.remove_suffix(1);
  return text;
}

bool IsBlank(const std::string& text) { return Trim(text).empty(); }

std::string Unquote(std::string_view value) {
  value = Trim(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(value);
}

// The form in which two names compare equal exactly when ProfileNamesEqual holds.
std::string ComparableName(std::string_view name) {
  name = Trim(name);
  std::string folded(name);
  for (char& c : folded) c = static_cast<char>(Cp1252Upper(static_cast<unsigned char>(c)));
  return folded;
}

}  // namespace

bool ProfileNamesEqual(std::string_view a, std::string_view b) {
  a = Trim(a);
  b = Trim(b);
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Cp1252Upper(static_cast<unsigned char>(a[i])) !=
        Cp1252Upper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

ProfileText::ProfileText(std::string_view bytes) {
  constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
  if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
    byte_order_mark_ = kUtf8Mark;
    bytes.remove_prefix(kUtf8Mark.size());
  }
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t newline = bytes.find('\n', start);
    if (newline == std::string_view::npos) {
      lines_.push_back(MakeLine(std::string(bytes.substr(start)), ""));
      break;
    }
    const bool crlf = newline > start && bytes[newline - 1] == '\r';
    const size_t text_end = crlf ? newline - 1 : newline;
    lines_.push_back(
        MakeLine(std::string(bytes.substr(start, text_end - start)), crlf ? "\r\n" : "\n"));
    start = newline + 1;
  }
}

std::string ProfileText::Bytes() const {
  size_t size = byte_order_mark_.size();
  for (const Line& line : lines_) size += line.text.size() + line.ending.size();
  std::string bytes;
  bytes.reserve(size);
  bytes += byte_order_mark_;
  for (const Line& line : lines_) {
    bytes += line.text;
    bytes += line.ending;
  }
  return bytes;
}

ProfileText::Kind ProfileText::KindOf(const std::string& text) {
  const std::string_view trimmed = Trim(text);
  if (trimmed.empty() || trimmed.front() == ';') return Kind::kOther;
  if (trimmed.front() == '[') return Kind::kSection;
  return KeyNameOf(text).empty() ? Kind::kOther : Kind::kKey;
}

ProfileText::Line ProfileText::MakeLine(std::string text, std::string ending) {
  const Kind kind = KindOf(text);
  std::string_view name;
  if (kind == Kind::kSection) name = SectionNameOf(text);
  if (kind == Kind::kKey) name = KeyNameOf(text);
  const size_t name_start = name.empty() ? 0 : static_cast<size_t>(name.data() - text.data());
  return Line{std::move(text), std::move(ending), kind, name_start, name.size()};
}

std::string_view ProfileText::NameOf(const Line& line) {
  return std::string_view(line.text).substr(line.name_start, line.name_length);
}

std::string_view ProfileText::SectionNameOf(const std::string& text) {
  std::string_view rest = Trim(text).substr(1);
  const size_t close = rest.find(']');
  if (close != std::string_view::npos) rest = rest.substr(0, close);
  return Trim(rest);
}

std::string_view ProfileText::KeyNameOf(const std::string& text) {
  const size_t equals = text.find('=');
  return Trim(std::string_view(text).substr(0, equals));
}

size_t ProfileText::SectionEnd(size_t header) const {
  size_t end = header + 1;
  while (end < lines_.size() && lines_[end].kind != Kind::kSection) ++end;
  return end;
}

std::string ProfileText::NewLineEnding() const {
  for (const Line& line : lines_) {
    if (!line.ending.empty()) return line.ending;
  }
  return "\r\n";
}

std::optional<std::string> ProfileText::Value(std::string_view section,
                                              std::string_view key) const {
  bool inside = false;
  for (const Line& line : lines_) {
    const Kind kind = line.kind;
    if (kind == Kind::kSection) {
      inside = ProfileNamesEqual(NameOf(line), section);
    } else if (inside && kind == Kind::kKey && ProfileNamesEqual(NameOf(line), key)) {
      const size_t equals = line.text.find('=');
      if (equals == std::string::npos) return std::string();
      return Unquote(std::string_view(line.text).substr(equals + 1));
    }
  }
  return std::nullopt;
}

std::vector<std::string> ProfileText::SectionNames() const {
  // Names already listed, as they compare (trimmed, upper case): a hashed set, so a file of
  // many thousands of sections is listed in linear time.
  std::unordered_set<std::string> seen;
  std::vector<std::string> names;
  for (const Line& line : lines_) {
    if (line.kind != Kind::kSection) continue;
    std::string name(NameOf(line));
    if (seen.insert(ComparableName(name)).second) names.push_back(std::move(name));
  }
  return names;
}

std::vector<std::string> ProfileText::KeyNames(std::string_view section) const {
  std::vector<std::string> names;
  bool inside = false;
  for (const Line& line : lines_) {
    const Kind kind = line.kind;
    if (kind == Kind::kSection) inside = ProfileNamesEqual(NameOf(line), section);
    else if (inside && kind == Kind::kKey) names.emplace_back(NameOf(line));
  }
  return names;
}

bool ProfileText::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  std::optional<size_t> first_header;
  bool inside = false;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const Kind kind = lines_[i].kind;
    if (kind == Kind::kSection) {
      inside = ProfileNamesEqual(NameOf(lines_[i]), section);
      if (inside && !first_header) first_header = i;
    }
    if (inside && kind == Kind::kKey && ProfileNamesEqual(NameOf(lines_[i]), key)) {
      const std::string replaced = std::string(NameOf(lines_[i])) + "=" + std::string(value);
      if (replaced == lines_[i].text) return false;
      lines_[i] = MakeLine(replaced, lines_[i].ending);
      return true;
    }
  }
  const std::string ending = NewLineEnding();
  const std::string key_line = std::string(Trim(key)) + "=" + std::string(value);
  if (first_header) {
    size_t position = SectionEnd(*first_header);
    while (position - 1 > *first_header && IsBlank(lines_[position - 1].text)) --position;
    if (lines_[position - 1].ending.empty()) lines_[position - 1].ending = ending;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(position),
                  MakeLine(key_line, ending));
    return true;
  }
  if (!lines_.empty()) {
    if (lines_.back().ending.empty()) lines_.back().ending = ending;
    if (!IsBlank(lines_.back().text)) lines_.push_back(MakeLine("", ending));
  }
  lines_.push_back(MakeLine("[" + std::string(Trim(section)) + "]", ending));
  lines_.push_back(MakeLine(key_line, ending));
  return true;
}

bool ProfileText::DeleteKey(std::string_view section, std::string_view key) {
  bool changed = false;
  bool inside = false;
  for (size_t i = 0; i < lines_.size();) {
    const Kind kind = lines_[i].kind;
    if (kind == Kind::kSection) inside = ProfileNamesEqual(NameOf(lines_[i]), section);
    if (inside && kind == Kind::kKey && ProfileNamesEqual(NameOf(lines_[i]), key)) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
      changed = true;
    } else {
      ++i;
    }
  }
  return changed;
}

bool ProfileText::DeleteSection(std::string_view section) {
  bool changed = false;
  for (size_t i = 0; i < lines_.size();) {
    if (lines_[i].kind == Kind::kSection && ProfileNamesEqual(NameOf(lines_[i]), section)) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i),
                   lines_.begin() + static_cast<std::ptrdiff_t>(SectionEnd(i)));
      changed = true;
    } else {
      ++i;
    }
  }
  return changed;
}
