#include "editor_control.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

#include "code_page.h"
#include "editor_accessible.h"
#include "error_guard.h"
#include "font_metrics.h"
#include "text_file.h"
#include "text_lines.h"

TEditorControl::Operation::Operation(TEditorControl& editor) : Editor_(editor) {
  ++Editor_.OperationDepth_;
}

TEditorControl::Operation::~Operation() {
  // Still inside the operation: what the listeners change joins it.
  if (Editor_.OperationDepth_ == 1) Editor_.RaiseModifications();
  if (--Editor_.OperationDepth_ == 0) {
    if (Editor_.Dirty_) {
      Editor_.Dirty_ = false;
      Editor_.Report();
    }
    Editor_.NotifySelection();
  }
}

TEditorControl::TEditorControl(QWidget* parent) : QsciScintilla(parent) {
  setObjectName(QStringLiteral("Edit1"));
  TEditorAccessible::Install();
  ApplyEncoding();
  setEolMode(EolWindows);
  SendScintilla(SCI_SETPASTECONVERTENDINGS, 1);
  setMarginWidth(0, 0);
  setMarginWidth(1, 0);
  setMarginWidth(2, 0);
  setWrapMode(WrapNone);
  setTabWidth(8);

  QFont font(QStringLiteral("Courier New"), 10);
  font.setStyleHint(QFont::TypeWriter);
  if (!QFontDatabase::families().contains(font.family())) {
    font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
  }
  setFont(font);
  SendScintilla(SCI_STYLECLEARALL);
  // New highlighters name this font in their font table: what the editor shows.
  SetDefaultFont(fontmetrics::Describe(font));

  // A line is laid out as a whole to draw any part of it, again after each
  // change to it: a minified script's line of most of a megabyte at every key.
  // The widths of short runs of text are remembered, so a long line made of
  // tokens is mostly looked up rather than measured again; the layouts of the
  // lines in view are kept, so the view is not laid out again to be painted.
  SendScintilla(SCI_SETPOSITIONCACHE, kPositionCacheEntries);
  SendScintilla(SCI_SETLAYOUTCACHE, static_cast<unsigned long>(SC_CACHE_PAGE));

  // Scroll bars are always shown.
  SendScintilla(SCI_SETHSCROLLBAR, 1);
  SendScintilla(SCI_SETVSCROLLBAR, 1);
  SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 0);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  // Only the notices before a change (see the class comment). A notice is
  // sent when its type shares a bit with the mask, and the "performed by"
  // bits ride on every notice: the mask holds these two bits and no other.
  SendScintilla(SCI_SETMODEVENTMASK,
                static_cast<unsigned long>(SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE));
  connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
          [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
            OnModification(position, type, length);
          });
  Finisher_ = new QTimer(this);
  Finisher_->setSingleShot(true);
  Finisher_->setInterval(0);
  connect(Finisher_, &QTimer::timeout, this, Guard([this] { ColourSlice(kIdleColourSlice); }));
  connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int updated) {
    if (updated & SC_UPDATE_SELECTION) NotifySelection();
  });
}

void TEditorControl::OnModification(int position, int type, int length) {
  if (length <= 0 || (type & (SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE)) == 0) return;
  TTextModification m;
  m.Kind = (type & SC_MOD_BEFOREINSERT) != 0 ? TTextModification::TKind::Insert
                                             : TTextModification::TKind::Delete;
  m.Position = position;
  m.Length = length;
  m.Undo = (type & SC_PERFORMED_UNDO) != 0;
  m.Redo = (type & SC_PERFORMED_REDO) != 0;
  // The change before this one is made by now.
  TellAccessible();
  if (QAccessible::isActive()) {
    TAccessibleChange& a = AccessibleChange_;
    a.Pending = true;
    a.Insert = m.Kind == TTextModification::TKind::Insert;
    a.Position = position;
    a.Length = length;
    a.Offset = CharacterOffset(position);
    a.Removed = a.Insert ? QString() : Characters(position, position + length);
  }
  TrackModification(m);
  Unraised_.push_back(m);
  // A modification made while a report is handled raises no further report.
  if (OperationDepth_ > 0 || !InReport_) Dirty_ = true;
  if (OperationDepth_ > 0 || LateOperationQueued_) return;
  // Made outside any operation: the change is not done before this returns,
  // so its notices and report come from an operation run once control is back
  // in the event loop.
  LateOperationQueued_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        LateOperationQueued_ = false;
        Operation op(*this);
      },
      Qt::QueuedConnection);
}

