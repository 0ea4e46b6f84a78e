// The document editor control (Edit1): QScintilla holding the document's bytes
// exactly as they are, with CR LF between lines, plus the editor operations
// every window uses and the change and selection reports. A document is read
// in code page 1252 or in UTF-8, as its bytes say; either way every position
// is a byte position and the highlighters see the bytes of the file.
#pragma once

#include <Qsci/qsciscintilla.h>
#include <QByteArray>
#include <cstdint>
#include <string_view>
#include <vector>

#include "line_record.h"
#include "line_rescan.h"
#include "rtf_reader.h"
#include "text_encoding.h"

class QMenu;

// How a search reads its text: case, whole words, a regular expression (the
// ECMAScript grammar, matched within single lines), and its direction.
struct TSearchOptions {
  bool MatchCase = false;
  bool WholeWord = false;
  bool RegularExpression = false;
  bool Down = true;
};

class TEditorControl : public QsciScintilla {
  Q_OBJECT

 public:
  explicit TEditorControl(QWidget* parent = nullptr);

  // Editor operations. Each that changes the content raises one change report.
  void PasteAtCaret();                      // clipboard text replaces the selection
  void AppendLine(const QByteArray& line);  // a new last line, whatever the caret
  void ClearText();
  void LoadFile(const QString& path);  // throws "Cannot open file %s"
  void SaveFile(const QString& path);  // CR LF lines; throws "Cannot create file %s"
  // The same for a file whose name the program chose (the preview's scratch
  // copy): never through a link, never onto anything but the user's own file.
  void SaveOwnFile(const QString& path);
  QByteArray GetText() const;                 // whole text, CR LF between lines
  void SetTextBytes(const QByteArray& text);  // replaces the whole content (line ends made CR LF)
  // Switches to rich streaming and replaces the content by an RTF document: the
  // text and its colours (anything that is not RTF is loaded as plain text).
  // When the text equals the current one only the colours change: undo history,
  // scroll position and selection stay. Always raises one change report, also
  // when only colours changed (none while one is being handled).
  void LoadRichText(std::string_view rtf);
  // The same for the first `length` bytes of the document only; the bytes after
  // them stay exactly as they are, in the default style.
  void LoadRichText(std::string_view rtf, int length);
  // The two halves of LoadRichText, apart so they can be timed: reading the
  // document against the first `length` bytes, then, with the content
  // unchanged in between, making it their text and styles.
  void ReadRichText(std::string_view rtf, int length);
  void ApplyRichText();
  // The incremental refresh: recolours after the changes since the last
  // refresh with `highlighter`, a fresh one of the class that last converted
  // the whole document, rescanning only the lines whose tokens may differ.
  // The looks are exactly those a whole conversion read by LoadRichText would
  // give; raises its change report as LoadRichText does. False where nothing
  // safe is known to resume from (a load, a NUL, a syntax of another class, a
  // text the conversion would change): the caller then converts the whole
  // document, with its line starts recorded into LineRecord().
  bool RecolourChanges(TqorRTFSyntax& highlighter);
  TLineRecord& LineRecord() { return LineRecord_; }
  // What the last RecolourChanges scanned (Done false after a whole conversion).
  const TRescanResult& LastRescan() const { return LastRescan_; }
  int CaretPosition() const;            // start of the selection
  void SetCaretPosition(int position);  // collapses the selection
  int LineStart(int line) const;        // -1 when there is no such line
  int CaretLine() const;                // line of the selection's end
  int LineCount() const;                // lines, not counting an empty last line
  int LastLine() const;                 // index of the last line, empty or not
  void ScrollCaretIntoView();
  void FocusEditor();

  // The document's encoding: chosen from the bytes whenever the whole content
  // is replaced by bytes (a file load); a cleared document is code page 1252.
  TTextEncoding Encoding() const { return Encoding_; }
  // A text as bytes of the document's encoding; false, with `bytes` left as
  // it was, when a character has no byte in code page 1252.
  bool EncodeText(const QString& text, QByteArray* bytes) const;
  // The same for text the user puts into the document: a text that cannot
  // be stored is refused with an InputRefused report, never stored as "?".
  bool TakeInput(const QString& text, QByteArray* bytes);
  // The document as the editor shows it, character for character.
  QString ShownText() const;

  void SetWordWrap(bool wrap);
  void SetPopupMenu(QMenu* menu) { PopupMenu_ = menu; }

  // Direct read access to the document bytes (valid until the next change).
  const char* CharacterPointer() const;
  int Length() const;

  // Reports a selection change now if the caret or the selection moved since
  // the last report (Scintilla's own notice comes only with the next repaint).
  void NotifySelection();

  // Runs `edit`, which changes the content through the widget's own calls,
  // as one operation, as a typed key is one: one change report however many
  // modifications it makes, and one selection report after it.
  template <class Edit>
  void AsOneChange(Edit&& edit) {
    Operation op(*this);
    edit();
  }

