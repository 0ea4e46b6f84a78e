#include "html_typing.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QScopedValueRollback>
#include <typeinfo>
#include <vector>

#include "abbreviation_place.h"
#include "code_page.h"
#include "editor_control.h"
#include "emmet_engine.h"
#include "highlighter_factory.h"
#include "indentation.h"
#include "line_number_margin.h"
#include "main_form.h"
#include "pair_matching.h"
#include "paths.h"
#include "rtf_syntax.h"
#include "tag_closing.h"
#include "text_source.h"

namespace {

constexpr int kMatchIndicator = 8;
constexpr int kUnmatchedIndicator = 9;
// A line longer than this before the caret is read from its bytes alone:
// resuming the colouring's scanner at its start would cost too much.
constexpr std::size_t kHintLine = 64 * 1024;
// What Emmet sees of the line before the caret.
constexpr std::size_t kAbbreviationLine = 4096;

using Sci = QsciScintillaBase;

long Send(TEditorControl* e, unsigned int message, unsigned long w = 0, long l = 0) {
  return e->SendScintilla(message, w, l);
}

// The document's bytes and styles as the editor holds them, copied out in
// blocks without moving the editor's gap.
class TEditorSource : public TTextSource {
 public:
  explicit TEditorSource(TEditorControl* editor)
      : Editor_(editor), Length_(static_cast<std::size_t>(editor->Length())) {}

  std::size_t Length() const override { return Length_; }

  void Read(std::size_t from, std::size_t count, char* out) const override {
    Buffer_.resize(count + 1);
    Editor_->SendScintilla(Sci::SCI_GETTEXTRANGE, static_cast<long>(from),
                           static_cast<long>(from + count), Buffer_.data());
    std::copy_n(Buffer_.data(), count, out);
  }

  bool ReadStyles(std::size_t from, std::size_t count, std::uint8_t* out) const override {
    Buffer_.resize(2 * count + 2);
    Editor_->SendScintilla(Sci::SCI_GETSTYLEDTEXT, static_cast<long>(from),
                           static_cast<long>(from + count), Buffer_.data());
    for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<std::uint8_t>(Buffer_[2 * i + 1]);
    return true;
  }

 private:
  TEditorControl* Editor_;
  std::size_t Length_;
  mutable std::vector<char> Buffer_;
};

// How a syntax's documents hold markup, and where their brackets are code.
struct TSyntaxTraits {
  TMarkupFlavour Flavour;
  bool Scanned;  // the colouring's scanner knows the markup (HTML, XML)
  TBracketScope Brackets;
  bool Braces;  // "{" and "}" open and close blocks
};

TSyntaxTraits TraitsOf(const QString& syntax) {
  // The names as the syntax list's refresh compares them: exactly; any other
  // text is coloured as HTML.
  if (syntax == QLatin1String("XML")) {
    return {TMarkupFlavour::Xml, true, TBracketScope::ScriptParts, false};
  }
  if (syntax == QLatin1String("PHP") || syntax == QLatin1String("VBSCRIPT")) {
    return {TMarkupFlavour::Html, false, TBracketScope::Everywhere, syntax == QLatin1String("PHP")};
  }
  if (syntax == QLatin1String("JAVA SCRIPT")) {
    return {TMarkupFlavour::None, false, TBracketScope::Everywhere, true};
  }
  if (syntax == QLatin1String("SQL") || syntax == QLatin1String("DELPHI SCRIPT")) {
    return {TMarkupFlavour::None, false, TBracketScope::Everywhere, false};
  }
  return {TMarkupFlavour::Html, true, TBracketScope::ScriptParts, true};
}

// Emmet's bundle: in the program folder, else beside the executable (a
// program folder chosen by VEXA_PROGRAM_DIR may hold the user's files alone).
QString EmmetFile() {
  const QString name = QStringLiteral("emmet/emmet.es.js");
  const QString inProgramFolder = paths::ProgramDir() + name;
  if (QFileInfo::exists(inProgramFolder)) return inProgramFolder;
  const QString besideProgram = QCoreApplication::applicationDirPath() + "/" + name;
  return QFileInfo::exists(besideProgram) ? besideProgram : inProgramFolder;
}

QAction* Switch(QObject* parent, const char* name, const QString& caption) {
  auto* action = new QAction(caption, parent);
  action->setObjectName(QString::fromLatin1(name));
  action->setCheckable(true);
  return action;
}

}  // namespace

