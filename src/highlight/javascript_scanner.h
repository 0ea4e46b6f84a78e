// The JavaScript highlighter: comments green, keywords navy, numbers blue,
// everything else black; block comments carry across lines.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "keyword_buckets.h"
#include "rtf_syntax.h"

class TqorJScriptRTF final : public TqorRTFSyntax {
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
    EndOfText
  };
  enum class TRangeState : std::uint8_t { Normal, Comment };

  static constexpr int MaxKey = 252;

  TqorJScriptRTF();

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
  using TProc = void (TqorJScriptRTF::*)();
  using TProcTable = std::array<TProc, 256>;

  static const TProcTable& SharedProcTable();
  static const TKeywordBuckets& SharedKeywords();

  void InitIdent();
  void MakeMethodTables();

  int KeyHash(const char* p);
  TTokenKind IdentKind(const char* p);
  bool KeyComp(const TKeyword& keyword) const;
  TTokenKind AltFunc() const;

  void ScanBlockCommentBody();

  void NullProc();
  void SpaceProc();
  void LFProc();
  void CRProc();
  void StringProc();
  void HashProc();
  void DollarProc();
  void PercentProc();
  void AndProc();
  void StarProc();
  void PlusProc();
  void MinusProc();
  void PointProc();
  void SlashProc();
  void NumberProc();
  void IdentProc();
  void OrProc();
  void StrayProc();
  void SymbolProc();
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
