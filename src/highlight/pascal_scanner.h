// The Pascal (Delphi script) highlighter: comments blue and italic, keywords bold,
// blanks navy, stray bytes green; inline assembler is written with colour index 9,
// and property declarations turn their directive words into keywords.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "keyword_buckets.h"
#include "rtf_syntax.h"

class TqorPasRTF final : public TqorRTFSyntax {
  // The base class's conversion loop calls the scanner's own operations.
  friend class TqorRTFSyntax;

 public:
  enum class TTokenKind : std::uint8_t {
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

  void EscapeToken(std::string& token) override;
  void Next() override;
  bool GetEol() override;
  std::string GetToken() override;
  int GetTokenKind() override;
  void SetLine(const char* text, int lineNumber) override;
  const char* GetTokenKindName() override;

  // The kind the current token is written as: Asm for code inside an
  // assembler block, else the scanned kind.
  TTokenKind GetTokenId() const;
  TRangeState GetRange() const { return Range; }

  using TProcTableProc = void (TqorPasRTF::*)();

 protected:
  const TFragmentFrame& FrameToken(int colorIndex, std::string_view token) override;
  bool TokenInPlace(std::string_view& token) override;
  void AppendTokens(std::string& out, TStream* flushTo) override;

 private:
  void InitIdent();
  void MakeMethodTables();

  std::int32_t KeyHash(const char* p);
  TTokenKind IdentKind(const char* p);
  bool KeyComp(const TKeyword& keyword) const;
  TTokenKind KeyFunc(const TKeywordBucket& bucket);
  TTokenKind AltFunc() const;

  // Byte handlers of ProcTable.
  void NullProc();
  void SpaceProc();
  void LFProc();
  void CRProc();
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
  const char* Line = nullptr;
  std::int32_t LineNumber = 0;
  const TProcTableProc* ProcTable = nullptr;
  std::int32_t Run = 0;
  std::int32_t StringLen = 0;
  const char* ToIdent = nullptr;
  const TKeywordBucket* IdentFuncTable = nullptr;
  std::int32_t TokenPos = 0;
  TTokenKind TokenKind = TTokenKind::Comment;
};
