// The highlight refresh and the rich-text load beneath it: typing recolours the
// whole document and keeps the caret, undo still works, choosing a syntax,
// unknown syntax names, and a document holding a NUL byte.
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>

#include "editor_control.h"
#include "gui_test_support.h"
#include "highlighter_factory.h"
#include "main_window.h"
#include "rtf_reader.h"
#include "window_controls.h"

namespace {

using Sci = QsciScintillaBase;

struct Look {
  long Fore = 0;
  bool Bold = false;
  bool Italic = false;
  bool operator==(const Look& o) const {
    return Fore == o.Fore && Bold == o.Bold && Italic == o.Italic;
  }
};

// Style numbers above 127 come back sign-extended.
long StyleAt(TEditorControl& e, int pos) {
  return e.SendScintilla(Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(pos)) & 0xFF;
}

Look LookAt(TEditorControl& e, int pos) {
  const auto style = static_cast<unsigned long>(StyleAt(e, pos));
  return {e.SendScintilla(Sci::SCI_STYLEGETFORE, style),
          e.SendScintilla(Sci::SCI_STYLEGETBOLD, style) != 0,
          e.SendScintilla(Sci::SCI_STYLEGETITALIC, style) != 0};
}

long DefaultFore(TEditorControl& e) {
  return e.SendScintilla(Sci::SCI_STYLEGETFORE, static_cast<unsigned long>(Sci::STYLE_DEFAULT));
}

long Bgr(int r, int g, int b) { return r | (g << 8) | (b << 16); }

// The first byte whose look differs from what the syntax's highlighter asks
// for (read from its RTF), or an empty string when every byte up to `length`
// (all by default) matches. The colours a refresh left for idle time are
// finished first, unless the test looks at what it shows before that.
QString ColouringDifference(TEditorControl& e, const std::string& syntax, int length = -1,
                            bool settle = true) {
  if (settle) e.SettleStyles();
  const QByteArray text = e.GetText();
  auto writer = CreateHighlighter(syntax).Highlighter;
  writer->SetText(text.constData());
  const RtfDocument doc = ParseRtf(writer->ConvertToRtfString());
  if (length < 0) length = static_cast<int>(text.size());
  if (doc.Text.size() < static_cast<std::size_t>(length) ||
      doc.Text.compare(0, static_cast<std::size_t>(length), text.constData(),
                       static_cast<std::size_t>(length)) != 0) {
    return QStringLiteral("the highlighter's text differs from the editor's");
  }
  for (int i = 0; i < length; ++i) {
    const RtfFormat& f = doc.Formats[doc.FormatOf[static_cast<std::size_t>(i)]];
    const Look want{f.HasColor ? Bgr(f.Red, f.Green, f.Blue) : DefaultFore(e), f.Bold, f.Italic};
    const Look got = LookAt(e, i);
    if (!(got == want)) {
      return QStringLiteral("byte %1 ('%2'): colour %3 bold %4 italic %5, expected %6 %7 %8")
          .arg(i)
          .arg(QChar(text[i]))
          .arg(got.Fore, 6, 16, QChar('0'))
          .arg(got.Bold)
          .arg(got.Italic)
          .arg(want.Fore, 6, 16, QChar('0'))
          .arg(want.Bold)
          .arg(want.Italic);
    }
  }
  return QString();
}

const std::string kRtfHead =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier "
    "New;}}\r\n";

// A document whose bytes show `count` different colours, starting at `first`.
std::string ManyColours(int count, int first) {
  std::string table = "{\\colortbl\\red0\\green0\\blue0;";
  std::string body;
  for (int i = 0; i < count; ++i) {
    const int c = first + i;
    table += "\\red" + std::to_string(c % 256) + "\\green" + std::to_string(c / 256) + "\\blue7;";
    body += "\\cf" + std::to_string(i + 1) + " x";
  }
  return kRtfHead + table + "}\r\n\\deflang1033\\pard\\plain\\f0\\fs20\\f0 " + body + "\\par }";
}

}  // namespace