  // Selects the next occurrence of the bytes after the selection (down) or
  // before it (up) and scrolls it into view; false when there is none.
  bool FindText(const std::string& needle, bool matchCase, bool wholeWord, bool down);
  // The same with every option. A regular expression that does not compile
  // throws a VexaError that says why, before anything is searched.
  bool FindText(const std::string& needle, const TSearchOptions& options);
  // Replaces the selection when it is an occurrence, as one change and one
  // undo step, then selects the next occurrence in the search's direction.
  // In a regular expression's replacement \0 stands for the whole match and
  // \1 to \9 for its groups. False when no occurrence follows.
  bool ReplaceText(const std::string& needle, const std::string& replacement,
                   const TSearchOptions& options);
  // Replaces every occurrence in the document, as one change and one undo
  // step; the number of replacements.
  int ReplaceAllText(const std::string& needle, const std::string& replacement,
                     const TSearchOptions& options);

 public slots:
  void cut() override;
  void paste() override;
  void undo() override;
  void redo() override;
  void clear() override;

 signals:
  void Changed();         // the content changed (Edit1Change)
  void SelectionMoved();  // the caret or the selection moved (Edit1SelectionChange)
  void EncodingChanged();
  void InputRefused(const QString& message);  // why a typed or pasted text was not stored

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  void dropEvent(QDropEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  QByteArray fromMimeData(const QMimeData* source, bool& rectangular) const override;
  QMimeData* toMimeData(const QByteArray& text, bool rectangular) const override;

 private:
  // Groups the modifications of one operation into one change report.
  class Operation {
   public:
    explicit Operation(TEditorControl& editor);
    ~Operation();
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

   private:
    TEditorControl& Editor_;
  };

  void OnTextModified();
  void SetEncoding(TTextEncoding encoding);
  void ApplyEncoding();  // the widget's mode for Encoding_
  // Typed text the widget itself would store wrongly (as "?") in a code page
  // 1252 document: stored as its bytes, or refused. False when the widget's
  // own handling is right.
  bool TypeText(const QString& text);
  // Whether the clipboard's (or the X11 selection's) text may be pasted.
  bool MayPaste(bool selection);
  // Draws the characters the widget cannot draw in a code page 1252
  // document over the cells it keeps for them.
  void PaintCharacters();
  // Searches [from, to) (backwards when to < from) with the options set by
  // PrepareSearch; the start of the match or -1, its end in the target.
  long SearchRange(const std::string& pattern, long from, long to);
  std::string PrepareSearch(const std::string& needle, const TSearchOptions& options);
  long ReplaceTarget(const std::string& replacement, bool regularExpression);
  void Report();
  void ReplaceAll(const QByteArray& bytes);
  void ReplaceChangedText(std::size_t same, std::string_view rest, int length);
  // Gives each format its style; false when the styles had to start over.
  bool MapStyles(const std::vector<RtfFormat>& formats, std::uint8_t* styleOf);
  std::uint8_t StyleFor(const RtfFormat& format);
  void DefineStyle(int style, const RtfFormat& format);
  // Keeps ShownFormatOf_ in step with the text as it is edited, and notes
  // which bytes changed since the last refresh.
  void TrackModification(int position, int type, int length);
  // Restyles the bytes from..to (and all where the styles start over).
  void Restyle(std::size_t from, std::size_t to, bool all);

  long LastAnchor_ = 0;
  long LastCaret_ = 0;
  int OperationDepth_ = 0;
  bool Dirty_ = false;
  bool InReport_ = false;
  TTextEncoding Encoding_ = TTextEncoding::Windows1252;
  QMenu* PopupMenu_ = nullptr;

  // The rich text of the last load. Its FormatOf is the record of what the
  // editor's styles stand for: per byte of the content the index of its
  // format, kNoFormat where the byte was inserted since, kDefaultFormat where
  // the load did not reach. Kept in step with edits, it lets the next load
  // restyle only the bytes whose format differs.
  RtfDocument RichDoc_;
  bool ShownValid_ = false;
  // What ReadRichText leaves for ApplyRichText: the length it read against,
  // and the bytes after it that did not show the default style.
  int ReadLength_ = 0;
  std::size_t TailFrom_ = 0;
  std::size_t TailTo_ = 0;
  // The look each editor style was given; styles keep their look across loads,
  // so a refresh that brings no new look defines nothing.
  std::vector<std::pair<RtfFormat, std::uint8_t>> StyleLooks_;

  // The line starts of the last scan, and the bytes changed since: the first
  // Change_.From and the last Change_.Tail bytes are those it scanned.
  TLineRecord LineRecord_;
  TRescanResult LastRescan_;
  TTextChange Change_;
  bool Changed_ = false;
  // Bytes a declined rescan wrote into the record before it gave up: the
  // whole conversion that follows restyles them too.
  std::size_t StaleFrom_ = 0;
  std::size_t StaleTo_ = 0;
};
