// The settings file format: "[section]" lines, each followed by key=value
// lines. An IniFile holds one file in memory; reads and writes change only
// that copy, and Save puts the whole file back in one piece.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A file that could not be written (nothing of it was changed on disk).
class IniWriteError : public std::runtime_error {
 public:
  explicit IniWriteError(const std::string& path);
  const std::string& Path() const { return Path_; }

 private:
  std::string Path_;
};

// Section and key names are compared without regard to case (code page 1252
// letters), and the blanks around names and values are not part of them. The
// first section of a name, and the first key of a name in it, count. Lines
// that are neither a section nor a key, and keys outside any section, are kept
// as they are but never read.
class IniFile {
 public:
  // Reads the file; lines may end in CR LF, LF or CR. A missing file reads as
  // an empty one and is created by the first Save. Only a regular file (or a
  // link to one) is read: anything else reads as empty and is never saved over.
  explicit IniFile(std::string path);
  // The given content, as if read from the file at path.
  IniFile(std::string path, std::string_view content);

  const std::string& Path() const { return Path_; }

  // The text after the first "=" of the key; `defaultValue` when the key is
  // missing (an empty value is a value).
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;

  // The key's value as a number: decimal with an optional sign, hexadecimal
  // after "$" or after "0x"/"0X" when more follows. A missing key, and a value
  // that is not such a number (empty, "12px", beyond 32 bits), read as
  // `defaultValue`.
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;

  // Replaces the key's line in place, or adds the key after the last line of
  // its section, or adds the section at the end of the file. Names and value
  // are written as they are, with their blanks; anything from a CR or LF on
  // is dropped, because it would start a line of its own.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);

  // Writes the whole file, every line ending in CR LF, through a temporary
  // file in the same folder that then takes the file's place, so the file is
  // always either the old one or the new one. A link to the file that the
  // user owns is followed, and the file is replaced so beside its target.
  // Throws IniWriteError, leaving the file as it was, when the folder or the
  // file cannot be written, when the name holds anything but the user's own
  // regular file, and also when an existing file could not be read (saving
  // would lose it).
  void Save() const;

  // The file content as Save writes it.
  std::string Text() const;

 private:
  // Index of the section's header line, or npos.
  std::size_t FindSection(std::string_view section) const;
  // Index of the key's line inside the section that starts at `header`, or npos.
  std::size_t FindKey(std::size_t header, std::string_view key) const;

  std::string Path_;
  std::vector<std::string> Lines_;
  bool Unreadable_ = false;
};