// The document as the decisions read it, for one decision.
struct THtmlTyping::TPlace {
  explicit TPlace(THtmlTyping& typing, bool scan = true)
      : Traits(TraitsOf(typing.Form_.SyntaxName())),
        Source(typing.Editor_),
        Text(Source),
        Markup(Text, Traits.Flavour),
        Caret(static_cast<std::size_t>(typing.Editor_->CaretPosition())) {
    if (scan) Scan(typing);
  }
  // The colouring's scanner at the caret.
  void Scan(THtmlTyping& typing) { Hint = Traits.Scanned ? typing.HintAt(Caret) : THint::None; }

  TSyntaxTraits Traits;
  TEditorSource Source;
  TTextReader Text;
  TMarkupReader Markup;
  std::size_t Caret;
  THint Hint = THint::None;
};

THtmlTyping::THtmlTyping(TMainForm& form, TEditorControl* editor, QObject* parent)
    : QObject(parent), Form_(form), Editor_(editor), Margin_(new TLineNumberMargin(editor)) {
  setObjectName(QStringLiteral("HtmlTyping"));
  Send(Editor_, Sci::SCI_INDICSETSTYLE, kMatchIndicator, Sci::INDIC_STRAIGHTBOX);
  Send(Editor_, Sci::SCI_INDICSETFORE, kMatchIndicator, 0x00C080);
  Send(Editor_, Sci::SCI_INDICSETALPHA, kMatchIndicator, 70);
  Send(Editor_, Sci::SCI_INDICSETUNDER, kMatchIndicator, 1);
  Send(Editor_, Sci::SCI_INDICSETSTYLE, kUnmatchedIndicator, Sci::INDIC_STRAIGHTBOX);
  Send(Editor_, Sci::SCI_INDICSETFORE, kUnmatchedIndicator, 0x2020E0);
  Send(Editor_, Sci::SCI_INDICSETALPHA, kUnmatchedIndicator, 90);
  Send(Editor_, Sci::SCI_INDICSETUNDER, kUnmatchedIndicator, 1);
  Send(Editor_, Sci::SCI_SETCARETLINEBACK, 0xFAF0E8);
  Send(Editor_, Sci::SCI_SETCARETLINEVISIBLEALWAYS, 1);

  // The pairs are marked once the key or the move is done with, so a key that
  // moves the caret and changes the text marks them once.
  connect(Editor_, &TEditorControl::SelectionMoved, this, &THtmlTyping::MarkPairsSoon);
  connect(Editor_, &TEditorControl::Changed, this, &THtmlTyping::MarkPairsSoon);
  // An end tag is typed over only while nothing else changes the document.
  connect(Editor_, &TEditorControl::Changed, this, [this] {
    if (!Applying_) TypeOver_.Stop();
  });
  Editor_->installEventFilter(this);

  ExpandAction_ = new QAction(QStringLiteral("E&xpand Abbreviation"), parent);
  ExpandAction_->setObjectName(QStringLiteral("expandabbreviation"));
  ExpandAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  MatchAction_ = new QAction(QStringLiteral("&Go to Matching Tag or Bracket"), parent);
  MatchAction_->setObjectName(QStringLiteral("gotomatch"));
  MatchAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
  connect(ExpandAction_, &QAction::triggered, this, [this] { ExpandAbbreviation(); });
  connect(MatchAction_, &QAction::triggered, this, &THtmlTyping::GoToMatch);

  LineNumbersAction_ = Switch(parent, "linenumbers", QStringLiteral("&Line Numbers"));
  CaretLineAction_ = Switch(parent, "caretline", QStringLiteral("Highlight &Current Line"));
  CloseTagsAction_ = Switch(parent, "closetags", QStringLiteral("Close &Tags"));
  CompleteAction_ = Switch(parent, "completeendtags", QStringLiteral("Complete &End Tags"));
  MatchPairsAction_ = Switch(parent, "matchpairs", QStringLiteral("&Match Tags and Brackets"));
  IndentAction_ = Switch(parent, "autoindent", QStringLiteral("Auto &Indent"));
  TabAction_ = Switch(parent, "tabexpands", QStringLiteral("Tab E&xpands Abbreviations"));
  const struct {
    QAction* Action;
    bool TEditingOptions::*Flag;
  } switches[] = {{LineNumbersAction_, &TEditingOptions::LineNumbers},
                  {CaretLineAction_, &TEditingOptions::CaretLine},
                  {CloseTagsAction_, &TEditingOptions::CloseTags},
                  {CompleteAction_, &TEditingOptions::CompleteEndTags},
                  {MatchPairsAction_, &TEditingOptions::MatchPairs},
                  {IndentAction_, &TEditingOptions::AutoIndent},
                  {TabAction_, &TEditingOptions::TabExpands}};
  for (const auto& s : switches) {
    connect(s.Action, &QAction::toggled, this, [this, flag = s.Flag](bool on) {
      TEditingOptions options = Options_;
      options.*flag = on;
      SetOptions(options);
    });
  }
  if (auto* window = qobject_cast<QWidget*>(parent)) {
    for (QAction* a : {ExpandAction_, MatchAction_}) {
      a->setShortcutContext(Qt::WindowShortcut);
      window->addAction(a);
    }
  }
  SetOptions(TEditingOptions());
}