void TEditorControl::TellAccessible() {
  if (!AccessibleChange_.Pending) return;
  TAccessibleChange a;
  std::swap(a, AccessibleChange_);
  if (a.Insert) {
    editor_accessible::Inserted(*this, a.Offset, Characters(a.Position, a.Position + a.Length));
  } else {
    editor_accessible::Removed(*this, a.Offset, a.Removed);
  }
}

void TEditorControl::RaiseModifications() {
  TellAccessible();
  while (!Unraised_.empty()) {
    std::vector<TTextModification> raised;
    raised.swap(Unraised_);
    for (const TTextModification& m : raised) emit TextModified(m);
  }
}

void TEditorControl::Report() {
  // A modification made while a report is handled raises no further report.
  if (InReport_) return;
  InReport_ = true;
  struct Reset {
    bool& Flag;
    ~Reset() { Flag = false; }
  } reset{InReport_};
  emit Changed();
}

void TEditorControl::NotifySelection() {
  const long anchor = SendScintilla(SCI_GETANCHOR);
  const long caret = SendScintilla(SCI_GETCURRENTPOS);
  if (anchor == LastAnchor_ && caret == LastCaret_) return;
  editor_accessible::Moved(*this, static_cast<int>(anchor), static_cast<int>(caret),
                           LastAnchor_ != LastCaret_);
  LastAnchor_ = anchor;
  LastCaret_ = caret;
  emit SelectionMoved();
}

void TEditorControl::ReplaceAll(std::string_view bytes) {
  // A new content: nothing of the last scan is known to hold.
  LineRecord_.Invalidate();
  SendScintilla(SCI_CLEARALL);
  SetEncoding(encoding::Detect(bytes));
  if (!bytes.empty()) {
    // Room for the text and a gap to type into, made once: the widget would
    // grow its buffers by copying them as the text arrives, and again at the
    // first key, which at 50 MB takes a good part of a second.
    const auto size = static_cast<unsigned long>(bytes.size());
    SendScintilla(SCI_ALLOCATE, size + size / 16 + 64 * 1024);
    SendScintilla(SCI_APPENDTEXT, size, bytes.data());
  }
}

void TEditorControl::PasteAtCaret() {
  if (!MayPaste(false)) return;
  Operation op(*this);
  QsciScintilla::paste();
}

void TEditorControl::AppendLine(const QByteArray& line) {
  // The new line goes behind the last line break; a document that does not end
  // with one gets it first. An empty document counts as ending with one.
  Operation op(*this);
  const QByteArray normalized = QByteArray::fromStdString(
      textlines::ToCrLf(std::string_view(line.constData(), static_cast<size_t>(line.size()))));
  const int length = Length();
  const char last = length > 0 ? CharacterPointer()[length - 1] : '\n';
  const QByteArray addition =
      (last == '\n' || last == '\r') ? normalized + "\r\n" : "\r\n" + normalized;
  SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(addition.size()), addition.constData());
}

void TEditorControl::ClearText() {
  Operation op(*this);
  LineRecord_.Invalidate();
  SendScintilla(SCI_CLEARALL);
  SetEncoding(TTextEncoding::Windows1252);
}

void TEditorControl::SetTextBytes(const QByteArray& text) {
  Operation op(*this);
  ReplaceAll(
      textlines::ToCrLf(std::string_view(text.constData(), static_cast<size_t>(text.size()))));
}

void TEditorControl::LoadFile(const QString& path) {
  const QByteArray bytes = textfile::ReadBytes(path);
  // A loaded file starts a new history: undo does not go back past the load,
  // so the load is not kept for undo either (the old text and the new, two
  // copies of a large document). The change report follows as ever.
  Operation op(*this);
  SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
  SetTextBytes(bytes);
  SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
  SendScintilla(SCI_EMPTYUNDOBUFFER);
}

void TEditorControl::SaveFile(const QString& path) { textfile::WriteUserFile(path, GetText()); }

void TEditorControl::SaveOwnFile(const QString& path) { textfile::WriteOwnFile(path, GetText()); }

QByteArray TEditorControl::GetText() const { return QByteArray(CharacterPointer(), Length()); }

const char* TEditorControl::CharacterPointer() const {
  return reinterpret_cast<const char*>(
      const_cast<TEditorControl*>(this)->SendScintilla(SCI_GETCHARACTERPOINTER));
}

int TEditorControl::Length() const { return static_cast<int>(SendScintilla(SCI_GETLENGTH)); }

int TEditorControl::CaretPosition() const {
  return static_cast<int>(SendScintilla(SCI_GETSELECTIONSTART));
}

