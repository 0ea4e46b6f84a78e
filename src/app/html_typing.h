// The editor's help as the user types a page: line numbers and the caret
// line, closing tags, completed end tags, matching tags and brackets,
// indentation and Emmet abbreviations, each with its on/off command in the
// Edit menu. The decisions are the typing library's; this unit hears the
// editor's keys and caret moves and makes its edits through the editor's
// own calls, each as one change and one undo step with the key.
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "editing_options.h"
#include "markup_context.h"
#include "pair_matching.h"
#include "tag_closing.h"

class QAction;
class QMenu;
class TEditorControl;
class TEmmet;
class TLineNumberMargin;
class TMainForm;
class TMarkupReader;
class TqorRTFSyntax;
struct TEdit;

class THtmlTyping : public QObject {
  Q_OBJECT

 public:
  THtmlTyping(TMainForm& form, TEditorControl* editor, QObject* parent);
  ~THtmlTyping() override;

  // A separator, the two commands and the submenu of switches, at the end of `menu`.
  void AddToMenu(QMenu* menu);

  const TEditingOptions& Options() const { return Options_; }
  void SetOptions(const TEditingOptions& options);

  // Ctrl+E: the abbreviation before the caret, expanded; a status note says
  // why where there is none. Tab does the same when that option is on, and
  // types a tab where there is nothing to expand.
  bool ExpandAbbreviation(bool quiet = false);
  // Ctrl+B: the caret to the other tag or bracket of the pair at the caret.
  void GoToMatch();

  TLineNumberMargin* LineNumbers() const { return Margin_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct TPlace;  // the document as the decisions read it, at the caret

  // Each returns false when the key is left to the editor.
  bool TypeGreaterThan();
  bool TypeSlash();
  bool TypeClosingBrace();
  bool TypeEnter();
  bool TypeOver(char c);
  // Replaces [From, To) by the edit's text, with the typed key, as one change
  // and one undo step, and puts the caret in it.
  void Apply(const TEdit& edit);
  void MarkPairsSoon();
  void MarkPairs();
  // The runs of an indicator, and the marks shown where they differ.
  std::vector<TRange> Marks(int indicator) const;
  void ShowMarks(const std::vector<TRange>& matched, const std::vector<TRange>& lone);
  THint HintAt(std::size_t pos);
  std::string Step(TMarkupReader& markup);

  TMainForm& Form_;
  TEditorControl* Editor_;
  TEditingOptions Options_;
  TLineNumberMargin* Margin_;
  bool MarkPending_ = false;
  bool Applying_ = false;
  TTypeOver TypeOver_;
  std::unique_ptr<TEmmet> Emmet_;
  // The colouring's scanner, resumed at the caret line's start.
  std::unique_ptr<TqorRTFSyntax> Scanner_;
  std::string ScannerSyntax_;

  QAction* ExpandAction_ = nullptr;
  QAction* MatchAction_ = nullptr;
  QAction* LineNumbersAction_ = nullptr;
  QAction* CaretLineAction_ = nullptr;
  QAction* CloseTagsAction_ = nullptr;
  QAction* CompleteAction_ = nullptr;
  QAction* MatchPairsAction_ = nullptr;
  QAction* IndentAction_ = nullptr;
  QAction* TabAction_ = nullptr;
};
