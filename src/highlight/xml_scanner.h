// The XML highlighter: a state machine over markup (names, attributes, values,
// references, comments, processing instructions, CDATA, document type, text).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rtf_syntax.h"

class TqorXMLRTF final : public TqorRTFSyntax {
  // The base class's conversion loop calls the scanner's own operations.
  friend class TqorRTFSyntax;

 public:
  enum class TtkTokenKind : std::uint8_t {
    EndOfText,
    ElementName,
    AttributeName,
    Text,
    CData,
    TextEntity,
    ProcessingInstruction,
    Comment,
    ValueDouble,
    ValueSingle,
    ValueEntityDouble,
    ValueEntitySingle,
    Symbol,
    Space,
    Assign,
    NamespaceName,
    NamespaceValueDouble,
    NamespaceValueSingle,
    NamespaceEntityDouble,
    NamespaceEntitySingle,
    NamespaceAssign,
    DocType,
  };

  enum class TRangeState : std::uint8_t {
    InElementName,
    AfterAttributeName,
    InAttributeName,
    InValueDouble,
    InValueSingle,
    InValueEntityDouble,
    InValueEntitySingle,
    InText,
    InCData,
    InTextEntity,
    InProcessingInstruction,
    InComment,
    AfterNamespaceName,
    InNamespaceValueDouble,
    InNamespaceValueSingle,
    InNamespaceEntityDouble,
    InNamespaceEntitySingle,
    InDocType,
  };

  TqorXMLRTF();

  void EscapeToken(std::string& token) override;
  void Next() override;
  bool GetEol() override;
  std::string GetToken() override;
  int GetTokenKind() override;
  void SetLine(const char* text, int lineNumber) override;
  const char* GetTokenKindName() override;

  TtkTokenKind TokenId() const { return TokenKind; }
  TRangeState GetRange() const { return Range; }

 protected:
  const TFragmentFrame& FrameToken(int colorIndex, std::string_view token) override;
  bool TokenInPlace(std::string_view& token) override;
  void AppendTokens(std::string& out, TStream* flushTo) override;

 private:
  using TProc = void (TqorXMLRTF::*)();

  void MakeMethodTables();

  // Handlers chosen by the byte under the scan position.
  void NullProc();
  void LFProc();
  void CRProc();
  void SpaceProc();
  void LessThanProc();
  void GreaterThanProc();
  void MarkupProc();

  // Handlers of the constructs that Next enters by range.
  void TextProc();
  void CommentProc();
  void ProcessingInstructionProc();
  void CDataProc();
  void DocTypeProc();

  // Markup handlers, chosen by range for a token's first byte.
  void ElementNameProc();
  void AttributeNameProc();
  void AssignProc(bool isNamespace);
  void ValueProc(char quote, TtkTokenKind kind, TRangeState entityRange);
  void EntityProc(TtkTokenKind kind, TRangeState returnRange);

  // Steps over a stretch that ends at a line end or the end of text, or just
  // after a ">" whose preceding byte is `before`; returns true at that ">".
  bool ScanToClosingBracket(char before);

  TRangeState Range = TRangeState::InText;
  const char* Line = "";  // an empty text until SetLine, so a premature Next is harmless
  std::int32_t Run = 0;
  std::int32_t TokenPos = 0;
  TtkTokenKind TokenKind = TtkTokenKind::EndOfText;
  std::int32_t LineNumber = 0;
  const TProc* ProcTable = nullptr;
};
