// The preview follows the caret: the element that holds the caret is outlined
// in the page, a Ctrl+click in the page finds the element's start tag, the
// tree read from the text is the one the browser builds, and the page keeps
// its scroll position when it is shown again.
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWebEnginePage>

#include "browser_wait.h"
#include "editor_control.h"
#include "flat_button.h"
#include "gui_test_support.h"
#include "main_window.h"
#include "page_tree.h"
#include "paths.h"
#include "preview_caret.h"
#include "preview_window.h"
#include "window_controls.h"

namespace {

// The browser's own document (or its body) as the tree's outline writes it.
QString DomOutline(const char* root = "document.documentElement") {
  return QStringLiteral(
             "(function outline(e) {"
             "  var kids = Array.prototype.filter.call(e.children,"
             "      function (c) { return c.localName !== 'vexa-caret-outline'; });"
             "  var s = String(e.localName).toLowerCase();"
             "  return kids.length ? s + '(' + kids.map(outline).join(',') + ')' : s;"
             "})(%1)")
      .arg(QLatin1String(root));
}

// Pages whose markup the browser repairs in every way the tree must follow.
const char* const kTrickyPages[] = {
    "<p>a<p>b<ul><li>a<li>b</ul><dl><dt>a<dd>b<dt>c</dl>",
    "<p>x<div>y</div>z<h1>a<h2>b</h1>c",
    "<p><table><tr><td>quirks</table>",
    "<!DOCTYPE html><p><table><tr><td>x</table>",
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"><p><table></table>",
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
    "\"http://www.w3.org/TR/html4/loose.dtd\"><p><table></table>",
    "<table><tr><td>a<td>b<tr><td>c</table><table><col><tr><td>1</table>",
    "<table><caption>x<tr><td>y</table><table><div>x</div><tr><td>y</table>",
    "<table><input type=hidden><input type=text><b>x<tr><td>y</td></tr>z</table>after",
    "<b><p>x</b>y</p><p><b>x</p> <p>y<b><i>x</b>y</i>z",
    "<a><a>x</a><a href=1><div><a href=2>x</a></div></a>",
    "<p><b><b><b><b>x</p>y",
    "<b><b class=a><b class=a><b class=a><b class=a>x</b></b></b></b></b><p>y",
    "<table><tr><td><b>x</td></tr></table>y",
    "<div><b><i><u><s><em><p>x</b>y</p></div>",
    "<br></br><p></p></p><form><form><input></form><p><button><p>x</button>",
    "<head></head><script></script><p><title>a</title>x",
    "<body><p>x</body><p>after</html><p>late",
    "<textarea><p>x</textarea><p><script><!--<script></script>--></script><p>",
    "<xmp><b></xmp><i><noscript><p>x</noscript><p>",
    "<!--c--><p>x<!-- y -- z --><b><p><!-->x<!--->y<!-- a --!><i>",
    "<?php echo \"<b>\" ?><p>x<?php if ($a > 1) { ?><p>y<?php } ?>",
    "<% x = \"<i>\" %><p><%= \"</i>\" %><p>",
    "<p title=\"a>b\" data-x='<i>'>x<span a=b/>c",
    "<select><option>a<option>b<div>x</div><optgroup><option>c</select>",
    "<table><tr><td><select><option>a<td>b</table>",
    "<ruby>a<rt>b<rp>c</ruby><ruby>a<rb>b<rtc>c</ruby>",
    "<svg><circle/><p>x",
    "<svg><foreignObject><p>x</p></foreignObject><rect/></svg><math><mi><b>x</b></mi></math>",
    "<math><annotation-xml encoding=\"text/html\"><div>x</div></annotation-xml></math>",
    "<svg><desc><div>x</div></desc><g><font color=red>y</font></g></svg>",
    "<math><mi>x</mi></p><mo>y</mo></math>",
    "<template><tr><td>x</template><p>",
    "<marquee><p>x</marquee>y<object><p>x</object><b>",
    "<nobr>a<nobr>b<applet>c</applet>",
    "<ol><li><ul><li>x</ul><li>y</ol><li>z",
    "<table><tr><th>a<td>b</table><table><thead><tr><td>x<tbody><tr><td>y<tfoot></table>",
    "<pre><b>x</pre>y<listing>z</listing>",
    "<a><p>x</a>y<em><p>a</em><p>b",
    "<iframe><p>x</iframe><p><noembed><b></noembed>",
    "<frameset><frame></frameset>",
    "<table><td>x</td></table><table>text<tr><td>y</td></tr></table>",
    "<h1><h2>x</h2></h1><h3>y<p>z</h3>",
    "<image src=x><isindex><menu><li>a</menu>",
};

}  // namespace

