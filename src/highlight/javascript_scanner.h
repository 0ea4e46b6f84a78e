// The JavaScript highlighter: comments green, keywords navy, numbers blue,
// everything else black; block comments carry across lines.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "scanner_base.h"

enum class TJScriptTokenKind : std::uint8_t {
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

class TqorJScriptRTF final
    : public TScannerBase<TqorJScriptRTF, TJScriptTokenKind, TJScriptTokenKind::Space> {
  friend class TqorRTFSyntax;
  friend class TScannerBase<TqorJScriptRTF, TJScriptTokenKind, TJScriptTokenKind::Space>;

 public:
  using TTokenKind = TJScriptTokenKind;
  enum class TRangeState : std::uint8_t { Normal, Comment };

  static constexpr int MaxKey = 252;

  TqorJScriptRTF();

  void Next() override;
  int GetTokenKind() override;
  const char* GetTokenKindName() override;

 protected:
 private:
  // The state a scan carries from line to line (see SaveState).
  std::uint32_t CarriedState() const { return static_cast<std::uint32_t>(Range); }
  void RestoreCarried(std::uint32_t state) { Range = static_cast<TRangeState>(state); }

  using TProc = void (*)(TqorJScriptRTF&);
  using TProcTable = std::array<TProc, 256>;

  static const TProcTable& SharedProcTable();
  static const TKeywordBuckets& SharedKeywords();

  void InitIdent();
  void MakeMethodTables();

  std::uint64_t KeyHash(const char* p);
  TTokenKind IdentKind(const char* p);

  void ScanBlockCommentBody();

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
  const TProc* ProcTable = nullptr;
};
