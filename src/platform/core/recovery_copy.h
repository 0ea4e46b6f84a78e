// The recovery copy of a modified document: which file it belongs to, its
// syntax, when it was taken and the document's bytes, so that work survives
// a run that ends without closing. A short header of length-prefixed fields
// is followed by the raw text; nothing is escaped or re-encoded.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct RecoveryCopy {
  std::string FileName;      // the document's path as the file system spells it, or "new.htm"
  std::string Syntax;        // the syntax list's text
  std::int64_t SavedAt = 0;  // seconds since 1970-01-01 UTC
  // How the document's file looked when the editor last read or wrote it, so
  // a change made by another program since is still noticed after a restore.
  std::string DiskState;
  std::string Text;  // the document, byte for byte
};

std::string FormatRecoveryCopy(const RecoveryCopy& copy);

// The same copy up to the first byte of its text, for a writer that puts a
// text of `textLength` bytes and one line feed after it itself (copy.Text is
// not read): head, text and "\n" are byte for byte FormatRecoveryCopy's.
std::string FormatRecoveryCopyHead(const RecoveryCopy& copy, std::size_t textLength);

// Nothing when the bytes are not one whole copy: another kind of file, a copy
// cut short, or one with a field missing. Fields this version does not know
// are skipped.
std::optional<RecoveryCopy> ParseRecoveryCopy(std::string_view bytes);
