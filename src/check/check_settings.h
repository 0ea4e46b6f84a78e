// The checks' settings, each in a section of its own in the settings file:
// "Vexa Checks" ("Check Automatically") and "Vexa Tidy" ("Indent", "Indent
// Spaces", "Indent With Tabs", "Keep Line Breaks"). Flags are "1" or "0";
// a missing or unreadable key keeps its default. A section is written once
// its options differ from the defaults (or it is in the file already), so a
// user who never changes them keeps the settings file as it was.
#pragma once

#include "tidy_page.h"

class IniFile;

namespace check {

struct TCheckSettings {
  bool Automatic = false;  // check the page again a second after the last change
  TTidyOptions Tidy;
};

TCheckSettings ReadCheckSettings(const IniFile& ini);
void WriteCheckSettings(IniFile& ini, const TCheckSettings& settings);

}  // namespace check
