// The SQL highlighter: comments navy and italic, keywords bold, strings blue,
// everything else black. Only "/*" comments span lines; strings end at the line end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scanner_base.h"

enum class TSQLTokenKind : std::uint8_t {
  Comment,
  Identifier,
  Key,
  Number,
  Symbol,
  String,
  EndOfText,
};

class TqorSQLRTF final : public TScannerBase<TqorSQLRTF, TSQLTokenKind, TSQLTokenKind::Symbol> {
  friend class TqorRTFSyntax;
  friend class TScannerBase<TqorSQLRTF, TSQLTokenKind, TSQLTokenKind::Symbol>;

 public:
  using TTokenKind = TSQLTokenKind;
  enum class TRangeState : std::uint8_t { Normal, Comment };

  static constexpr int MaxKey = 156;

  TqorSQLRTF();

  void Next() override;
  int GetTokenKind() override;
  const char* GetTokenKindName() override;

  TTokenKind GetTokenId() const { return TokenKind; }
  TRangeState GetRange() const { return Range; }

  using TProcTableProc = void (*)(TqorSQLRTF&);

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
  void DoubleQuoteProc();
  void HashProc();
  void ApostropheProc();
  void MinusProc();
  void NumberProc();
  void SlashProc();
  void IdentProc();
  void SymbolProc();

  // The rest of a line of a "/*" comment while Range is Comment.
  void CommentProc();
  void ScanCommentBody();

  TRangeState Range = TRangeState::Normal;
  const TProcTableProc* ProcTable = nullptr;
};
