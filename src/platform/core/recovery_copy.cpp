#include "recovery_copy.h"

#include <charconv>

namespace {

constexpr std::string_view kMagic = "Vexa recovery copy 1\n";

// One field: its name, a space, the value's length in decimal, a line break,
// the value's bytes and a line break.
void PutField(std::string& out, std::string_view name, std::string_view value) {
  out.append(name);
  out.push_back(' ');
  out.append(std::to_string(value.size()));
  out.push_back('\n');
  out.append(value);
  out.push_back('\n');
}

struct Field {
  std::string_view Name;
  std::string_view Value;
};

// Takes the next field off the front of `rest`; nothing when it is malformed.
std::optional<Field> TakeField(std::string_view& rest) {
  const std::size_t space = rest.find(' ');
  const std::size_t eol = rest.find('\n');
  if (space == std::string_view::npos || eol == std::string_view::npos || space > eol) return {};
  std::size_t length = 0;
  const char* first = rest.data() + space + 1;
  const char* last = rest.data() + eol;
  const auto [end, error] = std::from_chars(first, last, length);
  if (error != std::errc() || end != last || first == last) return {};
  const std::size_t start = eol + 1;
  if (rest.size() - start < length || rest.size() - start - length < 1 ||
      rest[start + length] != '\n') {
    return {};
  }
  Field field{rest.substr(0, space), rest.substr(start, length)};
  rest.remove_prefix(start + length + 1);
  return field;
}

std::optional<std::int64_t> ParseInteger(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return {};
  return value;
}

}  // namespace

std::string FormatRecoveryCopyHead(const RecoveryCopy& copy, std::size_t textLength) {
  std::string out(kMagic);
  PutField(out, "file", copy.FileName);
  PutField(out, "syntax", copy.Syntax);
  PutField(out, "saved", std::to_string(copy.SavedAt));
  PutField(out, "disk", copy.DiskState);
  // The text comes last, so a reader finds the header without scanning it.
  out.append("text ");
  out.append(std::to_string(textLength));
  out.push_back('\n');
  return out;
}

std::string FormatRecoveryCopy(const RecoveryCopy& copy) {
  std::string out = FormatRecoveryCopyHead(copy, copy.Text.size());
  out.reserve(out.size() + copy.Text.size() + 1);
  out.append(copy.Text);
  out.push_back('\n');
  return out;
}

std::optional<RecoveryCopy> ParseRecoveryCopy(std::string_view bytes) {
  if (bytes.substr(0, kMagic.size()) != kMagic) return {};
  bytes.remove_prefix(kMagic.size());
  RecoveryCopy copy;
  bool hasFile = false, hasSyntax = false, hasSaved = false;
  while (!bytes.empty()) {
    const std::optional<Field> field = TakeField(bytes);
    if (!field) return {};
    if (field->Name == "file") {
      copy.FileName = field->Value;
      hasFile = true;
    } else if (field->Name == "syntax") {
      copy.Syntax = field->Value;
      hasSyntax = true;
    } else if (field->Name == "saved") {
      const std::optional<std::int64_t> saved = ParseInteger(field->Value);
      if (!saved) return {};
      copy.SavedAt = *saved;
      hasSaved = true;
    } else if (field->Name == "disk") {
      copy.DiskState = field->Value;
    } else if (field->Name == "text") {
      copy.Text = field->Value;
      // Whatever follows the text is not part of a copy this program wrote.
      if (!bytes.empty() || !hasFile || !hasSyntax || !hasSaved) return {};
      return copy;
    }
  }
  return {};
}
