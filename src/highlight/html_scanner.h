// The HTML highlighter: tags, tag names (known ones blue, others red), attribute
// names and values, strings, comments, server script blocks, entities and text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rtf_syntax.h"

class TqorHTMLRTF final : public TqorRTFSyntax {
  // The base class's conversion loop calls the scanner's own operations.
  friend class TqorRTFSyntax;

 public:
  enum class TtkTokenKind : std::uint8_t {
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

  void EscapeToken(std::string& token) override;
  void Next() override;
  bool GetEol() override;
  std::string GetToken() override;
  int GetTokenKind() override;
  void SetLine(const char* text, int lineNumber) override;
  const char* GetTokenKindName() override;

  TtkTokenKind TokenId() const { return TokenKind; }
  TRangeState RangeState() const { return Range; }

 protected:
  const TFragmentFrame& FrameToken(int colorIndex, std::string_view token) override;
  bool TokenInPlace(std::string_view& token) override;
  void AppendTokens(std::string& out, TStream* flushTo) override;

 private:
  using TProc = void (TqorHTMLRTF::*)();
  using TIdentFunc = TtkTokenKind (TqorHTMLRTF::*)(int hash);

  void InitIdent();
  void MakeMethodTables();
  std::int64_t KeyHash(std::int32_t pos);
  TtkTokenKind IdentKind(std::int32_t pos);
  bool KeyComp(const char* keyword, std::int32_t length) const;
  TtkTokenKind AltFunc(int hash);
  TtkTokenKind TagFunc(int hash);

  void NullProc();
  void SpaceProc();
  void LFProc();
  void CRProc();
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
  const char* Line = "";  // an empty text until SetLine, so a premature Next is harmless
  const TProc* ProcTable = nullptr;
  std::int32_t Run = 0;
  std::int32_t StringLen = 0;
  const char* ToIdent = nullptr;
  const TIdentFunc* IdentFuncTable = nullptr;
  std::int32_t TokenPos = 0;
  TtkTokenKind TokenKind = TtkTokenKind::ServerScript;
  std::int32_t LineNumber = 0;
};
