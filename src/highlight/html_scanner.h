// The HTML highlighter: tags, tag names (known ones blue, others red), attribute
// names and values, strings, comments, server script blocks, entities and text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scanner_base.h"

enum class THTMLTokenKind : std::uint8_t {
  ServerScript,
  Comment,
  Identifier,
  TagName,
  Space,
  String,
  Symbol,
  Text,
  UndefinedTag,
  Value,
  Entity,
  EndOfText,
};

class TqorHTMLRTF final : public TScannerBase<TqorHTMLRTF, THTMLTokenKind, THTMLTokenKind::Space> {
  friend class TqorRTFSyntax;
  friend class TScannerBase<TqorHTMLRTF, THTMLTokenKind, THTMLTokenKind::Space>;

 public:
  using TtkTokenKind = THTMLTokenKind;

  enum class TRangeState : std::uint8_t {
    Initial,
    ServerScript,
    Comment,
    TagStart,
    InTag,
    Text,
    AfterEquals,
  };

  static constexpr int MaxKey = 243;
  static constexpr std::int32_t NoEntity = -1;

  TqorHTMLRTF();

  void Next() override;
  int GetTokenKind() override;
  const char* GetTokenKindName() override;

  TtkTokenKind TokenId() const { return TokenKind; }
  TRangeState RangeState() const { return Range; }

 protected:
  const TFragmentFrame& FrameToken(int colorIndex, std::string_view token) override;

 private:
  // The state a scan carries from line to line (see SaveState).
  std::uint32_t CarriedState() const {
    return static_cast<std::uint32_t>(Range) | static_cast<std::uint32_t>(EntityIndex + 1) << 8;
  }
  void RestoreCarried(std::uint32_t state) {
    Range = static_cast<TRangeState>(state & 0xFF);
    EntityIndex = static_cast<std::int32_t>(state >> 8) - 1;
  }

  using TProc = void (*)(TqorHTMLRTF&);

  void InitIdent();
  void MakeMethodTables();
  std::uint64_t KeyHash(std::int32_t pos);
  TtkTokenKind IdentKind(std::int32_t pos);

  void StringProc();
  void AmpersandProc();
  void TagOpenProc();
  void EqualsProc();
  void TagCloseProc();
  void IdentProc();
  void ServerScriptProc();
  void CommentProc();
  void TextProc();

  std::int32_t EntityIndex = NoEntity;
  TRangeState Range = TRangeState::Initial;
  const TProc* ProcTable = nullptr;
};
