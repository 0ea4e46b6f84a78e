// Reads an RTF document into plain text plus the format (colour, bold, italic)
// of every byte: the editor's "load rich text", on the path of every keystroke.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One distinct look of the text. Without a colour the editor's default text
// colour applies (an empty colour-table entry, a colour index the table does
// not hold, or no colour switch at all).
struct RtfFormat {
  bool HasColor = false;
  std::uint8_t Red = 0;
  std::uint8_t Green = 0;
  std::uint8_t Blue = 0;
  bool Bold = false;
  bool Italic = false;

  bool operator==(const RtfFormat& o) const {
    return HasColor == o.HasColor && Red == o.Red && Green == o.Green && Blue == o.Blue &&
           Bold == o.Bold && Italic == o.Italic;
  }
  bool operator!=(const RtfFormat& o) const { return !(*this == o); }
};

// The editor maps each format to one style of its own, and it has about two
// hundred to spare. A document with more distinct looks than this has the
// extra ones drawn in the nearest format already taken (same bold and italic
// first, then the closest colour), so the text itself is never lost.
constexpr std::size_t kMaxRtfFormats = 200;
static_assert(kMaxRtfFormats <= 256, "a format index is one byte");

struct RtfDocument {
  // Code page 1252 bytes; every line break ("\par", "\line") is CR LF, and the
  // paragraph mark that closes the document adds no empty last line. A document
  // read against a known text holds here only what follows its first
  // KnownBytes bytes, which are those of the known text.
  std::string Text;
  std::size_t KnownBytes = 0;
  // The formats of the document, at most kMaxRtfFormats. A document read into
  // again keeps the index of every format it had, so that FormatOf values stay
  // comparable from one reading to the next; formats the new text does not use
  // stay in the table while there is room.
  std::vector<RtfFormat> Formats;
  // For every byte of the text, the index of its format in Formats: one array
  // the editor can hand over in a single styling call, instead of a call per
  // run. It is written over what it held before: ChangedFrom..ChangedTo spans
  // the bytes whose value differs from the old one (bytes the old array did not
  // reach count as changed), with at most the rest of their runs of text
  // beside them; it is empty when no value differs.
  std::vector<std::uint8_t> FormatOf;
  std::size_t ChangedFrom = 0;
  std::size_t ChangedTo = 0;

  std::size_t Size() const { return FormatOf.size(); }
};

// True when the data is an RTF document (it opens with "{\rtf"); anything else
// is loaded as plain text.
bool LooksLikeRtf(std::string_view data);

// Parses any bytes without failing: what is not understood is skipped. Reuses
// the buffers of `out`, so a caller that keeps one document avoids
// reallocating on every keystroke. The text is compared with `known` as it is
// read and copied into Text only from the first byte that differs: a caller
// that expects the text it already holds gets no copy of it.
void ParseRtf(std::string_view rtf, RtfDocument& out, std::string_view known = {});
RtfDocument ParseRtf(std::string_view rtf);