class TestPreviewCaret : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestEnvironment> env;

  TForm4& Preview() const { return *forms::Get<TForm4>(QStringLiteral("Form4")); }
  TWebBrowser* Browser() const { return Controls(Preview()).WebBrowser1; }
  TEditorControl* Editor() const { return Controls(env->Main()).Edit1; }

  QVariant InOurWorld(const QString& script) {
    return RunScript(Browser(), script, 10000, previewcaret::kScriptWorld);
  }

  // Both windows on screen (the main window's start-up done), the document in
  // the editor and in the preview.
  void ShowDocument(const QByteArray& text) {
    TForm1& f = env->Main();
    if (!f.isVisible()) QVERIFY(LoadAndWait(Browser(), [&] { f.show(); }));
    Preview().show();
    QVERIFY(QTest::qWaitForWindowExposed(&Preview()));
    Editor()->SetTextBytes(text);
    QVERIFY(LoadAndWait(Browser(), [&] { Controls(f).dxButton2->click(); }));
  }

  // The outlined element's description, once it is the expected one.
  bool OutlineBecomes(const QString& text) {
    QDeadlineTimer deadline(10000);
    do {
      if (InOurWorld("var o = vexaCaret.outlined(); o ? o.text : ''").toString() == text) {
        return true;
      }
      QTest::qWait(50);
    } while (!deadline.hasExpired());
    qWarning() << "outlined:" << InOurWorld("JSON.stringify(vexaCaret.outlined())");
    return false;
  }

  void MoveCaretTo(const QByteArray& text, const char* marker, int after = 0) {
    const int at = static_cast<int>(text.indexOf(marker));
    QVERIFY2(at >= 0, marker);
    Editor()->SetCaretPosition(at + after);
  }

 private slots:
  void init() {
    env = std::make_unique<TestEnvironment>();
    env->CreateForms();
  }
  void cleanup() { env.reset(); }

  void theTreeIsTheOneTheBrowserBuilds() {
    const QString file = env->TempDir() + "tricky.htm";
    for (const char* page : kTrickyPages) {
      env->WriteFile(file, page);
      QVERIFY(LoadAndWait(Browser(), [&] { Browser()->Navigate(file); }));
      const QString dom = RunScript(Browser(), DomOutline()).toString();
      const QString tree = QString::fromStdString(pagetree::TPageTree(page).Outline());
      QVERIFY2(dom == tree, qPrintable(QStringLiteral("%1\n browser: %2\n tree:    %3")
                                           .arg(QString::fromUtf8(page), dom, tree)));
    }
    // A large real page (its scripts change its head, so the body is compared).
    const QString big = QStringLiteral(VEXA_BENCH_DATA_DIR "/big.html");
    if (!QFile::exists(big)) QSKIP("no big.html among the benchmark inputs");
    const QByteArray page = TestEnvironment::ReadFile(big);
    env->WriteFile(file, page);
    QVERIFY(LoadAndWait(Browser(), [&] { Browser()->Navigate(file); }));
    const pagetree::TPageTree tree(std::string_view(page.constData(), page.size()));
    const pagetree::TResolved body = tree.Resolve({{0, "html"}, {1, "body"}});
    QCOMPARE(body.Depth, 2);
    QCOMPARE(RunScript(Browser(), DomOutline("document.body")).toString(),
             QString::fromStdString(tree.Outline(body.Element)));
  }

  void theOutlineFollowsTheCaret() {
    QByteArray text = "<html><head><title>t</title></head><body>\r\n";
    for (int i = 0; i < 120; ++i) {
      text += "<p id=\"p" + QByteArray::number(i) + "\" class=\"note wide\">Paragraph " +
              QByteArray::number(i) + "</p>\r\n";
    }
    text += "<div id=\"end\"><ul><li>one<li>two <b>bold</b></ul></div></body></html>\r\n";
    ShowDocument(text);
    auto* status = Controls(Preview()).StatusBar1;

    MoveCaretTo(text, "Paragraph 3<");
    QVERIFY(OutlineBecomes(QStringLiteral("p#p3.note.wide")));
    QCOMPARE(status->currentMessage(), QStringLiteral("p#p3.note.wide"));
    QVERIFY(Controls(Preview()).CaretHint1->isVisible());
    // The status bar is one line below the page, which keeps the rest.
    QVERIFY(status->height() < 40);
    QVERIFY(Browser()->height() >
            Preview().height() - Controls(Preview()).MainMenu1->height() - 40);

    // Far down the page: the element is scrolled into view.
    MoveCaretTo(text, "bold", 2);
    QVERIFY(OutlineBecomes(QStringLiteral("b")));
    const QVariantMap box = InOurWorld("vexaCaret.outlined()").toMap();
    QVERIFY(box.value("top").toDouble() >= 0);
    QVERIFY(box.value("top").toDouble() + box.value("height").toDouble() <=
            RunScript(Browser(), "window.innerHeight").toDouble());
    QCOMPARE(box.value("path").toList().size(), 6);  // html body div ul li b
    MoveCaretTo(text, "two");
    QVERIFY(OutlineBecomes(QStringLiteral("li")));
    MoveCaretTo(text, "<div id=\"end\">");
    QVERIFY(OutlineBecomes(QStringLiteral("div#end")));

    // Typing changes the text: after the automatic update the element is
    // outlined again in the new page.
    MoveCaretTo(text, "Paragraph 7<", 9);
    QTest::keyClicks(Editor(), "x");
    QVERIFY(LoadAndWait(Browser(), [&] { FireTimer(Controls(env->Main()).Timer1); }));
    QVERIFY(OutlineBecomes(QStringLiteral("p#p7.note.wide")));
    QVERIFY(RunScript(Browser(), "document.getElementById('p7').textContent")
                .toString()
                .contains("Paragraphx"));

    // The switch takes the outline away and brings it back.
    Controls(Preview()).OutlineCaret1->trigger();
    QVERIFY(OutlineBecomes(QString()));
    QVERIFY(status->currentMessage().isEmpty());
    MoveCaretTo(text, "Paragraph 9<");
    QTest::qWait(previewcaret::kCaretPauseMs * 2);
    QVERIFY(OutlineBecomes(QString()));
    Controls(Preview()).OutlineCaret1->trigger();
    QVERIFY(OutlineBecomes(QStringLiteral("p#p9.note.wide")));

    // Another page in the preview is not the document: nothing is outlined.
    const QString other = env->WriteFile(env->TempDir() + "other.htm", "<p id=o>other</p>");
    QVERIFY(LoadAndWait(Browser(), [&] { Browser()->Navigate(other); }));
    MoveCaretTo(text, "Paragraph 2<");
    QTest::qWait(previewcaret::kCaretPauseMs * 2);
    QVERIFY(OutlineBecomes(QString()));
    QVERIFY(!Controls(Preview()).CaretHint1->isVisible());
    // Back on the document's copy, the outline is there again.
    QVERIFY(LoadAndWait(Browser(), [&] { Controls(Preview()).Back1->trigger(); }));
    QVERIFY(OutlineBecomes(QStringLiteral("p#p2.note.wide")));
  }

  void aPageChangedByItsScriptOutlinesTheNearestMatch() {
    // The script puts a new first element into the list: the caret's item
    // is no longer where the text says, and its list is outlined instead.
    const QByteArray text =
        "<ul id=list><li id=a>one</li><li id=b>two</li></ul>"
        "<script>document.getElementById('list').insertAdjacentHTML('afterbegin',"
        "'<p>new</p>')</script>";
    ShowDocument(text);
    MoveCaretTo(text, "two");
    QVERIFY(OutlineBecomes(QStringLiteral("ul#list")));
  }

  void aCtrlClickFindsTheStartTag() {
    TForm1& f = env->Main();
    const QString second = env->WriteFile(env->SharedDir() + "second.htm", "<p>second</p>");
    const QByteArray text =
        "<html><body>\r\n<h1 id=\"t\">Title</h1>\r\n"
        "<p id=\"q\" style=\"margin-top:20px\">Some <em id=\"e\">stressed</em> text</p>\r\n"
        "<p><a id=\"l\" href=\"second.htm\">a link</a></p>\r\n</body></html>\r\n";
    ShowDocument(text);
    QVERIFY(QTest::qWaitForWindowExposed(&Preview()));
    QWidget* view = Browser()->focusProxy() ? Browser()->focusProxy() : Browser();

    const auto centre = [&](const char* id) {
      const QVariantList r =
          RunScript(Browser(), QStringLiteral("var r = document.getElementById('%1')"
                                              ".getBoundingClientRect(); [r.left + r.width / 2, "
                                              "r.top + r.height / 2]")
                                   .arg(QLatin1String(id)))
              .toList();
      return QPoint(qRound(r.value(0).toDouble()), qRound(r.value(1).toDouble()));
    };
    const auto ctrlClick = [&](const char* id) {
      Preview().activateWindow();
      const QPoint at = centre(id);
      QTest::mouseMove(view, at);
      QTest::mouseClick(view, Qt::LeftButton, Qt::ControlModifier, at);
    };

    Editor()->SetCaretPosition(0);
    ctrlClick("e");
    QTRY_COMPARE_WITH_TIMEOUT(Editor()->CaretPosition(), static_cast<int>(text.indexOf("<em")),
                              10000);
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), static_cast<QWidget*>(&f), 10000);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Editor()));
    // The line display follows the caret as after any move.
    QCOMPARE(Controls(f).lineedit->text(), QStringLiteral("2"));
    QVERIFY(OutlineBecomes(QStringLiteral("em#e")));

    ctrlClick("t");
    QTRY_COMPARE_WITH_TIMEOUT(Editor()->CaretPosition(), static_cast<int>(text.indexOf("<h1")),
                              10000);

    // Ctrl+click on a link finds the link's tag and does not follow it.
    QSignalSpy loads(Browser(), &QWebEngineView::loadStarted);
    ctrlClick("l");
    QTRY_COMPARE_WITH_TIMEOUT(Editor()->CaretPosition(), static_cast<int>(text.indexOf("<a")),
                              10000);
    QCOMPARE(loads.count(), 0);
    QCOMPARE(Browser()->url(), web::LocalFileUrl(env->SharedDir() + "temp.vwe"));

    // A plain click follows the link as always.
    Preview().activateWindow();
    QVERIFY(
        LoadAndWait(Browser(), [&] { QTest::mouseClick(view, Qt::LeftButton, {}, centre("l")); }));
    QCOMPARE(Browser()->url(), web::LocalFileUrl(second));
    // On another page a Ctrl+click finds nothing in the document.
    const int caret = Editor()->CaretPosition();
    QTest::mouseClick(view, Qt::LeftButton, Qt::ControlModifier, QPoint(10, 10));
    QTest::qWait(500);
    QCOMPARE(Editor()->CaretPosition(), caret);
  }

  void theScrollPositionStaysAcrossAutomaticUpdates() {
    QByteArray text = "<html><body>\r\n";
    for (int i = 0; i < 200; ++i) text += "<p>line " + QByteArray::number(i) + "</p>\r\n";
    text += "</body></html>";
    // As the engine keeps it; and the caret's element, far above, is
    // outlined again without taking the page back to it.
    for (const bool outline : {false, true}) {
      ShowDocument(text);
      Controls(Preview()).OutlineCaret1->setChecked(outline);
      MoveCaretTo(text, "line 0<", 5);
      if (outline) QVERIFY(OutlineBecomes(QStringLiteral("p")));
      RunScript(Browser(), "window.scrollTo(0, 1500)");
      QTRY_COMPARE_WITH_TIMEOUT(Browser()->page()->scrollPosition().y(), 1500.0, 10000);
      QTest::keyClicks(Editor(), "<b>x</b>");
      QVERIFY(LoadAndWait(Browser(), [&] { FireTimer(Controls(env->Main()).Timer1); }));
      QVERIFY(RunScript(Browser(), "document.body.textContent").toString().contains("line x0"));
      if (outline) QVERIFY(OutlineBecomes(QStringLiteral("p")));
      QVERIFY2(ScriptBecomes(Browser(), "window.scrollY", 1500),
               qPrintable(QStringLiteral("outline %1: scrolled to %2")
                              .arg(outline)
                              .arg(RunScript(Browser(), "window.scrollY").toInt())));
      // The start page, and the document after it, begin at the top.
      QVERIFY(LoadAndWait(Browser(), [&] { env->Main().ShowPreviewStartPage(); }));
      QVERIFY(LoadAndWait(Browser(), [&] { Controls(env->Main()).dxButton2->click(); }));
      QCOMPARE(RunScript(Browser(), "window.scrollY").toInt(), 0);
    }
  }

  void theSwitchIsKeptInItsOwnSection() {
    TForm1& f = env->Main();
    env->WriteFile(
        paths::SettingsFile(),
        "[Vexa options]\r\nShow Preview Start=0\r\n[Vexa Preview Caret]\r\nOutline=0\r\n");
    f.show();
    QTRY_VERIFY_WITH_TIMEOUT(!Controls(Preview()).OutlineCaret1->isChecked(), 10000);
    Controls(Preview()).OutlineCaret1->trigger();
    f.SetModifiedFlag(QString());
    f.close();
    QVERIFY(TestEnvironment::ReadFile(paths::SettingsFile())
                .contains("[Vexa Preview Caret]\r\nOutline=1\r\n"));
  }
};

VEXA_GUI_TEST_MAIN(TestPreviewCaret)
#include "test_preview_caret.moc"
