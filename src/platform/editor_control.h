// The document editor control (Edit1): QScintilla holding the document's bytes
// exactly as they are, with CR LF between lines, plus the editor operations
// every window uses and the change and selection reports. A document is read
// in code page 1252 or in UTF-8, as its bytes say; either way every position
// is a byte position and the highlighters see the bytes of the file.
#pragma once

#include <Qsci/qsciscintilla.h>
#include <QByteArray>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "gapped_bytes.h"
#include "line_record.h"
#include "line_rescan.h"
#include "rtf_reader.h"
#include "text_encoding.h"

class QMenu;
class QPainter;
class QTimer;

// How a search reads its text: case, whole words, a regular expression (the
// ECMAScript grammar, matched within single lines), and its direction.
struct TSearchOptions {
  bool MatchCase = false;
  bool WholeWord = false;
  bool RegularExpression = false;
  bool Down = true;
};

// One insert or delete of the document's bytes, as TEditorControl::TextModified
// reports it: where, how many bytes, and whether undo or redo made it.
struct TTextModification {
  enum class TKind { Insert, Delete };
  TKind Kind = TKind::Insert;
  int Position = 0;  // byte position of the first byte inserted or deleted
  int Length = 0;    // bytes inserted or deleted
  bool Undo = false;
  bool Redo = false;
};
Q_DECLARE_METATYPE(TTextModification)

// How the editor hears of changes. The widget announces every insert and
// delete only before it makes it (Scintilla's "before insert" and "before
// delete" notices, the only modification notices asked for): the notices
// after a change, and with them QsciScintilla's textChanged, never arrive.
// Those would make the widget's own accessibility layer count the document's
// characters from its start on every keystroke, which costs as much as the
// document is long; the accessible interface of this editor is its own
// (editor_accessible.h). So whatever must hear of changes listens to
// TextModified (or to Changed, once per operation), never to the widget's
// SCN_MODIFIED or textChanged. Bits may be added to the widget's event mask
// (folding adds its own) but never one that rides on the notices after a
// change: SC_MOD_INSERTTEXT, SC_MOD_DELETETEXT, the SC_PERFORMED_* bits,
// SC_STARTACTION or the undo and redo step bits.
class TEditorControl : public QsciScintilla {
  Q_OBJECT

 public:
  explicit TEditorControl(QWidget* parent = nullptr);

  // Groups the modifications made while it lives into one operation: their
  // TextModified notices and one change report come when the outermost
  // operation ends. Every change the editor makes itself (keys, input methods,
  // mouse, drops, the editor operations below, undo and redo) runs in one.
  // Code that changes the text through QScintilla's own calls or SendScintilla
  // wraps them in one too; a change made outside any operation is still
  // reported, but only once control is back in the event loop.
  class Operation {
   public:
    explicit Operation(TEditorControl& editor);
    ~Operation();
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

   private:
    TEditorControl& Editor_;
  };

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
  // The refresh of a syntax choice: where the looks are those of a
  // conversion by the class of `highlighter` (or will be once the slices left
  // for idle time are done) and nothing changed since (the same syntax chosen
  // again, or after a load that was refreshed with it), a whole conversion
  // would give the same looks: they stay, and the change report is raised as
  // a load of them raises it. False otherwise: the caller colours the whole
  // document.
  bool KeepColoursOf(const TqorRTFSyntax& highlighter);
  // Colours the whole document with `highlighter` (a syntax choice, a load):
  // the view and a little beyond it at once, the rest while the event loop is
  // idle (see SettleStyles), scanning from the start as a change of all of it;
  // where that would not give what the whole conversion gives (a NUL, a lone
  // CR or LF) or the class cannot resume a scan, the whole conversion. Raises
  // the change report as LoadRichText does.
  void ColourWholeDocument(TqorRTFSyntax& highlighter);
  // The whole document's conversion by `highlighter`, read by LoadRichText,
  // for the first bytes up to a NUL (the rest stays as it is); its line starts
  // are recorded for RecolourChanges to resume from.
  void ConvertWholeDocument(TqorRTFSyntax& highlighter);
  // A change that recolours much of the document (a comment opened near the
  // top) gets the view and a little beyond it coloured by the refresh, and
  // the rest in slices while the event loop is idle, each of about
  // kIdleColourSlice bytes of scanning, until the looks are those of a whole
  // conversion again. StylesPending tells whether some are still to come;
  // SettleStyles colours them now. Whatever reads styles away from the view
  // (a comparison with a whole conversion, an export) settles them first.
  bool StylesPending() const;
  void SettleStyles();
  static constexpr std::size_t kFirstColourSlice = 64 * 1024;
  static constexpr std::size_t kIdleColourSlice = 256 * 1024;
  // Widths of short runs of text the widget remembers (it keeps 1,024 by
  // itself): enough for the distinct tokens of a long minified line.
  static constexpr unsigned long kPositionCacheEntries = 256 * 1024;
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
  // The characters of the bytes from..to as a reader of the page reads them:
  // a code page 1252 document's bytes as that page's characters (its five
  // undefined bytes as U+FFFD, control characters as themselves), a UTF-8
  // document as its characters.
  QString Characters(int from, int to) const;
  // Offsets into the document's characters as Qt counts them (UTF-16 code
  // units): in a code page 1252 document the byte position itself, in a UTF-8
  // one a look-up in the widget's index of line starts and a count within
  // the line. Positions and offsets out of range are brought into it.
  int CharacterOffset(int position) const;
  int PositionOfCharacter(int offset) const;
  int CharacterCount() const;

  void SetWordWrap(bool wrap);
  void SetPopupMenu(QMenu* menu) { PopupMenu_ = menu; }

