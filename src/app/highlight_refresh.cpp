#include "highlight_refresh.h"

#include <cstring>
#include <memory>

#include "code_page.h"
#include "editor_control.h"
#include "highlighter_factory.h"
#include "main_form.h"

namespace refresh {
namespace {

// The last refresh's text and RTF sizes: the next document's RTF takes about
// as many bytes per byte of text, so its stream gets the room at once instead
// of growing by copying itself, also after a paste or a large cut. An eighth
// more lets the RTF come out a little longer, or the writer foresee it so,
// without a copy into twice the room.
std::size_t gLastTextSize = 0;
std::size_t gLastRtfSize = 0;

std::size_t ExpectedRtfSize(std::size_t textSize) {
  if (gLastTextSize == 0) return 0;
  const auto expected = static_cast<std::size_t>(static_cast<double>(gLastRtfSize) * textSize /
                                                 static_cast<double>(gLastTextSize));
  return expected + expected / 8;
}

// The highlighter reads the editor's own bytes, which end in a NUL; it stops at
// the first NUL inside the text too, so the RTF covers only what comes before
// one and the rest of the document is left as it is. The conversion records its
// line starts for the next refresh to resume from.
void ConvertWholeDocument(TEditorControl& editor, TqorRTFSyntax& highlighter) {
  const char* text = editor.CharacterPointer();
  const int covered = static_cast<int>(strnlen(text, static_cast<std::size_t>(editor.Length())));
  highlighter.RecordLines(editor.LineRecord());
  highlighter.SetText(text);
  auto stream = std::make_unique<TMemoryStream>();
  stream->Data().reserve(ExpectedRtfSize(static_cast<std::size_t>(covered)));
  highlighter.ConvertToRtf(*stream);
  gLastTextSize = static_cast<std::size_t>(covered);
  gLastRtfSize = stream->Data().size();
  stream->Position = 0;
  editor.LoadRichText(stream->Data(), covered);
}

}  // namespace

void RefreshHighlight(TMainForm& form, bool markModified) {
  TEditorControl& editor = *form.Editor();
  form.ShowCaretLineNumber();
  form.StopPreviewTimer();
  const int caret = editor.CaretPosition();
  if (markModified) form.SetModifiedFlag(QStringLiteral("1"));

  HighlighterChoice choice = CreateHighlighter(codepage::FromUnicode(form.SyntaxName()));
  // After a change the highlighter resumes where the change begins and stops
  // where the old colours hold again; a syntax choice, or a change with
  // nothing safe to resume from, converts the whole document.
  if (!markModified || !editor.RecolourChanges(*choice.Highlighter)) {
    ConvertWholeDocument(editor, *choice.Highlighter);
  }

  editor.SetCaretPosition(caret);
  editor.ScrollCaretIntoView();
  editor.FocusEditor();
  choice.Highlighter.reset();
  form.RestartPreviewTimer();
  form.SetAutomaticPreview(choice.IsHtml);
}

void Edit1Change(TMainForm& form) { RefreshHighlight(form, true); }

void SynlistChange(TMainForm& form) { RefreshHighlight(form, false); }

}  // namespace refresh
