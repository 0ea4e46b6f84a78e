// The PHP highlighter: comments blue, keywords navy, numbers green, strings
// maroon, the "@" operator red; strings and block comments carry across lines.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "scanner_base.h"

enum class TPHPTokenKind : std::uint8_t {
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

class TqorPHPRTF final : public TScannerBase<TqorPHPRTF, TPHPTokenKind, TPHPTokenKind::Space> {
  friend class TqorRTFSyntax;
  friend class TScannerBase<TqorPHPRTF, TPHPTokenKind, TPHPTokenKind::Space>;

 public:
  using TTokenKind = TPHPTokenKind;
  enum class TRangeState : std::uint8_t { Normal, SingleQuoted, DoubleQuoted, Comment };

  static constexpr int MaxKey = 206;

  TqorPHPRTF();

  void Next() override;
  int GetTokenKind() override;
  const char* GetTokenKindName() override;

 protected:
 private:
  // The state a scan carries from line to line (see SaveState).
  std::uint32_t CarriedState() const { return static_cast<std::uint32_t>(Range); }
  void RestoreCarried(std::uint32_t state) { Range = static_cast<TRangeState>(state); }

  using TProc = void (*)(TqorPHPRTF&);
  using TProcTable = std::array<TProc, 256>;

  static const TProcTable& SharedProcTable();
  static const TKeywordBuckets& SharedKeywords();

  void InitIdent();
  void MakeMethodTables();

  std::uint64_t KeyHash(const char* p);
  TTokenKind IdentKind(const char* p);

  void ScanSingleQuotedBody();
  void ScanDoubleQuotedBody();
  void ScanBlockCommentBody();

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
  const TProc* ProcTable = nullptr;
};
