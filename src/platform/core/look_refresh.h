// The incremental refresh over the record the RTF reader keeps: the rescan of
// the changed lines, with each look given the format that reading the whole
// document's RTF would give it.
#pragma once

#include "line_rescan.h"
#include "rtf_reader.h"

// The format the reader gives text in the look, under the highlighter's colour table.
RtfFormat LookFormat(const TqorRTFSyntax& highlighter, TLookId look);

// Rescans after the change, writing doc.FormatOf (which must hold one value
// per byte of the text); new looks are added to doc.Formats.
TRescanResult RescanIntoDocument(TqorRTFSyntax& highlighter, const TDocumentText& text,
                                 TTextChange change, TLineRecord& record, RtfDocument& doc);