void TEditorControl::SetCaretPosition(int position) {
  SendScintilla(SCI_SETEMPTYSELECTION, static_cast<unsigned long>(position < 0 ? 0 : position));
  if (OperationDepth_ == 0) NotifySelection();
}

int TEditorControl::LineStart(int line) const {
  if (line < 0 || line >= static_cast<int>(SendScintilla(SCI_GETLINECOUNT))) return -1;
  return static_cast<int>(SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line)));
}

int TEditorControl::CaretLine() const {
  const long end = SendScintilla(SCI_GETSELECTIONEND);
  return static_cast<int>(SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(end)));
}

int TEditorControl::LineCount() const {
  // The empty line after a final line break is not counted.
  const long lines = SendScintilla(SCI_GETLINECOUNT);
  const long lastStart = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(lines - 1));
  return static_cast<int>(lastStart == SendScintilla(SCI_GETLENGTH) ? lines - 1 : lines);
}

int TEditorControl::LastLine() const {
  return static_cast<int>(SendScintilla(SCI_GETLINECOUNT)) - 1;
}

void TEditorControl::ScrollCaretIntoView() { SendScintilla(SCI_SCROLLCARET); }

void TEditorControl::FocusEditor() { setFocus(Qt::OtherFocusReason); }

void TEditorControl::SetWordWrap(bool wrap) { setWrapMode(wrap ? WrapWord : WrapNone); }

void TEditorControl::cut() {
  Operation op(*this);
  QsciScintilla::cut();
}

void TEditorControl::paste() { PasteAtCaret(); }

void TEditorControl::undo() {
  Operation op(*this);
  QsciScintilla::undo();
}

void TEditorControl::redo() {
  Operation op(*this);
  QsciScintilla::redo();
}

void TEditorControl::clear() { ClearText(); }

void TEditorControl::keyPressEvent(QKeyEvent* e) {
  Operation op(*this);
  if (TypeText(e->text())) {
    e->accept();
    return;
  }
  QsciScintilla::keyPressEvent(e);
}

void TEditorControl::inputMethodEvent(QInputMethodEvent* e) {
  Operation op(*this);
  if (!e->commitString().isEmpty() && TypeText(e->commitString())) {
    // The composition goes on as the widget shows it; only the committed text was ours.
    QInputMethodEvent rest(e->preeditString(), e->attributes());
    QsciScintilla::inputMethodEvent(&rest);
    return;
  }
  QsciScintilla::inputMethodEvent(e);
}

void TEditorControl::dropEvent(QDropEvent* e) {
  QByteArray bytes;
  if (e->mimeData() != nullptr && !TakeInput(e->mimeData()->text(), &bytes)) {
    e->ignore();
    return;
  }
  Operation op(*this);
  QsciScintilla::dropEvent(e);
}

void TEditorControl::mousePressEvent(QMouseEvent* e) {
  Operation op(*this);
  QsciScintilla::mousePressEvent(e);
}

void TEditorControl::mouseMoveEvent(QMouseEvent* e) {
  // A drag of the selection that ends in another program may take the text away.
  Operation op(*this);
  QsciScintilla::mouseMoveEvent(e);
}

void TEditorControl::mouseReleaseEvent(QMouseEvent* e) {
  // A middle click pastes the X11 selection.
  if (e->button() == Qt::MiddleButton && !MayPaste(true)) return;
  Operation op(*this);
  QsciScintilla::mouseReleaseEvent(e);
}

void TEditorControl::contextMenuEvent(QContextMenuEvent* e) {
  if (PopupMenu_) {
    PopupMenu_->popup(e->globalPos());
  } else {
    QsciScintilla::contextMenuEvent(e);
  }
}

QByteArray TEditorControl::fromMimeData(const QMimeData* source, bool& rectangular) const {
  rectangular = false;
  // What cannot be stored was refused before the paste or the drop.
  QByteArray bytes;
  EncodeText(source->text(), &bytes);
  return bytes;
}

QMimeData* TEditorControl::toMimeData(const QByteArray& text, bool) const {
  auto* data = new QMimeData;
  data->setText(Encoding_ == TTextEncoding::Utf8 ? QString::fromUtf8(text)
                                                 : codepage::ToUnicode(text));
  return data;
}

bool TEditorControl::FindText(const std::string& needle, bool matchCase, bool wholeWord,
                              bool down) {
  TSearchOptions options;
  options.MatchCase = matchCase;
  options.WholeWord = wholeWord;
  options.Down = down;
  return FindText(needle, options);
}