THtmlTyping::~THtmlTyping() = default;

void THtmlTyping::AddToMenu(QMenu* menu) {
  menu->addSeparator();
  menu->addAction(ExpandAction_);
  menu->addAction(MatchAction_);
  QMenu* switches = menu->addMenu(QStringLiteral("T&yping Aids"));
  switches->setObjectName(QStringLiteral("typingaids"));
  for (QAction* a : {LineNumbersAction_, CaretLineAction_, CloseTagsAction_, CompleteAction_,
                     MatchPairsAction_, IndentAction_, TabAction_}) {
    switches->addAction(a);
  }
}

void THtmlTyping::SetOptions(const TEditingOptions& options) {
  Options_ = options;
  const QSignalBlocker b1(LineNumbersAction_), b2(CaretLineAction_), b3(CloseTagsAction_),
      b4(CompleteAction_), b5(MatchPairsAction_), b6(IndentAction_), b7(TabAction_);
  LineNumbersAction_->setChecked(options.LineNumbers);
  CaretLineAction_->setChecked(options.CaretLine);
  CloseTagsAction_->setChecked(options.CloseTags);
  CompleteAction_->setChecked(options.CompleteEndTags);
  MatchPairsAction_->setChecked(options.MatchPairs);
  IndentAction_->setChecked(options.AutoIndent);
  TabAction_->setChecked(options.TabExpands);
  if (Margin_->Shown() != options.LineNumbers) Margin_->SetShown(options.LineNumbers);
  Send(Editor_, Sci::SCI_SETCARETLINEVISIBLE, options.CaretLine ? 1 : 0);
  MarkPairsSoon();
}

THint THtmlTyping::HintAt(std::size_t pos) {
  TLineRecord& record = Editor_->LineRecord();
  const std::string syntax = codepage::FromUnicode(Form_.SyntaxName());
  if (!Scanner_ || syntax != ScannerSyntax_) {
    Scanner_ = CreateHighlighter(syntax).Highlighter;
    ScannerSyntax_ = syntax;
  }
  // While the colours of a large change are still being finished, line
  // states past the view may be those of the text before it (or none yet):
  // the bytes alone decide until then.
  if (!record.Valid() || record.ScannerClass() == nullptr ||
      *record.ScannerClass() != typeid(*Scanner_) || Editor_->StylesPending()) {
    return THint::None;
  }
  const auto line = static_cast<std::size_t>(
      Send(Editor_, Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(pos)));
  const auto start = static_cast<std::size_t>(
      Send(Editor_, Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line)));
  if (line >= record.Lines().size() || record.Lines()[line] == kUnscannedLine ||
      pos - start > kHintLine) {
    return THint::None;
  }
  std::string prefix(pos - start + 1, '\0');
  Editor_->SendScintilla(Sci::SCI_GETTEXTRANGE, static_cast<long>(start), static_cast<long>(pos),
                         prefix.data());
  prefix.pop_back();
  return ScannerHint(*Scanner_, LineState(record.Lines()[line]), prefix);
}

std::string THtmlTyping::Step(TMarkupReader& markup) { return GuessIndentStep(markup.Text()); }

