// The incremental refresh over the record the RTF reader keeps: the rescan of
// the changed lines, with each look given the format that reading the whole
// document's RTF would give it.
#pragma once

#include "line_rescan.h"
#include "rtf_reader.h"

// The format the reader gives text in the look, under the highlighter's colour table.
RtfFormat LookFormat(const TqorRTFSyntax& highlighter, TLookId look);

// Rescans after the change, writing the record of looks through formatOf,
// which stands for `size` bytes (the text's length, or the record is out of
// step with the text) and is written from RescanFrom(text, change) on, as
// RescanLines writes it. New looks are added to `formats`.
TRescanResult RescanIntoLooks(TqorRTFSyntax& highlighter, const TDocumentText& text,
                              TTextChange change, TLineRecord& record,
                              std::vector<RtfFormat>& formats, std::uint8_t* formatOf,
                              std::size_t size, std::size_t pauseAfter = kNoPause);
// Whether a scan from the start of the text gives what its whole conversion
// gives: no NUL, where the conversion stops, and no lone CR or LF, which the
// conversion drops from the text.
bool ScansAsConverted(std::string_view text);

// Readies the record for a scan of the whole text from its start, as a change
// of all of it: the highlighter's state at the start, every other line start
// unscanned. Returns the change to scan (TTextChange{0, length}), or false
// when the highlighter cannot resume a scan.
bool BeginUnscanned(const TqorRTFSyntax& highlighter, const TDocumentText& text,
                    TLineRecord& record, TTextChange& change);

// The same into doc.FormatOf, one value per byte of the text.
TRescanResult RescanIntoDocument(TqorRTFSyntax& highlighter, const TDocumentText& text,
                                 TTextChange change, TLineRecord& record, RtfDocument& doc,
                                 std::size_t pauseAfter = kNoPause);
