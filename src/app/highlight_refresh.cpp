#include "highlight_refresh.h"

#include "code_page.h"
#include "editor_control.h"
#include "highlighter_factory.h"
#include "main_form.h"

namespace refresh {

void RefreshHighlight(TMainForm& form, bool markModified) {
  TEditorControl& editor = *form.Editor();
  form.ShowCaretLineNumber();
  form.StopPreviewTimer();
  const int caret = editor.CaretPosition();
  if (markModified) form.SetModifiedFlag(QStringLiteral("1"));

  HighlighterChoice choice = CreateHighlighter(codepage::FromUnicode(form.SyntaxName()));
  // After a change the highlighter resumes where the change begins and stops
  // where the old colours hold again; a syntax choice colours the whole
  // document unless it already shows that syntax's colours (opening a file
  // refreshes once for the load and again for its syntax), and so does a
  // change with nothing safe to resume from. The view is coloured first.
  const bool kept = markModified ? editor.RecolourChanges(*choice.Highlighter)
                                 : editor.KeepColoursOf(*choice.Highlighter);
  if (!kept) editor.ColourWholeDocument(*choice.Highlighter);

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