bool THtmlTyping::eventFilter(QObject* watched, QEvent* event) {
  if (watched != Editor_ || event->type() != QEvent::KeyPress) {
    return QObject::eventFilter(watched, event);
  }
  const auto* key = static_cast<QKeyEvent*>(event);
  const int code = key->key();
  // A modifier pressed on its own (the Shift before a ">") is no key of its own.
  switch (code) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
      return false;
    default:
      break;
  }
  if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
    TypeOver_.Stop();
    return false;
  }
  // Only a plain key at a plain caret: a selection, several carets or
  // overtyping are the editor's own.
  if (Editor_->isReadOnly() || Send(Editor_, Sci::SCI_GETSELECTIONS) != 1 ||
      Send(Editor_, Sci::SCI_GETSELECTIONEMPTY) == 0 || Send(Editor_, Sci::SCI_GETOVERTYPE) != 0) {
    return false;
  }
  const QString text = key->text();
  if (TypeOver_.Active()) {
    if (text.size() == 1 && text[0].unicode() > 32 && text[0].unicode() < 127 &&
        TypeOver(static_cast<char>(text[0].unicode()))) {
      return true;
    }
    TypeOver_.Stop();
  }
  if ((code == Qt::Key_Return || code == Qt::Key_Enter) && Options_.AutoIndent) {
    return TypeEnter();
  }
  if (code == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier) && Options_.TabExpands) {
    return ExpandAbbreviation(true);
  }
  if (text == QLatin1String(">") && (Options_.CloseTags || Options_.AutoIndent)) {
    return TypeGreaterThan();
  }
  if (text == QLatin1String("/") && Options_.CompleteEndTags) return TypeSlash();
  if (text == QLatin1String("}") && Options_.AutoIndent) return TypeClosingBrace();
  return false;
}

void THtmlTyping::Apply(const TEdit& edit) {
  const QScopedValueRollback<bool> applying(Applying_, true);
  {
    // The typed key and what it adds: one undo step, one change report.
    TEditorControl::Operation op(*Editor_);
    Send(Editor_, Sci::SCI_BEGINUNDOACTION);
    Send(Editor_, Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(edit.From),
         static_cast<long>(edit.To));
    Editor_->SendScintilla(Sci::SCI_REPLACETARGET, static_cast<uintptr_t>(edit.Text.size()),
                           edit.Text.c_str());
    Editor_->SetCaretPosition(static_cast<int>(edit.From + edit.Caret));
    Send(Editor_, Sci::SCI_CHOOSECARETX);
    Send(Editor_, Sci::SCI_ENDUNDOACTION);
  }
  Editor_->ScrollCaretIntoView();
}

bool THtmlTyping::TypeGreaterThan() {
  TPlace place(*this);
  if (place.Traits.Flavour == TMarkupFlavour::None) return false;
  const std::size_t pos = place.Caret;
  TEdit edit;
  edit.From = edit.To = pos;
  if (Options_.AutoIndent) {
    // The end of an end tag that starts its line: the line goes back.
    const TCaretContext context = ContextAt(place.Markup, pos, place.Hint);
    const std::size_t lineStart = LineStartOf(place.Text, pos);
    if (context.InTag && context.Tag.Kind == TItemKind::EndTag &&
        OnlyBlanks(place.Text, lineStart, context.Tag.Start)) {
      const std::string indent = ClosingIndent(place.Markup, lineStart, context.Tag.Start,
                                               place.Markup.Name(context.Tag), Step(place.Markup));
      if (indent != place.Text.Copy(lineStart, context.Tag.Start)) {
        edit.From = lineStart;
        edit.Text = indent + place.Text.Copy(context.Tag.Start, pos);
      }
    }
  }
  const std::string closing =
      Options_.CloseTags ? ClosingTagFor(place.Markup, pos, place.Hint) : std::string();
  if (closing.empty() && edit.From == pos) return false;
  edit.Text += '>';
  edit.Caret = edit.Text.size();
  edit.Text += closing;
  Apply(edit);
  return true;
}

