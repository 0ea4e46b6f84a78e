// The PHP highlighter: comments blue, keywords navy, numbers green, strings
// maroon, the "@" operator red; strings and block comments carry across lines.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "keyword_buckets.h"
#include "rtf_syntax.h"

class TqorPHPRTF final : public TqorRTFSyntax {
  // The base class's conversion loop calls the scanner's own operations.
  friend class TqorRTFSyntax;

 public:
  enum class TTokenKind : std::uint8_t {
    Comment,
    Identifier,
    AtSign,
    Key,
    Number,
    Space,
    String,
    Symbol,
    Variable,
    Stray,
    EndOfText
  };
  enum class TRangeState : std::uint8_t { Normal, SingleQuoted, DoubleQuoted, Comment };

  static constexpr int MaxKey = 206;

  TqorPHPRTF();

  void EscapeToken(std::string& token) override;
  void Next() override;
  bool GetEol() override;
  std::string GetToken() override;
  int GetTokenKind() override;
  void SetLine(const char* text, int lineNumber) override;
  const char* GetTokenKindName() override;

 protected:
  bool TokenInPlace(std::string_view& token) override;
  void AppendTokens(std::string& out, TStream* flushTo) override;

 private:
  using TProc = void (TqorPHPRTF::*)();
  using TProcTable = std::array<TProc, 256>;

  static const TProcTable& SharedProcTable();
  static const TKeywordBuckets& SharedKeywords();

  void InitIdent();
  void MakeMethodTables();

  int KeyHash(const char* p);
  TTokenKind IdentKind(const char* p);
  bool KeyComp(const TKeyword& keyword) const;
  TTokenKind AltFunc() const;

  void ScanSingleQuotedBody();
  void ScanDoubleQuotedBody();
  void ScanBlockCommentBody();
  bool LineEndInRange();

  void NullProc();
  void SpaceProc();
  void LFProc();
  void CRProc();
  void SymbolOrAssignProc();
  void DoubledOrAssignProc();
  void DoubleQuoteProc();
  void HashCommentProc();
  void VariableProc();
  void SingleQuoteProc();
  void MinusProc();
  void SlashProc();
  void NumberProc();
  void LowerProc();
  void EqualProc();
  void GreaterProc();
  void AtSignProc();
  void IdentProc();
  void StrayProc();
  void SymbolProc();
  void SingleQuotedProc();
  void DoubleQuotedProc();
  void CommentProc();

  TRangeState Range = TRangeState::Normal;
  const char* Line = "";
  std::int32_t LineNumber = 0;
  const TProc* ProcTable = nullptr;
  std::int32_t Run = 0;
  std::int32_t StringLen = 0;
  const char* ToIdent = nullptr;
  std::int32_t TokenPos = 0;
  TTokenKind TokenKind = TTokenKind::Comment;
  const TKeywordBucket* IdentFuncTable = nullptr;
};
