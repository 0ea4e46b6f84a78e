#include "check_settings.h"

#include <algorithm>
#include <initializer_list>

#include "ini_file.h"

namespace check {
namespace {

constexpr char kChecks[] = "Vexa Checks";
constexpr char kTidy[] = "Vexa Tidy";

bool ReadFlag(const IniFile& ini, const char* section, const char* key, bool fallback) {
  const std::string value = ini.ReadString(section, key, "");
  return value == "1" ? true : value == "0" ? false : fallback;
}

void WriteFlag(IniFile& ini, const char* section, const char* key, bool on) {
  ini.WriteString(section, key, on ? "1" : "0");
}

}  // namespace

TCheckSettings ReadCheckSettings(const IniFile& ini) {
  TCheckSettings s;
  s.Automatic = ReadFlag(ini, kChecks, "Check Automatically", s.Automatic);
  TTidyOptions& t = s.Tidy;
  t.Indent = ReadFlag(ini, kTidy, "Indent", t.Indent);
  t.IndentSpaces = std::clamp(ini.ReadInteger(kTidy, "Indent Spaces", t.IndentSpaces), 0, 8);
  t.IndentWithTabs = ReadFlag(ini, kTidy, "Indent With Tabs", t.IndentWithTabs);
  t.KeepLineBreaks = ReadFlag(ini, kTidy, "Keep Line Breaks", t.KeepLineBreaks);
  return s;
}

void WriteCheckSettings(IniFile& ini, const TCheckSettings& s) {
  const TCheckSettings defaults;
  // A section is written once it holds anything but the defaults, and kept
  // up to date from then on; until then the file stays as it was.
  const auto present = [&ini](const char* section, std::initializer_list<const char*> keys) {
    for (const char* key : keys) {
      if (ini.ReadString(section, key, "\n") != "\n") return true;
    }
    return false;
  };
  if (s.Automatic != defaults.Automatic || present(kChecks, {"Check Automatically"})) {
    WriteFlag(ini, kChecks, "Check Automatically", s.Automatic);
  }
  const TTidyOptions& t = s.Tidy;
  const TTidyOptions& d = defaults.Tidy;
  if (t.Indent != d.Indent || t.IndentSpaces != d.IndentSpaces ||
      t.IndentWithTabs != d.IndentWithTabs || t.KeepLineBreaks != d.KeepLineBreaks ||
      present(kTidy, {"Indent", "Indent Spaces", "Indent With Tabs", "Keep Line Breaks"})) {
    WriteFlag(ini, kTidy, "Indent", t.Indent);
    ini.WriteInteger(kTidy, "Indent Spaces", t.IndentSpaces);
    WriteFlag(ini, kTidy, "Indent With Tabs", t.IndentWithTabs);
    WriteFlag(ini, kTidy, "Keep Line Breaks", t.KeepLineBreaks);
  }
}

}  // namespace check
