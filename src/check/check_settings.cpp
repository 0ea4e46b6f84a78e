#include "check_settings.h"

#include <algorithm>

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
  WriteFlag(ini, kChecks, "Check Automatically", s.Automatic);
  WriteFlag(ini, kTidy, "Indent", s.Tidy.Indent);
  ini.WriteInteger(kTidy, "Indent Spaces", s.Tidy.IndentSpaces);
  WriteFlag(ini, kTidy, "Indent With Tabs", s.Tidy.IndentWithTabs);
  WriteFlag(ini, kTidy, "Keep Line Breaks", s.Tidy.KeepLineBreaks);
}

}  // namespace check
