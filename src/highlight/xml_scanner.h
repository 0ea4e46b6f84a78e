// The XML highlighter: a state machine over markup (names, attributes, values,
// references, comments, processing instructions, CDATA, document type, text).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scanner_base.h"

enum class TXMLTokenKind : std::uint8_t {
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

class TqorXMLRTF final : public TScannerBase<TqorXMLRTF, TXMLTokenKind, TXMLTokenKind::Space> {
  friend class TqorRTFSyntax;
  friend class TScannerBase<TqorXMLRTF, TXMLTokenKind, TXMLTokenKind::Space>;

 public:
  using TtkTokenKind = TXMLTokenKind;

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

  void Next() override;
  int GetTokenKind() override;
  const char* GetTokenKindName() override;

  TtkTokenKind TokenId() const { return TokenKind; }
  TRangeState GetRange() const { return Range; }

 protected:
  const TFragmentFrame& FrameToken(int colorIndex, std::string_view token) override;

 private:
  // The state a scan carries from line to line (see SaveState).
  std::uint32_t CarriedState() const { return static_cast<std::uint32_t>(Range); }
  void RestoreCarried(std::uint32_t state) { Range = static_cast<TRangeState>(state); }

  using TProc = void (*)(TqorXMLRTF&);

  void MakeMethodTables();

  // Handlers chosen by the byte under the scan position.
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
  const TProc* ProcTable = nullptr;
};
