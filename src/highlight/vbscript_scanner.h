// The VBScript highlighter: comments, keywords, names, numbers, strings, date
// literals and operators, each token decided by its first byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "keyword_buckets.h"
#include "rtf_syntax.h"

class TqorVBScriptRTF final : public TqorRTFSyntax {
  // The base class's conversion loop calls the scanner's own operations.
  friend class TqorRTFSyntax;

 public:
  enum class TtkTokenKind : std::uint8_t {
    Comment,
    Identifier,
    Key,
    Number,
    Space,
    String,
    Symbol,
    EndOfText,
  };

  static constexpr int MaxKey = 133;

  TqorVBScriptRTF();

  void EscapeToken(std::string& token) override;
  void Next() override;
  bool GetEol() override;
  std::string GetToken() override;
  int GetTokenKind() override;
  void SetLine(const char* text, int lineNumber) override;
  const char* GetTokenKindName() override;

  TtkTokenKind TokenId() const { return TokenKind; }

 protected:
  bool TokenInPlace(std::string_view& token) override;
  void AppendTokens(std::string& out, TStream* flushTo) override;

 private:
  using TProc = void (TqorVBScriptRTF::*)();

  static const TKeywordBuckets& SharedKeywords();

  void InitIdent();
  // Wider than the 32-bit table values so that no name, however long, can
  // overflow the sum; anything above MaxKey is beyond the table anyway.
  std::int64_t KeyHash(std::int32_t pos);
  void MakeMethodTables();

  TtkTokenKind IdentKind(std::int32_t pos);
  bool KeyComp(const TKeyword& keyword) const;
  TtkTokenKind AltFunc() const;

  void NullProc();
  void SpaceProc();
  void LFProc();
  void CRProc();
  void StringProc();
  void DateProc();
  void CommentProc();
  void SymbolProc();
  void LowerProc();
  void GreaterProc();
  void NumberProc();
  void IdentProc();
  void UnknownProc();

  const char* Line = "";  // an empty text until SetLine, so a premature Next is harmless
  std::int32_t LineNumber = 0;
  const TProc* ProcTable = nullptr;
  std::int32_t Run = 0;
  std::int32_t StringLen = 0;
  const char* ToIdent = nullptr;
  std::int32_t TokenPos = 0;
  TtkTokenKind TokenKind = TtkTokenKind::Comment;
  // The keyword test of each hash 0..MaxKey: the bucket's keywords, tried in
  // list order; an empty bucket stands for AltFunc.
  const TKeywordBucket* IdentFuncTable = nullptr;
};
