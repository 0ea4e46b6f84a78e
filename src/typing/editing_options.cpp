#include "editing_options.h"

#include "ini_file.h"

namespace {

constexpr char kSection[] = "Vexa Editing";

struct TKey {
  const char* Name;
  bool TEditingOptions::*Flag;
};

constexpr TKey kKeys[] = {
    {"Line Numbers", &TEditingOptions::LineNumbers},
    {"Caret Line", &TEditingOptions::CaretLine},
    {"Close Tags", &TEditingOptions::CloseTags},
    {"Complete End Tags", &TEditingOptions::CompleteEndTags},
    {"Match Pairs", &TEditingOptions::MatchPairs},
    {"Auto Indent", &TEditingOptions::AutoIndent},
    {"Tab Expands", &TEditingOptions::TabExpands},
};

}  // namespace

bool TEditingOptions::operator==(const TEditingOptions& o) const {
  for (const TKey& key : kKeys) {
    if (this->*key.Flag != o.*key.Flag) return false;
  }
  return true;
}

TEditingOptions ReadEditingOptions(const IniFile& ini) {
  TEditingOptions options;
  for (const TKey& key : kKeys) {
    const bool fallback = options.*key.Flag;
    options.*key.Flag = ini.ReadString(kSection, key.Name, fallback ? "1" : "0") == "1";
  }
  return options;
}

void WriteEditingOptions(IniFile& ini, const TEditingOptions& options) {
  for (const TKey& key : kKeys) ini.WriteString(kSection, key.Name, options.*key.Flag ? "1" : "0");
}
