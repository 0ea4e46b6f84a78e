// The typing aids the user can switch on and off, and their section of the
// settings file, written after the sections the rest of the program keeps.
#pragma once

class IniFile;

struct TEditingOptions {
  bool LineNumbers = true;
  bool CaretLine = true;
  bool CloseTags = true;
  bool CompleteEndTags = true;
  bool MatchPairs = true;
  bool AutoIndent = true;
  bool TabExpands = false;  // Tab expands an abbreviation before the caret

  bool operator==(const TEditingOptions& o) const;
};

// Section "Vexa Editing": one flag per option, "1" on and "0" off. A missing
// key keeps the option's default; any other value is off, as in the rest of
// the file.
TEditingOptions ReadEditingOptions(const IniFile& ini);
void WriteEditingOptions(IniFile& ini, const TEditingOptions& options);
