#include "ini_file.h"

#include <array>
#include <cstdint>
#include <limits>

#include "file_io.h"
#include "text_lines.h"

namespace {

// Upper and lower case letters of code page 1252 folded together.
constexpr std::array<unsigned char, 256> MakeFold() {
  std::array<unsigned char, 256> t{};
  for (int c = 0; c < 256; ++c) t[c] = static_cast<unsigned char>(c);
  for (int c = 'A'; c <= 'Z'; ++c) t[c] = static_cast<unsigned char>(c + 32);
  for (int c = 0xC0; c <= 0xDE; ++c) {
    if (c != 0xD7) t[c] = static_cast<unsigned char>(c + 32);
  }
  t[0x8A] = 0x9A;  // S caron
  t[0x8C] = 0x9C;  // OE
  t[0x8E] = 0x9E;  // Z caron
  t[0x9F] = 0xFF;  // Y diaeresis
  return t;
}
constexpr std::array<unsigned char, 256> kFold = MakeFold();

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (kFold[static_cast<unsigned char>(a[i])] != kFold[static_cast<unsigned char>(b[i])]) {
      return false;
    }
  }
  return true;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The name of a "[section]" line (up to "]", or the rest of the line when it
// has none); false for any other line.
bool SectionName(std::string_view line, std::string_view& name) {
  line = TrimBlanks(line);
  if (line.empty() || line.front() != '[') return false;
  line.remove_prefix(1);
  name = TrimBlanks(line.substr(0, line.find(']')));
  return true;
}

// The key and value of a key=value line; false for a line without "=".
bool KeyValue(std::string_view line, std::string_view& key, std::string_view& value) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = TrimBlanks(line.substr(0, eq));
  value = TrimBlanks(line.substr(eq + 1));
  return true;
}

std::string_view UpToLineEnd(std::string_view s) { return s.substr(0, s.find_first_of("\r\n")); }

bool ParseHex(std::string_view digits, bool negative, int& out) {
  if (digits.empty()) return false;
  std::uint64_t v = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9') {
      d = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      d = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      d = c - 'A' + 10;
    } else {
      return false;
    }
    v = v * 16 + static_cast<std::uint64_t>(d);
    if (v > 0xFFFFFFFFu) return false;
  }
  // Eight hex digits are a 32-bit pattern: "$FFFFFFFF" is -1.
  auto bits = static_cast<std::uint32_t>(v);
  if (negative) bits = ~bits + 1u;
  out = static_cast<int>(static_cast<std::int32_t>(bits));
  return true;
}

bool ParseInteger(std::string_view s, int& out) {
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    return ParseHex(s.substr(2), false, out);
  }
  bool negative = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (!s.empty() && s[0] == '$') return ParseHex(s.substr(1), negative, out);
  if (s.empty()) return false;
  std::int64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
    if (v > std::int64_t{std::numeric_limits<int>::max()} + 1) return false;
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<int>::max()) return false;
  out = static_cast<int>(v);
  return true;
}

}  // namespace

IniWriteError::IniWriteError(const std::string& path)
    : std::runtime_error("cannot write " + path), Path_(path) {}

IniFile::IniFile(std::string path) : Path_(std::move(path)) {
  std::string content;
  const fileio::ReadResult read = fileio::ReadRegularFile(Path_, content);
  if (read.Status == fileio::ReadStatus::Ok) {
    Lines_ = textlines::Split(content);
  } else {
    // Only a missing file is an empty one: anything else (a FIFO, a file too
    // large or unreadable) must not be replaced by our few keys.
    Unreadable_ = read.Status != fileio::ReadStatus::Missing;
  }
}

IniFile::IniFile(std::string path, std::string_view content)
    : Path_(std::move(path)), Lines_(textlines::Split(content)) {}

std::size_t IniFile::FindSection(std::string_view section) const {
  const std::string_view wanted = TrimBlanks(section);
  std::string_view name;
  for (std::size_t i = 0; i < Lines_.size(); ++i) {
    if (SectionName(Lines_[i], name) && SameName(name, wanted)) return i;
  }
  return std::string::npos;
}

std::size_t IniFile::FindKey(std::size_t header, std::string_view key) const {
  const std::string_view wanted = TrimBlanks(key);
  std::string_view name, k, v;
  for (std::size_t i = header + 1; i < Lines_.size(); ++i) {
    if (SectionName(Lines_[i], name)) break;
    if (KeyValue(Lines_[i], k, v) && SameName(k, wanted)) return i;
  }
  return std::string::npos;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  const std::size_t header = FindSection(section);
  if (header == std::string::npos) return std::string(defaultValue);
  const std::size_t line = FindKey(header, key);
  if (line == std::string::npos) return std::string(defaultValue);
  std::string_view k, v;
  KeyValue(Lines_[line], k, v);
  return std::string(v);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
  const std::string text = ReadString(section, key, "");
  int value = 0;
  return ParseInteger(text, value) ? value : defaultValue;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  section = UpToLineEnd(section);
  key = UpToLineEnd(key);
  std::string line(key);
  line += '=';
  line += UpToLineEnd(value);

  const std::size_t header = FindSection(section);
  if (header == std::string::npos) {
    Lines_.push_back("[" + std::string(section) + "]");
    Lines_.push_back(std::move(line));
    return;
  }
  const std::size_t existing = FindKey(header, key);
  if (existing != std::string::npos) {
    Lines_[existing] = std::move(line);
    return;
  }
  // After the section's last non-blank line, so a blank line that separates
  // it from the next section stays where it is.
  std::size_t last = header;
  std::string_view name;
  for (std::size_t i = header + 1; i < Lines_.size() && !SectionName(Lines_[i], name); ++i) {
    if (!TrimBlanks(Lines_[i]).empty()) last = i;
  }
  Lines_.insert(Lines_.begin() + static_cast<std::ptrdiff_t>(last + 1), std::move(line));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

std::string IniFile::Text() const {
  std::string out;
  for (const std::string& line : Lines_) {
    out += line;
    out += "\r\n";
  }
  return out;
}

void IniFile::Save() const {
  if (Unreadable_) throw IniWriteError(Path_);
  // A settings file kept elsewhere through the user's own link is written
  // there; any other link, and a file that is not the user's, stays untouched.
  if (fileio::WriteOwnFile(Path_, Text(), fileio::LinkRule::UsersOwn).Status !=
      fileio::WriteStatus::Ok) {
    throw IniWriteError(Path_);
  }
}
