// The VBScript highlighter: comments, keywords, names, numbers, strings, date
// literals and operators, each token decided by its first byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scanner_base.h"

enum class TVBScriptTokenKind : std::uint8_t {
  Comment,
  Identifier,
  Key,
  Number,
  Space,
  String,
  Symbol,
  EndOfText,
};

class TqorVBScriptRTF final
    : public TScannerBase<TqorVBScriptRTF, TVBScriptTokenKind, TVBScriptTokenKind::Space> {
  friend class TqorRTFSyntax;
  friend class TScannerBase<TqorVBScriptRTF, TVBScriptTokenKind, TVBScriptTokenKind::Space>;

 public:
  using TtkTokenKind = TVBScriptTokenKind;

  static constexpr int MaxKey = 133;

  TqorVBScriptRTF();

  void Next() override;
  int GetTokenKind() override;
  const char* GetTokenKindName() override;

  TtkTokenKind TokenId() const { return TokenKind; }

 protected:
 private:
  // The state a scan carries from line to line (see SaveState).
  std::uint32_t CarriedState() const { return 0; }
  void RestoreCarried(std::uint32_t state) { static_cast<void>(state); }

  using TProc = void (*)(TqorVBScriptRTF&);

  static const TKeywordBuckets& SharedKeywords();

  void InitIdent();
  std::uint64_t KeyHash(std::int32_t pos);
  void MakeMethodTables();

  TtkTokenKind IdentKind(std::int32_t pos);

  void StringProc();
  void DateProc();
  void CommentProc();
  void SymbolProc();
  void LowerProc();
  void GreaterProc();
  void NumberProc();
  void IdentProc();
  void UnknownProc();

  const TProc* ProcTable = nullptr;
};