class TestRefresh : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    env = std::make_unique<TestEnvironment>();
    env->CreateForms();
  }
  void cleanup() { env.reset(); }

  void loadRichTextSetsTextAndLooksThenOnlyRestyles() {
    TEditorControl e;
    e.show();
    QSignalSpy reports(&e, &TEditorControl::Changed);
    const std::string table =
        "{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}\r\n"
        "\\deflang1033\\pard\\plain\\f0\\fs20\\f0 ";
    // Index 9 has no table entry (the Pascal assembler blocks write it).
    e.LoadRichText(kRtfHead + table +
                   "\\cf1 red\\cf2 gr\r\neen\\par \\cf9 nine\\cf1 \\b bold\\b0 \\i it\\i0 "
                   "\\\\\\{\\}\xE9\\par }");
    QCOMPARE(e.GetText(), QByteArray("redgreen\r\nnineboldit\\{}\xE9"));
    QCOMPARE(reports.count(), 1);
    QCOMPARE(LookAt(e, 0), (Look{Bgr(255, 0, 0), false, false}));
    QCOMPARE(LookAt(e, 3), (Look{Bgr(0, 128, 0), false, false}));
    QCOMPARE(LookAt(e, 10), (Look{DefaultFore(e), false, false}));
    QCOMPARE(LookAt(e, 14), (Look{Bgr(255, 0, 0), true, false}));
    QCOMPARE(LookAt(e, 18), (Look{Bgr(255, 0, 0), false, true}));

    // A load whose text differs replaces only what differs.
    e.SetTextBytes("keep OLD middle keep");
    e.LoadRichText(kRtfHead + table + "\\cf1 keep new middle keep\\par }");
    QCOMPARE(e.GetText(), QByteArray("keep new middle keep"));
    QCOMPARE(LookAt(e, 19), (Look{Bgr(255, 0, 0), false, false}));
    // Bytes put in before text whose colour stays get that colour too, though
    // each byte's format index is what it was at its place before.
    e.LoadRichText(kRtfHead + table + "\\cf1 abcd\\par }");
    e.LoadRichText(kRtfHead + table + "\\cf1 X\\cf1 abcd\\par }");
    QCOMPARE(e.GetText(), QByteArray("Xabcd"));
    for (int i = 0; i < 5; ++i) QCOMPARE(LookAt(e, i), (Look{Bgr(255, 0, 0), false, false}));

    // Same text, new colours: the edit before the load can still be undone,
    // and the selection stays.
    e.SetTextBytes("abc\r\ndef");
    e.SetCaretPosition(0);
    QTest::keyClick(&e, Qt::Key_Q);
    QCOMPARE(e.GetText(), QByteArray("qabc\r\ndef"));
    e.SendScintilla(Sci::SCI_SETSEL, 2UL, 6L);
    reports.clear();
    e.LoadRichText(kRtfHead + table + "\\cf2 qabc\\par def\\par }");
    QCOMPARE(e.GetText(), QByteArray("qabc\r\ndef"));
    QCOMPARE(reports.count(), 1);
    QCOMPARE(e.SendScintilla(Sci::SCI_GETANCHOR), 2L);
    QCOMPARE(e.SendScintilla(Sci::SCI_GETCURRENTPOS), 6L);
    QCOMPARE(LookAt(e, 7), (Look{Bgr(0, 128, 0), false, false}));
    // Styles keep their numbers from load to load: nothing is redefined. A
    // load of the first bytes only leaves the rest as it is, uncoloured.
    const long greenStyle = StyleAt(e, 1);
    e.LoadRichText(kRtfHead + table + "\\cf2 qabc\\par \\par }", 6);
    QCOMPARE(e.GetText(), QByteArray("qabc\r\ndef"));
    QCOMPARE(StyleAt(e, 1), greenStyle);
    QCOMPARE(StyleAt(e, 7), 0L);
    e.undo();
    QCOMPARE(e.GetText(), QByteArray("abc\r\ndef"));
  }

  void moreLooksThanStylesOverManyLoads() {
    // Two documents of 150 colours each need more styles than the editor has:
    // the second load must not show colours left over from the first.
    TEditorControl e;
    for (int first : {1000, 5000, 1000}) {
      e.LoadRichText(ManyColours(150, first));
      QCOMPARE(e.Length(), 150);
      for (int i = 0; i < 150; ++i) {
        const int c = first + i;
        QCOMPARE(LookAt(e, i).Fore, Bgr(c % 256, c / 256, 7));
      }
    }
  }

  void typingRecoloursTheWholeDocumentAndKeepsTheCaret() {
    TForm1& f = env->Main();
    Controls(f).Edit1->SetTextBytes("<p class=\"a\">x &amp; y</p>\r\n<b>bold</b>\r\nplain text");
    Controls(f).Edit1->SetCaretPosition(Controls(f).Edit1->LineStart(1) + 3);
    f.SetModifiedFlag(QString());
    Controls(f).Check1->setChecked(false);
    QSignalSpy reports(Controls(f).Edit1, &TEditorControl::Changed);
    QTest::keyClick(Controls(f).Edit1, Qt::Key_Z);
    QCOMPARE(reports.count(), 1);  // the refresh inside the report raises none
    QCOMPARE(Controls(f).Edit1->GetText(),
             QByteArray("<p class=\"a\">x &amp; y</p>\r\n<b>zbold</b>\r\nplain text"));
    QCOMPARE(Controls(f).Edit1->CaretPosition(), Controls(f).Edit1->LineStart(1) + 4);
    QCOMPARE(Controls(f).lineedit->text(), QStringLiteral("1"));
    QCOMPARE(f.ModifiedFlag(), QStringLiteral("1"));
    QVERIFY(Controls(f).Timer1->isActive());
    QVERIFY(Controls(f).Check1->isChecked());
    QCOMPARE(f.focusWidget(), Controls(f).Edit1);
    QCOMPARE(ColouringDifference(*Controls(f).Edit1, "HTML"), QString());
    QVERIFY(!(LookAt(*Controls(f).Edit1, 1) ==
              LookAt(*Controls(f).Edit1, Controls(f).Edit1->Length() - 1)));

    // One keystroke can change the colour of everything after it.
    Controls(f).Edit1->SetCaretPosition(0);
    QTest::keyClicks(Controls(f).Edit1, "<!--");
    QCOMPARE(Controls(f).Edit1->CaretPosition(), 4);
    QCOMPARE(ColouringDifference(*Controls(f).Edit1, "HTML"), QString());
    QCOMPARE(LookAt(*Controls(f).Edit1, Controls(f).Edit1->Length() - 1),
             LookAt(*Controls(f).Edit1, 0));
  }

  // Every key typed into the main window, in every syntax, leaves the looks of
  // a whole conversion of the text; most keys rescan only a line or two.
  void everyKeyColoursAsTheWholeConversion() {
    TForm1& f = env->Main();
    const struct {
      const char* Syntax;
      const char* Text;
      const char* Typed;
    } kCases[] = {
        {"HTML", "<p class=\"a\">x &amp; y</p>\r\n<% code %>\r\n<b>b</b>\r\ntext", "<!--a-->\"<%"},
        {"PHP", "<?php\r\n$a = 'x'; /* c */\r\necho \"y\";\r\n?>", "/*'\"*/"},
        {"JAVA SCRIPT", "var a = 1;\r\n// note\r\nif (a) { b(); }", "/*x*/"},
        {"DELPHI SCRIPT", "begin\r\n  x := 1; { c }\r\nend.", "asm (* end"},
        {"SQL", "SELECT a\r\nFROM b -- c\r\nWHERE d = 'e';", "/*'*/"},
        {"XML", "<?xml version=\"1.0\"?>\r\n<a b=\"c\">&amp;</a>\r\n<!-- d -->", "<![CDATA[-->"},
        {"VBSCRIPT", "Dim a\r\nIf a Then ' c\r\nEnd If", "\"'#"},
    };
    for (const auto& c : kCases) {
      Controls(f).synlist->setCurrentIndex(Controls(f).synlist->findText(c.Syntax));
      Controls(f).Edit1->SetTextBytes(QByteArray(c.Text).repeated(20));
      emit Controls(f).synlist->activated(Controls(f).synlist->currentIndex());
      TEditorControl& e = *Controls(f).Edit1;
      int incremental = 0;
      int keys = 0;
      const auto check = [&](const char* what) {
        ++keys;
        incremental += e.LastRescan().Done ? 1 : 0;
        const QString difference = ColouringDifference(e, c.Syntax);
        if (!difference.isEmpty())
          QFAIL(qPrintable(QString("%1, %2: %3").arg(c.Syntax, what, difference)));
      };
      for (int at : {3, e.Length() / 2, e.Length() - 2}) {
        e.SetCaretPosition(at);
        for (const char* key = c.Typed; *key != 0; ++key) {
          QTest::keyClick(&e, *key);
          check("typing");
        }
        QTest::keyClick(&e, Qt::Key_Return);
        check("Enter");
        QTest::keyClick(&e, Qt::Key_Backspace);
        check("Backspace");
        QTest::keyClick(&e, Qt::Key_Delete);
        check("Delete");
      }
      QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier);
      check("undo");
      QVERIFY2(incremental > keys / 2, c.Syntax);
    }
  }

  // A comment opened near the top of a long page: the refresh colours what
  // the view shows at once, and the rest while the event loop is idle, with
  // no further change report; SettleStyles finishes at once what a key left.
  void anOpenedCommentColoursTheViewFirst() {
    TForm1& f = env->Main();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    TEditorControl& e = *Controls(f).Edit1;
    QByteArray text;
    for (int i = 0; i < 12000; ++i)
      text += "<td class=\"c\">cell " + QByteArray::number(i) + "</td>\r\n";
    e.SetTextBytes(text);
    f.synlistChange();
    // Chosen or loaded, a long page shows its view coloured, the rest follows.
    QVERIFY(e.StylesPending());
    QCOMPARE(ColouringDifference(e, "HTML", e.LineStart(e.LineCount() / 8), false), QString());
    QTRY_VERIFY_WITH_TIMEOUT(!e.StylesPending(), 20000);
    QCOMPARE(ColouringDifference(e, "HTML", -1, false), QString());
    e.SetCaretPosition(e.LineStart(2));
    QTest::keyClicks(&e, "<!-");
    QVERIFY(!e.StylesPending());  // nothing to finish before the comment opens
    QTest::keyClick(&e, '-');
    QVERIFY(e.StylesPending());
    const int shownEnd = e.LineStart(e.LineCount() / 8);
    QCOMPARE(ColouringDifference(e, "HTML", shownEnd, false), QString());
    QVERIFY(ColouringDifference(e, "HTML", -1, false) != QString());
    f.SetModifiedFlag(QString());
    QSignalSpy reports(&e, &TEditorControl::Changed);
    QTRY_VERIFY_WITH_TIMEOUT(!e.StylesPending(), 20000);
    QCOMPARE(reports.count(), 0);
    QCOMPARE(f.ModifiedFlag(), QString());
    QCOMPARE(ColouringDifference(e, "HTML", -1, false), QString());

    // Keys while colours are pending: near the end the refresh has to reach
    // there first; at the top it leaves the rest again.
    e.SetCaretPosition(e.LineStart(1));
    QTest::keyClicks(&e, "<%");
    QVERIFY(e.StylesPending());
    e.SetCaretPosition(e.LineStart(e.LineCount() - 2));
    QTest::keyClick(&e, 'x');
    e.SetCaretPosition(e.LineStart(3));
    QTest::keyClick(&e, '%');
    QTest::keyClick(&e, '>');
    e.SettleStyles();
    QVERIFY(!e.StylesPending());
    QCOMPARE(ColouringDifference(e, "HTML", -1, false), QString());
    f.hide();
  }

  // A syntax chosen again keeps the colours it shows (a whole conversion
  // would give the same ones) and still reports the change, as choosing it
  // always did; another one colours the document anew from the colours of
  // the one before.
  void choosingTheShownSyntaxAgainKeepsItsColours() {
    TForm1& f = env->Main();
    TEditorControl& e = *Controls(f).Edit1;
    e.SetTextBytes(
        QByteArray("<?php $a = 'x'; /* c */ ?>\r\n<p class=\"a\">b</p>\r\n").repeated(30));
    for (const char* syntax : {"PHP", "PHP", "HTML", "XML", "XML", "HTML", "HTML"}) {
      f.SetModifiedFlag(QString());
      QSignalSpy reports(&e, &TEditorControl::Changed);
      Controls(f).synlist->setCurrentIndex(Controls(f).synlist->findText(syntax));
      emit Controls(f).synlist->activated(Controls(f).synlist->currentIndex());
      QCOMPARE(reports.count(), 1);
      QCOMPARE(f.ModifiedFlag(), QStringLiteral("1"));
      QCOMPARE(ColouringDifference(e, syntax), QString());
    }
  }

  // The code page's characters the editor draws itself leave nothing of the
  // widget's own cell beside them, in the main window's colours and fonts.
  void paintedCharactersLeaveNoTrace() {
    TForm1& f = env->Main();
    TEditorControl& e = *Controls(f).Edit1;
    f.SetSyntaxText(QStringLiteral("HTML"));
    e.SetTextBytes("<p>\x80 \x93q\x94 </p>");
    f.synlistChange();
    e.SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 0UL);
    const QImage shot = e.viewport()->grab().toImage();
    if (!qEnvironmentVariableIsEmpty("VEXA_SCREENSHOT_DIR")) {
      shot.save(qEnvironmentVariable("VEXA_SCREENSHOT_DIR") + "/painted.png");
    }
    // On the caret's line, the painted cells have the line's colour.
    const auto cellX = [&e](int pos) {
      return static_cast<int>(
          e.SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, static_cast<long>(pos)));
    };
    QCOMPARE(shot.pixel(cellX(3), 1), shot.pixel(cellX(4) + 1, 1));
    for (const int blank : {4, 8}) {
      const int left = static_cast<int>(e.SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION,
                                                        0UL, static_cast<long>(blank)));
      const int right = static_cast<int>(e.SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION,
                                                         0UL, static_cast<long>(blank + 1)));
      const int height = static_cast<int>(e.SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0UL));
      for (int x = left; x < right; ++x) {
        for (int y = 0; y < height; ++y) {
          QVERIFY2(qGray(shot.pixel(x, y)) > 128,
                   qPrintable(
                       QStringLiteral("ink at %1,%2 of the blank at %3").arg(x).arg(y).arg(blank)));
        }
      }
    }
  }

  void undoAndRedoAfterARefresh() {
    TForm1& f = env->Main();
    Controls(f).Edit1->SetTextBytes("<i>one</i>\r\n<u>two</u>");
    const QByteArray before = Controls(f).Edit1->GetText();
    Controls(f).Edit1->SetCaretPosition(3);
    QTest::keyClick(Controls(f).Edit1, Qt::Key_W);
    const QByteArray after = Controls(f).Edit1->GetText();
    QCOMPARE(after, QByteArray("<i>wone</i>\r\n<u>two</u>"));
    QTest::keyClick(Controls(f).Edit1, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Controls(f).Edit1->GetText(), before);
    QCOMPARE(ColouringDifference(*Controls(f).Edit1, "HTML"), QString());
    Controls(f).Edit1->redo();
    QCOMPARE(Controls(f).Edit1->GetText(), after);
    QCOMPARE(ColouringDifference(*Controls(f).Edit1, "HTML"), QString());
  }

  void scrollPositionSurvivesTyping() {
    TForm1& f = env->Main();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QByteArray text;
    for (int i = 0; i < 400; ++i) text += "<td>cell " + QByteArray::number(i) + "</td>\r\n";
    Controls(f).Edit1->SetTextBytes(text);
    Controls(f).Edit1->SendScintilla(Sci::SCI_SETFIRSTVISIBLELINE, 200UL);
    Controls(f).Edit1->SetCaretPosition(Controls(f).Edit1->LineStart(205) + 2);
    QTest::keyClick(Controls(f).Edit1, Qt::Key_A);
    QCOMPARE(Controls(f).Edit1->SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE), 200L);
    QCOMPARE(Controls(f).Edit1->CaretPosition(), Controls(f).Edit1->LineStart(205) + 3);
    f.hide();
  }

  void choosingASyntaxMarksModifiedAndCollapsesTheSelection() {
    TForm1& f = env->Main();
    Controls(f).Edit1->SetTextBytes("<?php $a = 'x'; // note ?>\r\nSELECT a FROM b;");
    f.SetModifiedFlag(QString());
    Controls(f).Edit1->SendScintilla(Sci::SCI_SETSEL, 12UL, 5L);
    QSignalSpy reports(Controls(f).Edit1, &TEditorControl::Changed);
    Controls(f).synlist->setCurrentIndex(Controls(f).synlist->findText(QStringLiteral("PHP")));
    emit Controls(f).synlist->activated(Controls(f).synlist->currentIndex());
    // The load raises one report, whose nested refresh marks the document.
    QCOMPARE(reports.count(), 1);
    QCOMPARE(f.ModifiedFlag(), QStringLiteral("1"));
    QCOMPARE(Controls(f).Edit1->SendScintilla(Sci::SCI_GETANCHOR), 5L);
    QCOMPARE(Controls(f).Edit1->SendScintilla(Sci::SCI_GETCURRENTPOS), 5L);
    QVERIFY(!Controls(f).Check1->isChecked());
    QVERIFY(Controls(f).Timer1->isActive());
    QCOMPARE(ColouringDifference(*Controls(f).Edit1, "PHP"), QString());

    Controls(f).synlist->setCurrentIndex(Controls(f).synlist->findText(QStringLiteral("SQL")));
    emit Controls(f).synlist->activated(Controls(f).synlist->currentIndex());
    QCOMPARE(ColouringDifference(*Controls(f).Edit1, "SQL"), QString());
    Controls(f).synlist->setCurrentIndex(Controls(f).synlist->findText(QStringLiteral("HTML")));
    emit Controls(f).synlist->activated(Controls(f).synlist->currentIndex());
    QVERIFY(Controls(f).Check1->isChecked());
    QCOMPARE(ColouringDifference(*Controls(f).Edit1, "HTML"), QString());
  }

  void unknownSyntaxTextColoursAsHtml() {
    TForm1& f = env->Main();
    Controls(f).Edit1->SetTextBytes("<?xml version=\"1.0\"?>\r\n<a b=\"c\">&amp;</a>");
    f.SetSyntaxText(QStringLiteral("PHP"));
    f.synlistChange();
    QVERIFY(!Controls(f).Check1->isChecked());
    Controls(f).synlist->lineEdit()->selectAll();
    Controls(f).synlist->lineEdit()->setFocus();
    const QByteArray text = Controls(f).Edit1->GetText();
    QTest::keyClick(Controls(f).synlist->lineEdit(), Qt::Key_X);
    // The first keystroke refreshes; the keyboard stays in the list while the
    // user types there, so the rest of the name goes into the list too.
    QVERIFY(Controls(f).Check1->isChecked());
    QCOMPARE(f.focusWidget(), Controls(f).synlist);
    f.SetAutomaticPreview(false);
    QTest::keyClicks(Controls(f).synlist->lineEdit(), "ml");
    QCOMPARE(Controls(f).synlist->currentText(), QStringLiteral("xml"));
    QCOMPARE(Controls(f).Edit1->GetText(), text);
    QVERIFY(Controls(f).Check1->isChecked());  // refreshed at each keystroke
    QCOMPARE(ColouringDifference(*Controls(f).Edit1, "HTML"), QString());
    QVERIFY(ColouringDifference(*Controls(f).Edit1, "XML") != QString());
    // Enter hands the keyboard back to the editor, and so does Tab.
    QTest::keyClick(Controls(f).synlist->lineEdit(), Qt::Key_Return);
    QCOMPARE(f.focusWidget(), Controls(f).Edit1);
    QCOMPARE(Controls(f).synlist->currentText(), QStringLiteral("xml"));
    Controls(f).synlist->lineEdit()->setFocus();
    QTest::keyClick(Controls(f).synlist->lineEdit(), Qt::Key_Tab);
    QCOMPARE(f.focusWidget(), Controls(f).Edit1);
    // Picking an entry from the list does the same.
    Controls(f).synlist->lineEdit()->setFocus();
    Controls(f).synlist->setCurrentIndex(Controls(f).synlist->findText("SQL"));
    emit Controls(f).synlist->activated(Controls(f).synlist->currentIndex());
    QCOMPARE(f.focusWidget(), Controls(f).Edit1);
    QCOMPARE(Controls(f).Edit1->GetText(), text);
  }

  void emptyDocumentRefreshesToAnEmptyEditor() {
    TForm1& f = env->Main();
    Controls(f).Edit1->ClearText();
    QCOMPARE(Controls(f).Edit1->Length(), 0);
    QCOMPARE(Controls(f).Edit1->CaretPosition(), 0);
    QCOMPARE(f.ModifiedFlag(), QStringLiteral("1"));
    QVERIFY(env->Errors().isEmpty());
  }

  void documentWithANulByteKeepsEveryByte() {
    TForm1& f = env->Main();
    static const char raw[] = "<b>one</b>\0<i>two</i>\r\nthree{\\}";
    const QByteArray content(raw, sizeof raw - 1);
    const QString path = env->WriteFile(env->TempDir() + "nul.htm", content);
    f.OpenDocument(path);
    QCOMPARE(Controls(f).Edit1->GetText(), content);
    Controls(f).Edit1->SetCaretPosition(3);
    QTest::keyClick(Controls(f).Edit1, Qt::Key_N);
    const QByteArray typed = content.left(3) + "n" + content.mid(3);
    QCOMPARE(Controls(f).Edit1->GetText(), typed);
    // Coloured up to the NUL; the rest shows in the default style.
    QCOMPARE(ColouringDifference(*Controls(f).Edit1, "HTML", 11), QString());
    for (int i = 11; i < typed.size(); ++i) {
      QCOMPARE(StyleAt(*Controls(f).Edit1, i), 0L);
    }
    Controls(f).Action2->trigger();
    QVERIFY(env->Errors().isEmpty());
    QCOMPARE(TestEnvironment::ReadFile(path), typed);
  }

  void highlightersNameTheEditorsFont() {
    TForm1& f = env->Main();
    const QFontInfo shown(Controls(f).Edit1->font());
    const std::string table = CreateHighlighter("HTML").Highlighter->RtfFontTable;
    QVERIFY2(table.find(" " + shown.family().toStdString() + ";") != std::string::npos,
             table.c_str());
    if (shown.fixedPitch()) QVERIFY2(table.find("\\fmodern\\") != std::string::npos, table.c_str());
  }

 private:
  std::unique_ptr<TestEnvironment> env;
};

VEXA_GUI_TEST_MAIN(TestRefresh)
#include "test_refresh.moc"
