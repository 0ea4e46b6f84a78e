// The highlighter base class: the RTF document parts, the conversion loop that
// walks a scanner's tokens and writes one RTF document, and the scanner contract.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A colour value: red in the low byte, green in the second, blue in the third.
// A value with the high byte 0xFF is a system colour, resolved when the colour
// table is built.
using TColor = std::uint32_t;

constexpr TColor RGBColor(unsigned r, unsigned g, unsigned b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

constexpr TColor kSystemColorFlag = 0xFF000000u;

// Resolves a system colour value to its current red, green and blue. The editor
// installs one that asks the desktop; without one, system colours are black.
using SystemColorResolver = TColor (*)(TColor systemColor);
void SetSystemColorResolver(SystemColorResolver resolver);

// A font as the font table needs it: the metrics the platform reports for it.
struct TFontDesc {
  std::string Name;
  std::uint8_t PitchAndFamily = 0;  // high four bits: the family
  std::uint8_t CharSet = 0;
};

// "Courier New" as a fixed-pitch modern face with the ANSI character set.
TFontDesc DefaultCourierNew();

// Replaces the description the constructor passes to SetFonts, so every new
// highlighter's font table names what the editor really shows.
void SetDefaultFont(const TFontDesc& font);

// A writable byte stream.
class TStream {
 public:
  virtual ~TStream() = default;
  virtual void Write(const char* data, std::size_t count) = 0;
};

// An in-memory stream; writes go to Position and extend the data.
class TMemoryStream : public TStream {
 public:
  void Write(const char* data, std::size_t count) override;
  const std::string& Data() const { return Data_; }
  std::string& Data() { return Data_; }
  std::size_t Position = 0;

 private:
  std::string Data_;
};

class TqorRTFSyntax {
 public:
  TqorRTFSyntax();
  virtual ~TqorRTFSyntax() = default;
  TqorRTFSyntax(const TqorRTFSyntax&) = delete;
  TqorRTFSyntax& operator=(const TqorRTFSyntax&) = delete;

  // Virtual operations, in slot order.
  virtual void EscapeToken(std::string& token);                        // 0
  // Appends the RTF fragment for a token to out (the fragment is the text the
  // operation returns; appending spares a string per token).
  virtual void FormatToken(int colorIndex, const std::string& token,
                           std::string& out);                          // 1
  virtual void Next();                                                 // 2
  virtual bool GetEol();                                               // 3
  virtual std::string GetToken();                                      // 4
  virtual int GetTokenKind();                                          // 5
  virtual std::string ColorToRtf(TColor color);                        // 6
  virtual void SetLine(const char* text, int lineNumber);              // 7
  virtual void SetText(const char* text);                              // 8
  virtual void ConvertToRtf(TStream& stream);                          // 9
  virtual std::string ConvertToRtfString();                            // 10
  // The name of the current token's kind as the scanner's token table spells
  // it ("TagName", "Symbol", ...), for token dumps.
  virtual const char* GetTokenKindName();                              // 11

  void SetColors(const std::vector<TColor>& colors);
  void SetFonts(const std::vector<TFontDesc>& fonts);

  // Fixed document parts.
  std::string RtfHeader;
  std::string RtfFontTableEnd;
  std::string RtfDocumentStart;
  std::string RtfColorTable;
  std::string RtfFontTable;
  std::int32_t CodePage = 1252;

 private:
  // The conversion loop: appends the document to out, handing every full block
  // to flushTo when there is one.
  void AppendDocument(std::string& out, TStream* flushTo);
};

// Appends a number in decimal, without sign or leading zeros (no printf per token).
void AppendDecimal(std::string& out, unsigned value);
// Writes the same digits to out (room for 10 bytes) and returns their count.
std::size_t WriteDecimal(char* out, unsigned value);

// Escapes "\", "{" and "}" in place, backslashes first.
void EscapeRtf(std::string& token);