bool THtmlTyping::TypeSlash() {
  TPlace place(*this);
  const std::size_t pos = place.Caret;
  const TEndTag tag = EndTagAt(place.Markup, pos, place.Hint);
  if (tag.Name.empty()) return false;
  TEdit edit;
  edit.From = edit.To = pos;
  if (tag.Existing != kNoPosition) {
    // The end tag stands after the caret already: the one typed is that one.
    // The typed "<" goes, the caret steps over the tag's "</", and the rest
    // of it is typed over.
    std::string text = place.Text.Copy(tag.Existing, tag.Existing + 2 + tag.Name.size());
    if (place.Text.At(tag.Existing + text.size()) == '>') text += '>';
    edit.From = pos - 1;
    edit.Caret = tag.Existing + 2 - edit.From - 1;
    Apply(edit);
    TypeOver_.Start(tag.Existing - 1, text, 2, place.Text.Length() - 1);
    return true;
  }
  if (Options_.AutoIndent) {
    const std::size_t lineStart = LineStartOf(place.Text, pos);
    if (OnlyBlanks(place.Text, lineStart, pos - 1)) {
      edit.From = lineStart;
      edit.Text =
          ClosingIndent(place.Markup, lineStart, pos - 1, tag.Name, Step(place.Markup)) + "<";
    }
  }
  edit.Text += "/" + tag.Name + ">";
  edit.Caret = edit.Text.size();
  Apply(edit);
  return true;
}

bool THtmlTyping::TypeOver(char c) {
  TPlace place(*this);
  switch (TypeOver_.Key(c, place.Caret, place.Text)) {
    case TTypeOver::TStep::Over:
      Editor_->SetCaretPosition(static_cast<int>(place.Caret + 1));
      Send(Editor_, Sci::SCI_CHOOSECARETX);
      return true;
    case TTypeOver::TStep::Diverge: {
      // An end tag of the user's own, in front of the one that stood there.
      TEdit edit;
      edit.From = edit.To = TypeOver_.TagStart(place.Text.Length());
      edit.Text = TypeOver_.Diverging(c);
      edit.Caret = edit.Text.size();
      TypeOver_.Stop();
      Apply(edit);
      return true;
    }
    default:
      return false;
  }
}

bool THtmlTyping::TypeClosingBrace() {
  TPlace place(*this);
  if (!place.Traits.Braces) return false;
  const std::size_t pos = place.Caret;
  const std::size_t lineStart = LineStartOf(place.Text, pos);
  if (pos == lineStart || !OnlyBlanks(place.Text, lineStart, pos)) return false;
  const std::string indent = ClosingIndent(place.Markup, lineStart, pos, "", Step(place.Markup));
  if (indent == place.Text.Copy(lineStart, pos)) return false;
  TEdit edit;
  edit.From = lineStart;
  edit.To = pos;
  edit.Text = indent + "}";
  edit.Caret = edit.Text.size();
  Apply(edit);
  return true;
}

bool THtmlTyping::TypeEnter() {
  TPlace place(*this);
  Apply(EnterAt(place.Markup, place.Caret, place.Hint, Step(place.Markup), place.Traits.Braces));
  return true;
}

bool THtmlTyping::ExpandAbbreviation(bool quiet) {
  TPlace place(*this);
  const std::size_t pos = place.Caret;
  if (quiet && !AbbreviationMayEndAt(place.Text, pos)) return false;
  const TAbbreviationPlace where = AbbreviationPlaceAt(place.Markup, pos, place.Hint);
  if (where == TAbbreviationPlace::None) {
    if (!quiet) {
      Form_.ShowStatusNote(
          QStringLiteral("Abbreviations expand in a page's text and in its style sheets"));
    }
    return false;
  }
  const std::size_t lineStart = LineStartOf(place.Text, pos);
  const std::size_t from =
      pos - lineStart > kAbbreviationLine ? pos - kAbbreviationLine : lineStart;
  const bool utf8 = Editor_->Encoding() == TTextEncoding::Utf8;
  const auto decode = [utf8](const std::string& bytes) {
    const QByteArray b = QByteArray::fromStdString(bytes);
    return utf8 ? QString::fromUtf8(b) : codepage::ToUnicode(b);
  };
  TEmmet::TRequest request;
  request.Line = decode(place.Text.Copy(from, pos));
  request.Stylesheet = where == TAbbreviationPlace::Stylesheet;
  request.Xml = place.Traits.Flavour == TMarkupFlavour::Xml;
  request.Indent = decode(Step(place.Markup));
  std::size_t blanks = lineStart;
  while (blanks < pos && (place.Text.At(blanks) == ' ' || place.Text.At(blanks) == '\t')) ++blanks;
  request.BaseIndent = decode(place.Text.Copy(lineStart, blanks));
  // The skeleton declares the encoding the page is kept in.
  request.Charset = utf8 ? QStringLiteral("UTF-8") : QStringLiteral("windows-1252");
  if (!Emmet_) Emmet_ = std::make_unique<TEmmet>(EmmetFile());
  const TEmmet::TResult result = Emmet_->Expand(request);
  if (!result.Ok) {
    if (!quiet) Form_.ShowStatusNote(result.Error);
    return false;
  }
  QByteArray head;
  QByteArray text;
  QByteArray beforeCaret;
  QString expansion = result.Text;
  expansion.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  const int caret =
      static_cast<int>(result.Text.left(result.Caret).count(QLatin1Char('\n'))) + result.Caret;
  if (!Editor_->EncodeText(request.Line.left(result.Start), &head) ||
      !Editor_->EncodeText(expansion, &text) ||
      !Editor_->EncodeText(expansion.left(caret), &beforeCaret)) {
    Form_.ShowStatusNote(QStringLiteral("The expansion holds characters this page cannot keep"));
    return false;
  }
  TEdit edit;
  edit.From = from + static_cast<std::size_t>(head.size());
  edit.To = pos;
  edit.Text = text.toStdString();
  edit.Caret = static_cast<std::size_t>(beforeCaret.size());
  Apply(edit);
  return true;
}

