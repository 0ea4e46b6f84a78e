// The Pascal (Delphi script) highlighter: comments blue and italic, keywords bold,
// blanks navy, stray bytes green; inline assembler is written with colour index 9,
// and property declarations turn their directive words into keywords.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scanner_base.h"

enum class TPasTokenKind : std::uint8_t {
  Comment,
  Identifier,
  Key,
  Number,
  Space,
  String,
  Symbol,
  Stray,
  Asm,
  EndOfText,
};

class TqorPasRTF final : public TScannerBase<TqorPasRTF, TPasTokenKind, TPasTokenKind::Space> {
  friend class TqorRTFSyntax;
  friend class TScannerBase<TqorPasRTF, TPasTokenKind, TPasTokenKind::Space>;

 public:
  using TTokenKind = TPasTokenKind;
  enum class TRangeState : std::uint8_t {
    Normal,
    PropertyDecl,
    AsmBlock,
    BraceComment,
    ParenComment,
    BraceCommentInAsm,
    ParenCommentInAsm,
  };

  static constexpr int MaxKey = 191;

  TqorPasRTF();

  void Next() override;
  int GetTokenKind() override;
  const char* GetTokenKindName() override;

  // The kind the current token is written as: Asm for code inside an
  // assembler block, else the scanned kind.
  TTokenKind GetTokenId() const;
  TRangeState GetRange() const { return Range; }

  using TProcTableProc = void (*)(TqorPasRTF&);

 protected:
  const TFragmentFrame& FrameToken(int colorIndex, std::string_view token) override;

 private:
  // The state a scan carries from line to line (see SaveState).
  std::uint32_t CarriedState() const { return static_cast<std::uint32_t>(Range); }
  void RestoreCarried(std::uint32_t state) { Range = static_cast<TRangeState>(state); }

  void InitIdent();
  void MakeMethodTables();

  std::uint64_t KeyHash(const char* p);
  TTokenKind IdentKind(const char* p);

  // Byte handlers of ProcTable.
  void CharCodeProc();
  void HexProc();
  void StringProc();
  void RoundOpenProc();
  void PointProc();
  void SlashProc();
  void NumberProc();
  void ColonOrGreaterProc();
  void SemicolonProc();
  void LowerProc();
  void AddressOpProc();
  void IdentProc();
  void BraceOpenProc();
  void StrayProc();
  void SymbolProc();

  // The rest of a line of an open "{" or "(*" comment.
  void BraceCommentProc();
  void ParenCommentProc();
  void ScanBraceCommentBody();
  void ScanParenCommentBody();

  bool AsmStart = false;
  TRangeState Range = TRangeState::Normal;
  const TProcTableProc* ProcTable = nullptr;
};