  // Direct read access to the document bytes (valid until the next change).
  const char* CharacterPointer() const;
  int Length() const;

  // Reports a selection change now if the caret or the selection moved since
  // the last report (Scintilla's own notice comes only with the next repaint).
  void NotifySelection();

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
  // One insert or delete of the text, raised for every one, whatever made it
  // (typing, pasting, loading, the editor operations, undo and redo), in the
  // order they were made. They are raised when the operation that made them
  // ends, before its change report: a listener sees the text as the whole
  // operation left it, and what it changes itself joins the same operation,
  // the same undo step where the widget joins them, and the same change report.
  void TextModified(const TTextModification& modification);
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
  // A Scintilla notice before an insert or a delete.
  void OnModification(int position, int type, int length);
  // Raises the TextModified notices of the operation that ends, and those of
  // what their listeners change in turn.
  void RaiseModifications();
  void SetEncoding(TTextEncoding encoding);
  void ApplyEncoding();  // the widget's mode for Encoding_
  void NeedCharacterIndex() const;
  // Tells assistive programs of the last change once it is made (see
  // editor_accessible.h).
  void TellAccessible();
  // Typed text the widget itself would store wrongly (as "?") in a code page
  // 1252 document: stored as its bytes, or refused. False when the widget's
  // own handling is right.
  bool TypeText(const QString& text);
  // Whether the clipboard's (or the X11 selection's) text may be pasted.
  bool MayPaste(bool selection);
  // Draws the characters the widget cannot draw in a code page 1252
  // document over the cells it keeps for them.
  void PaintCharacters();
  void PaintCharacter(QPainter& painter, long position, char16_t shown,
                      const std::function<bool(long)>& selected, int width, int height);
  // The byte ranges the view shows, row by row.
  std::vector<std::pair<long, long>> ShownRanges() const;
  // Searches [from, to) (backwards when to < from) with the options set by
  // PrepareSearch; the start of the match or -1, its end in the target.
  long SearchRange(const std::string& pattern, long from, long to);
  std::string PrepareSearch(const std::string& needle, const TSearchOptions& options);
  long ReplaceTarget(const std::string& replacement, bool regularExpression);
  void Report();
  void ReplaceAll(std::string_view bytes);
  void ReplaceChangedText(std::size_t same, std::string_view rest, int length);
  // Whether the record of looks and the line record stand for the text.
  bool InStep() const;
  // ColourWholeDocument by a scan from the start; false where it cannot be.
  bool ColourFromStart(TqorRTFSyntax& highlighter);
  // Rescans the changes into the record of looks, pausing after pauseAfter,
  // and restyles what changed; false when the rescan declined.
  bool Rescan(TqorRTFSyntax& highlighter, std::size_t pauseAfter);
  // The end of the last line on screen.
  std::size_t VisibleEnd() const;
  // Goes on with the colours a paused rescan left, for about `bytes` bytes
  // (kNoPause: to the end).
  void ColourSlice(std::size_t bytes);
  std::size_t ExpectedRtfSize(std::size_t textSize) const;
  // Gives each format its style; false when the styles had to start over.
  bool MapStyles(const std::vector<RtfFormat>& formats, std::uint8_t* styleOf);
  std::uint8_t StyleFor(const RtfFormat& format);
  void DefineStyle(int style, const RtfFormat& format);
  // Keeps ShownFormatOf_ in step with the text as it is edited, and notes
  // which bytes changed since the last refresh.
  void TrackModification(const TTextModification& m);
  // Restyles the bytes from..to (and all where the styles start over).
  void Restyle(std::size_t from, std::size_t to, bool all);

  long LastAnchor_ = 0;
  long LastCaret_ = 0;
  int OperationDepth_ = 0;
  bool Dirty_ = false;
  bool InReport_ = false;
  // Modifications not yet raised as TextModified, and whether a change made
  // outside any operation has its operation queued.
  std::vector<TTextModification> Unraised_;
  bool LateOperationQueued_ = false;
  TTextEncoding Encoding_ = TTextEncoding::Windows1252;
  mutable bool CharacterIndex_ = false;  // the widget's UTF-16 index of line starts is held
  QMenu* PopupMenu_ = nullptr;
  // The change assistive programs are still to hear of: an insert, whose text
  // is read once it is in the document, or a removal, read before it was made.
  struct TAccessibleChange {
    bool Pending = false;
    bool Insert = false;
    int Position = 0;
    int Length = 0;
    int Offset = 0;
    QString Removed;
  };
  TAccessibleChange AccessibleChange_;

  // The rich text of the last load. Its FormatOf is the record of what the
  // editor's styles stand for: per byte of the content the index of its
  // format, kNoFormat where the byte was inserted since, kDefaultFormat where
  // the load did not reach. Kept in step with edits, it lets the next load
  // restyle only the bytes whose format differs.
  RtfDocument RichDoc_;
  // The record of looks, with its gap where the last change was.
  TGappedBytes Looks_{RichDoc_.FormatOf};
  bool ShownValid_ = false;
  // A paused rescan left the looks from Change_.From on for Finisher_, a
  // timer that runs when the event loop is idle.
  bool Unfinished_ = false;
  QTimer* Finisher_ = nullptr;
  // A load that finishes colours only: no change report.
  bool QuietLoad_ = false;
  // The last whole conversion's text and RTF sizes: the next document's RTF
  // takes about as many bytes per byte of text, so its stream gets the room at
  // once instead of growing by copying itself. An eighth more lets the RTF
  // come out a little longer without a copy into twice the room.
  std::size_t LastTextSize_ = 0;
  std::size_t LastRtfSize_ = 0;
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