void THtmlTyping::GoToMatch() {
  TPlace place(*this);
  const TPairMarks marks = PairsAt(place.Markup, place.Caret, place.Hint, place.Traits.Brackets);
  if (!marks.Target) {
    Form_.ShowStatusNote(QStringLiteral("No matching tag or bracket at the caret"));
    return;
  }
  Editor_->SetCaretPosition(static_cast<int>(*marks.Target));
  Send(Editor_, Sci::SCI_CHOOSECARETX);
  Editor_->ScrollCaretIntoView();
}

std::vector<TRange> THtmlTyping::Marks(int indicator) const {
  // The indicator's runs; there are a few at most.
  std::vector<TRange> runs;
  const long length = Editor_->Length();
  for (long pos = 0; pos < length;) {
    const long end =
        Send(Editor_, Sci::SCI_INDICATOREND, static_cast<unsigned long>(indicator), pos);
    if (Send(Editor_, Sci::SCI_INDICATORVALUEAT, static_cast<unsigned long>(indicator), pos) != 0) {
      runs.push_back({static_cast<std::size_t>(pos), static_cast<std::size_t>(end)});
    }
    if (end <= pos) break;
    pos = end;
  }
  return runs;
}

void THtmlTyping::ShowMarks(const std::vector<TRange>& matched, const std::vector<TRange>& lone) {
  // Marks already where they belong (they move with the text) are left as
  // they are: nothing is drawn again for them.
  const std::pair<int, const std::vector<TRange>*> wanted[] = {{kMatchIndicator, &matched},
                                                               {kUnmatchedIndicator, &lone}};
  for (const auto& [indicator, ranges] : wanted) {
    if (Marks(indicator) == *ranges) continue;
    Send(Editor_, Sci::SCI_SETINDICATORCURRENT, static_cast<unsigned long>(indicator));
    Send(Editor_, Sci::SCI_INDICATORCLEARRANGE, 0, Editor_->Length());
    for (const TRange& range : *ranges) {
      Send(Editor_, Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(range.From),
           static_cast<long>(range.To - range.From));
    }
  }
}

void THtmlTyping::MarkPairsSoon() {
  if (MarkPending_) return;
  MarkPending_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        MarkPending_ = false;
        MarkPairs();
      },
      Qt::QueuedConnection);
}

void THtmlTyping::MarkPairs() {
  if (!Options_.MatchPairs) return ShowMarks({}, {});
  TPlace place(*this, false);
  if (!PairMayBeAt(place.Text, place.Caret)) return ShowMarks({}, {});
  place.Scan(*this);
  const TPairMarks marks = PairsAt(place.Markup, place.Caret, place.Hint, place.Traits.Brackets,
                                   kScanLimit, kMarkRegionLimit);
  std::vector<TRange> lone;
  if (marks.Unmatched) lone.push_back(*marks.Unmatched);
  ShowMarks(marks.Matched, lone);
}
