// Any bytes as a settings file. The text Save would write reads back as the
// same text, every read of an integer ends, and a key written with a value
// reads back as that value while the keys around it keep theirs.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ini_file.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "ini file: %s\n", what);
  std::abort();
}

// A name or value the file format can hold: no line end, no "=", no brackets,
// no blanks, and never the probe's name.
std::string Plain(std::string_view s, const char* fallback) {
  std::string out;
  for (char c : s) {
    if (c != '\r' && c != '\n' && c != '=' && c != '[' && c != ']' && c != ' ' && c != '\t' &&
        c != '\x01') {
      out += c;
    }
  }
  return out.empty() ? fallback : out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  IniFile ini("fuzz.ini", bytes);
  const std::string text = ini.Text();
  if (IniFile("fuzz.ini", text).Text() != text) Fail("saved text reads back differently");

  // Names for the write are taken from the input's own lines, so the fuzzer
  // can aim at sections and keys that are there.
  const std::size_t a = bytes.find('\n');
  const std::size_t b = a == std::string_view::npos ? a : bytes.find('\n', a + 1);
  const std::string section = Plain(bytes.substr(0, a), "S");
  const std::string key =
      a == std::string_view::npos ? "k" : Plain(bytes.substr(a + 1, b - a - 1), "k");
  const std::string value = b == std::string_view::npos ? "v" : Plain(bytes.substr(b + 1, 64), "");
  (void)ini.ReadInteger(section, key, 7);

  // A key of a name the input cannot spell stays as it was.
  ini.WriteString("\x01", "\x01", "probe");
  ini.WriteString(section, key, value);
  if (ini.ReadString(section, key, "<none>") != value) Fail("a written value did not read back");
  if (ini.ReadString("\x01", "\x01", "") != "probe") Fail("writing one key changed another");
  return 0;
}
