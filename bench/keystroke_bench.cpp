// Keystroke latency of the real main window, offscreen, against the same keys
// in the editor widget without anything of ours (the floor), in the widget with
// its own HTML lexer, and with the whole-document refresh of before, in one run.
//
// Inputs: HTML of 20 KiB to 50 MiB in code page 1252 (the shared page, its few
// other characters written as character references) and in UTF-8 (the same
// page with accented and CJK text), the 1 MiB PHP, JavaScript (one minified
// line of 858,700 bytes) and Pascal inputs. Cases: typing at the start, middle
// and end, a delete, a paste of 100 KB, and the worst cases, "<!--" or "<%"
// typed near the top of a page and its closer after it. Per case:
//   keystroke case=.. encoding=.. size=.. setup=.. accessibility=on|off
//     ours_median_ms ours_p90_ms          the main window: key handled and view repainted
//     bare_median_ms floor_ratio          the widget alone, as the editor keeps it (no
//                                         lexer, only the notices before a change, no
//                                         accessibility layer of its own): its own cost
//     stock_median_ms                     the widget alone as shipped (typing cases)
//     lexer_median_ms ratio               the widget with its HTML lexer
//     flat_ratio                          ours against ours at the smallest size
//     whole_median_ms                     the whole-document refresh of before
//     refresh_ms scintilla_key_ms paint_ms scanned_bytes_per_key   the break-down
// The worst cases add settle_ms: after the last key, until the whole document
// is coloured exactly again while the event loop runs. Then the time to open
// and colour each size, the memory kept between refreshes, the peak resident
// memory, the memory growth over 1,000 keystrokes, and a minute of steady
// typing (ten keys a second) into the 50 MiB page with the recovery copy and
// the preview's timer running as in real use, with the keys that took more
// than a frame (16 ms) from the moment they were due; then the same without
// the recovery copy, for what the editor itself costs.
//
// In the middle of the 1 MiB page the keys are typed again while the preview
// shows the page and outlines the caret's element. One case per size types
// the same keys with the typing aids (closing tags, matching pairs, line
// numbers, ...) off and on, in turns, each key followed by the events it
// leaves (the pairs are marked once a key is done with):
//   keystroke case=typing-aids size=.. off_median_ms=.. on_median_ms=.. ratio=..
// and the decisions alone, on the page's bytes in memory, in microseconds:
//   typing-decisions size=.. closing_us=.. completion_us=.. marks_us=.. go_to_match_us=..
//     enter_us=..
//
//   keystroke_bench [--sizes=20480,...] [--utf8-sizes=1048576,...] [--only=middle]
//                   [--steady-seconds=60] [--setups=plain,...] [--benchmark_* flags]
//
// --only=middle types in the middle of the HTML inputs only (the runs with an
// accessibility bus, see bench/run.sh). A setup (see Setups()) switches on
// what a feature of the main window needs before the keys are typed.
#include <benchmark/benchmark.h>

#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>
#include <malloc.h>
#include <time.h>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <new>
#include <numeric>
#include <string>
#include <vector>

#include "application.h"
#include "bench_app.h"
#include "bench_inputs.h"
#include "code_page.h"
#include "editing_options.h"
#include "editor_control.h"
#include "form_registry.h"
#include "highlighter_factory.h"
#include "indentation.h"
#include "main_window.h"
#include "pair_matching.h"
#include "preview_window.h"
#include "recovery.h"
#include "tag_closing.h"
#include "text_lines.h"
#include "web_browser.h"

// Heap bytes in use and their peak, counted for every C++ allocation (the
// highlighter, its stream, the RTF reader and the editor's buffers).
std::atomic<long long> gHeapInUse{0};
std::atomic<long long> gHeapPeak{0};

void* operator new(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  const long long now = gHeapInUse += static_cast<long long>(malloc_usable_size(p));
  long long peak = gHeapPeak.load();
  while (now > peak && !gHeapPeak.compare_exchange_weak(peak, now)) {
  }
  return p;
}
void operator delete(void* p) noexcept {
  if (p == nullptr) return;
  gHeapInUse -= static_cast<long long>(malloc_usable_size(p));
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

const char kTyped[] = "<b class=\"x\">typed in the middle, key by key.</b> ";
static_assert(sizeof(kTyped) - 1 == 50, "fifty characters");
constexpr std::size_t kMiB = 1024 * 1024;

// The editor's own calls the figures need, in one place (a build of an
// earlier editor, for the figures of before, puts its own here).
bool Pending(TEditorControl& editor) { return editor.StylesPending(); }
void Settle(TEditorControl& editor) { editor.SettleStyles(); }
void ConvertWhole(TEditorControl& editor, const std::string& syntax) {
  editor.ConvertWholeDocument(*CreateHighlighter(syntax).Highlighter);
}

// One benchmark input: the real file, or a generated one of its size.
std::string BenchInput(const std::string& name) { return bench_inputs::Load(name); }

// The shared HTML page in code page 1252: its characters outside the page
// written as character references, as an editor of that page would keep them.
std::string CodePageHtml(const std::string& page) {
  const QString text = QString::fromUtf8(page.data(), static_cast<qsizetype>(page.size()));
  std::string out;
  out.reserve(page.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char32_t c = text[i].isHighSurrogate() && i + 1 < text.size()
                           ? QChar::surrogateToUcs4(text[i], text[i + 1])
                           : text[i].unicode();
    if (c > 0xFFFF) ++i;
    const std::string one = codepage::FromUnicode(QString::fromUcs4(&c, 1));
    if (one == "?" && c != '?') {
      out += "&#" + std::to_string(static_cast<unsigned>(c)) + ";";
    } else {
      out += one;
    }
  }
  return out;
}

// The shared page in UTF-8, with a paragraph of accented and CJK text after
// every twentieth line.
std::string Utf8Html(const std::string& page) {
  const std::string paragraph =
      "<p lang=\"fr\">Caf\xc3\xa9 cr\xc3\xa8me br\xc3\xbbl\xc3\xa9\x65, na\xc3\xafve "
      "fa\xc3\xa7\x61\x64\x65 \xe2\x80\x94 <span lang=\"ja\">\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e"
      "\xe3\x81\xae\xe6\x96\x87\xe7\xab\xa0</span> <span lang=\"zh\">\xe4\xb8\xad\xe6\x96\x87"
      "\xe6\xae\xb5\xe8\x90\xbd</span></p>\n";
  std::string out;
  out.reserve(page.size() + page.size() / 8);
  int lines = 0;
  for (char c : page) {
    out += c;
    if (c == '\n' && ++lines % 20 == 0) out += paragraph;
  }
  return out;
}

// The sample repeated to about `size` bytes (bench_inputs::Repeated).
QByteArray Document(const std::string& sample, std::size_t size) {
  return QByteArray::fromStdString(bench_inputs::Repeated(sample, size));
}

long StatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::size_t n = std::strlen(field);
  while (std::getline(status, line)) {
    if (line.compare(0, n, field) == 0) return std::stol(line.substr(n + 1));
  }
  return 0;
}

// Starts a new peak: VmHWM falls back to the current resident size.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double Ms(qint64 ns) { return static_cast<double>(ns) / 1e6; }

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const std::size_t i = std::min(v.size() - 1, static_cast<std::size_t>(p * (v.size() - 1) + 0.5));
  return v[i];
}

double TimedMs(const std::function<void()>& fn) {
  QElapsedTimer t;
  t.start();
  fn();
  return Ms(t.nsecsElapsed());
}

// Runs the event loop (the idle colouring among what it runs) until the
// editor's colours are all exact; the time it took.
double SettleMs(TEditorControl& editor) {
  return TimedMs([&editor] {
    QElapsedTimer limit;
    limit.start();
    while (Pending(editor) && limit.elapsed() < 60000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
  });
}

// What a case does at each key: where, and which key (a character of the text
// typed, a delete, or a paste).
enum class TAction { Type, Delete, Paste };

struct TCase {
  std::string Name;
  std::string Syntax;
  const std::string* Sample;
  std::size_t Size;
  double Where;  // 0 start, 0.5 middle, 1 end; below 0 where the caret is
  TAction Action;
  std::string Typed;  // the keys typed, one per measurement
  bool Utf8 = false;  // the input is UTF-8 (else code page 1252)
};

// What is switched on in the main window before the keys are typed. A feature
// that works on the keystroke path adds its entry here, with what it needs
// set up, and runs with --setups=plain,<its name>.
struct TSetup {
  std::string Name;
  std::function<void(TForm1&)> Apply;
};

const std::vector<TSetup>& Setups() {
  static const std::vector<TSetup> setups = {
      {"plain", [](TForm1&) {}},
  };
  return setups;
}

struct TTimes {
  std::vector<double> Key;    // until the key is handled: the refresh runs inside
  std::vector<double> Total;  // and until the view is repainted
  std::size_t Scanned = 0;
};

long Send(QsciScintilla& e, unsigned int message, unsigned long w = 0, long l = 0) {
  return e.SendScintilla(message, w, l);
}

void PlaceCaret(QsciScintilla& e, double where) {
  if (where < 0) return;  // where the caret is
  const long length = Send(e, QsciScintillaBase::SCI_GETLENGTH);
  long at = static_cast<long>(static_cast<double>(length) * where);
  if (where > 0 && where < 1) {
    at = Send(e, QsciScintillaBase::SCI_POSITIONFROMLINE,
              static_cast<unsigned long>(Send(e, QsciScintillaBase::SCI_LINEFROMPOSITION,
                                              static_cast<unsigned long>(at))));
  } else if (where == 0) {
    at = Send(e, QsciScintillaBase::SCI_POSITIONFROMLINE, 2);
  }
  Send(e, QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(at));
  e.viewport()->repaint();
}

void PressKey(QsciScintilla& e, const TCase& c, int i) {
  switch (c.Action) {
    case TAction::Type:
      QTest::keyClick(&e, c.Typed[static_cast<std::size_t>(i) % c.Typed.size()]);
      break;
    case TAction::Delete:
      QTest::keyClick(&e, Qt::Key_Delete);
      break;
    case TAction::Paste:
      QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
      break;
  }
}

// The keys of a case into an editor, each timed, the view repainted after each.
TTimes Press(QsciScintilla& e, const TCase& c, int keys, TEditorControl* ours) {
  PlaceCaret(e, c.Where);
  TTimes times;
  for (int i = 0; i < keys; ++i) {
    QElapsedTimer t;
    t.start();
    PressKey(e, c, i);
    times.Key.push_back(Ms(t.nsecsElapsed()));
    e.viewport()->repaint();
    times.Total.push_back(Ms(t.nsecsElapsed()));
    if (ours != nullptr) times.Scanned += ours->LastRescan().Scanned;
    // A document whose single line the widget lays out for a second per key
    // gets a few keys, not forty.
    if (i >= 4 && std::accumulate(times.Total.begin(), times.Total.end(), 0.0) > 3000) break;
  }
  return times;
}

// The widget alone, holding the document in the same encoding.
void LoadPlain(QsciScintilla& e, const QByteArray& doc, bool utf8) {
  e.setText(QString());
  e.setUtf8(utf8);
  Send(e, QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(doc.size()),
       reinterpret_cast<long>(doc.constData()));
}

// The widget's own accessibility layer, kept off the floor's widget as the
// editor keeps it off its own: the widget is asked first for this interface,
// which counts no characters, and it sends no notices after changes.
QsciScintilla* gFloor = nullptr;

QAccessibleInterface* FloorAccessible(const QString& className, QObject* object) {
  if (object == gFloor && className == QLatin1String("QsciScintilla")) {
    return new QAccessibleWidget(gFloor, QAccessible::EditableText);
  }
  return nullptr;
}

// Our refresh alone, on an editor of its own with the same document: one edit
// as the key makes it, then the refresh the change report runs.
std::vector<double> RefreshAlone(const QByteArray& doc, const TCase& c, int keys,
                                 const QByteArray& pasted) {
  TEditorControl editor;
  editor.SetTextBytes(doc);
  ConvertWhole(editor, c.Syntax);
  PlaceCaret(editor, c.Where);
  std::vector<double> times;
  for (int i = 0; i < keys; ++i) {
    const long at = Send(editor, QsciScintillaBase::SCI_GETCURRENTPOS);
    if (c.Action == TAction::Delete) {
      Send(editor, QsciScintillaBase::SCI_DELETERANGE, static_cast<unsigned long>(at), 1);
    } else {
      const QByteArray text =
          c.Action == TAction::Paste
              ? pasted
              : QByteArray(1, c.Typed[static_cast<std::size_t>(i) % c.Typed.size()]);
      editor.SendScintilla(QsciScintillaBase::SCI_ADDTEXT, static_cast<unsigned long>(text.size()),
                           text.constData());
    }
    times.push_back(TimedMs([&] {
      if (!editor.RecolourChanges(*CreateHighlighter(c.Syntax).Highlighter)) {
        ConvertWhole(editor, c.Syntax);
      }
    }));
  }
  return times;
}

// Heap bytes an editor keeps between refreshes for its document: the record of
// looks and the line states.
long long KeptBetweenRefreshes(const QByteArray& doc, const std::string& syntax) {
  TEditorControl editor;
  editor.SetTextBytes(doc);
  const long long loaded = gHeapInUse.load();
  ConvertWhole(editor, syntax);
  return gHeapInUse.load() - loaded;
}

void Open(TForm1& form, const TCase& c, const QByteArray& doc) {
  form.SetSyntaxText(QString::fromStdString(c.Syntax));
  form.Editor()->SetTextBytes(doc);
  form.synlistChange();
  Settle(*form.Editor());
}

struct TBench {
  TForm1& Form;
  QsciScintilla& Lexed;
  QsciScintilla& Floor;
  QsciScintilla& Stock;
  std::string Accessibility;
  // Our median at the smallest size of each case, for the flat ratio.
  std::map<std::string, double> Smallest;
};

void RunCase(TBench& b, const TCase& c, const TSetup& setup) {
  TForm1& form = b.Form;
  const QByteArray doc = Document(*c.Sample, c.Size);
  const bool huge = doc.size() > 4 * static_cast<qsizetype>(kMiB);
  const int keys = c.Action == TAction::Paste ? 10 : (huge ? 20 : 40);
  const int wholeKeys = huge ? 3 : (c.Action == TAction::Paste ? 5 : 10);
  const QByteArray pasted = Document(*c.Sample, 100 * 1000);
  QApplication::clipboard()->setText(c.Utf8 ? QString::fromUtf8(pasted)
                                            : codepage::ToUnicode(pasted));

  Open(form, c, doc);
  setup.Apply(form);
  const TTimes ours = Press(*form.Editor(), c, keys, form.Editor());
  // The whole-document refresh of before: the key, then the whole document
  // converted and read back, then the paint.
  Open(form, c, doc);
  setup.Apply(form);
  TTimes whole;
  PlaceCaret(*form.Editor(), c.Where);
  for (int i = 0; i < wholeKeys; ++i) {
    whole.Total.push_back(TimedMs([&] {
      PressKey(*form.Editor(), c, i);
      ConvertWhole(*form.Editor(), c.Syntax);
      form.Editor()->viewport()->repaint();
    }));
  }
  form.Editor()->ClearText();

  LoadPlain(b.Lexed, doc, c.Utf8);
  const TTimes lexer = Press(b.Lexed, c, keys, nullptr);
  b.Lexed.setText(QString());
  LoadPlain(b.Floor, doc, c.Utf8);
  const TTimes floor = Press(b.Floor, c, keys, nullptr);
  b.Floor.setText(QString());
  const bool typing = c.Action == TAction::Type && c.Where == 0.5;
  TTimes stock;
  if (typing) {
    LoadPlain(b.Stock, doc, c.Utf8);
    stock = Press(b.Stock, c, huge ? 6 : keys, nullptr);
    b.Stock.setText(QString());
  }
  // The editor makes a paste's line ends CR LF, as SetTextBytes the document's.
  const std::string crlf = textlines::ToCrLf(std::string_view(pasted.constData(), pasted.size()));
  const std::vector<double> refresh =
      RefreshAlone(doc, c, keys, QByteArray(crlf.data(), static_cast<qsizetype>(crlf.size())));

  const double median = Percentile(ours.Total, 0.5);
  const double lexerMedian = Percentile(lexer.Total, 0.5);
  const double floorMedian = Percentile(floor.Total, 0.5);
  const double keyMedian = Percentile(ours.Key, 0.5);
  const double refreshMedian = Percentile(refresh, 0.5);
  const std::string kind = c.Name + (c.Utf8 ? "/utf8" : "/1252") + "/" + setup.Name;
  if (b.Smallest.count(kind) == 0) b.Smallest[kind] = median;
  std::printf(
      "keystroke case=%s encoding=%s size=%d setup=%s accessibility=%s ours_median_ms=%.2f "
      "ours_p90_ms=%.2f bare_median_ms=%.2f floor_ratio=%.2f",
      c.Name.c_str(), c.Utf8 ? "utf-8" : "1252", static_cast<int>(doc.size()), setup.Name.c_str(),
      b.Accessibility.c_str(), median, Percentile(ours.Total, 0.9), floorMedian,
      median / std::max(floorMedian, 1e-3));
  if (typing) std::printf(" stock_median_ms=%.2f", Percentile(stock.Total, 0.5));
  std::printf(
      " lexer_median_ms=%.2f ratio=%.2f flat_ratio=%.2f whole_median_ms=%.2f refresh_ms=%.2f "
      "scintilla_key_ms=%.2f paint_ms=%.2f scanned_bytes_per_key=%zu\n",
      lexerMedian, median / std::max(lexerMedian, 1e-3), median / std::max(b.Smallest[kind], 1e-3),
      Percentile(whole.Total, 0.5), refreshMedian, std::max(0.0, keyMedian - refreshMedian),
      median - keyMedian, ours.Scanned / ours.Total.size());
  std::fflush(stdout);
}

// The worst cases: an opener typed near the top of the page, then its closer;
// the keys in between recolour the document up to the next closer already in
// it ("-->" of the next comment), or to its end ("%>" where the page has none).
// The view is coloured at each key; the rest follows while the event loop is
// idle, and settle_ms is how long after the last key that took.
void RunWorstCase(TBench& b, const std::string& sample, std::size_t size, const std::string& keys) {
  TForm1& form = b.Form;
  const QByteArray doc = Document(sample, size);
  TCase c{"worst", "HTML", &sample, size, 0, TAction::Type, keys};
  Open(form, c, doc);
  const int n = static_cast<int>(keys.size());
  const TTimes ours = Press(*form.Editor(), c, n, form.Editor());
  // The opener alone, then the closer, each followed by the idle time it takes
  // until the whole document is coloured exactly again.
  Open(form, c, doc);
  const std::string opener = keys.substr(0, keys.size() / 2 + (keys.size() % 2));
  TCase open = c;
  open.Typed = opener;
  Press(*form.Editor(), open, static_cast<int>(opener.size()), nullptr);
  const double settleOpened = SettleMs(*form.Editor());
  TCase close = c;
  close.Typed = keys.substr(opener.size());
  close.Where = -1;
  Press(*form.Editor(), close, static_cast<int>(close.Typed.size()), nullptr);
  const double settleClosed = SettleMs(*form.Editor());
  Open(form, c, doc);
  std::vector<double> whole;
  PlaceCaret(*form.Editor(), 0);
  for (char key : keys) {
    whole.push_back(TimedMs([&] {
      QTest::keyClick(form.Editor(), key);
      ConvertWhole(*form.Editor(), c.Syntax);
      form.Editor()->viewport()->repaint();
    }));
  }
  form.Editor()->ClearText();
  LoadPlain(b.Lexed, doc, false);
  const TTimes lexer = Press(b.Lexed, c, n, nullptr);
  b.Lexed.setText(QString());
  std::printf(
      "keystroke case=worst(%s) size=%d accessibility=%s ours_median_ms=%.2f ours_p90_ms=%.2f "
      "ours_max_ms=%.2f settled_after_opener_ms=%.1f settled_after_closer_ms=%.1f "
      "lexer_median_ms=%.2f ratio=%.2f whole_median_ms=%.2f scanned_bytes_per_key=%zu\n",
      keys.c_str(), static_cast<int>(doc.size()), b.Accessibility.c_str(),
      Percentile(ours.Total, 0.5), Percentile(ours.Total, 0.9), Percentile(ours.Total, 1.0),
      settleOpened, settleClosed, Percentile(lexer.Total, 0.5),
      Percentile(ours.Total, 0.5) / std::max(Percentile(lexer.Total, 0.5), 1e-3),
      Percentile(whole, 0.5), ours.Scanned / keys.size());
  std::fflush(stdout);
}

void GrowthOverRefreshes(TForm1& form, const std::string& sample) {
  form.SetSyntaxText(QStringLiteral("HTML"));
  form.Editor()->SetTextBytes(Document(sample, 200 * 1024));
  // Keys typed and taken back, so the document keeps its size.
  auto typeAndErase = [&form](int keys) {
    for (int i = 0; i < keys; ++i) {
      QTest::keyClick(form.Editor(), i % 2 == 0 ? Qt::Key_X : Qt::Key_Backspace);
    }
  };
  // The undo history would grow by itself; only the refresh is looked at.
  form.Editor()->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
  typeAndErase(20);
  const long start = StatusKb("VmRSS");
  const long long heapStart = gHeapInUse.load();
  typeAndErase(1000);
  form.Editor()->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1UL);
  const long end = StatusKb("VmRSS");
  std::printf(
      "memory over 1000 keystrokes (refreshes) in %d bytes: rss_start_mb=%.1f rss_end_mb=%.1f "
      "rss_growth_kb=%ld heap_growth_bytes=%lld\n",
      form.Editor()->Length(), start / 1024.0, end / 1024.0, end - start,
      gHeapInUse.load() - heapStart);
}

// Ten keys a second for a while into the page, with everything that runs on a
// timer while the user types running as in real use: the recovery copy (two
// seconds after the first change, then again two seconds after each copy) and
// the automatic preview's timer. A key's time runs from when it was due, so a
// key that had to wait behind a timer's work counts the wait.
void SteadyTyping(TForm1& form, const TSetup& setup, const std::string& sample, std::size_t size,
                  int seconds, const std::string& accessibility, const char* recovery) {
  const QByteArray doc = Document(sample, size);
  TCase c{"steady", "HTML", &sample, size, 0.5, TAction::Type, kTyped};
  Open(form, c, doc);
  setup.Apply(form);
  form.SetModifiedFlag(QString());
  form.SetAutomaticPreview(true);
  PlaceCaret(*form.Editor(), 0.5);
  const int keys = seconds * 10;
  std::vector<double> late;
  std::vector<double> waited;
  QElapsedTimer clock;
  clock.start();
  for (int i = 0; i < keys; ++i) {
    // The event loop runs until the key is due, the timers' work included.
    const qint64 due = static_cast<qint64>(i) * 100;
    if (clock.elapsed() < due) {
      QEventLoop loop;
      QTimer::singleShot(static_cast<int>(due - clock.elapsed()), Qt::PreciseTimer, &loop,
                         &QEventLoop::quit);
      loop.exec();
    }
    const double start = Ms(clock.nsecsElapsed());
    PressKey(*form.Editor(), c, i);
    form.Editor()->viewport()->repaint();
    const double end = Ms(clock.nsecsElapsed());
    late.push_back(end - static_cast<double>(due));
    waited.push_back(start - static_cast<double>(due));
  }
  const auto overFrame = std::count_if(late.begin(), late.end(), [](double ms) { return ms > 16; });
  std::printf(
      "steady typing %d keys at 10 a second into %d bytes, setup=%s accessibility=%s "
      "recovery_copy=%s: median_ms=%.2f p99_ms=%.2f max_ms=%.1f keys_over_16ms=%ld "
      "waited_p99_ms=%.2f waited_max_ms=%.1f\n",
      keys, static_cast<int>(doc.size()), setup.Name.c_str(), accessibility.c_str(), recovery,
      Percentile(late, 0.5), Percentile(late, 0.99), Percentile(late, 1.0),
      static_cast<long>(overFrame), Percentile(waited, 0.99), Percentile(waited, 1.0));
  std::fflush(stdout);
  form.StopPreviewTimer();
  form.SetModifiedFlag(QString());
  form.Editor()->ClearText();
}

TEditingOptions AllAids(bool on) {
  TEditingOptions options;
  options.LineNumbers = options.CaretLine = options.CloseTags = options.CompleteEndTags =
      options.MatchPairs = options.AutoIndent = on;
  options.TabExpands = false;  // no Tab is typed
  return options;
}

// The processor time of this thread, which runs the editor, its refresh and
// its painting: on a machine shared with other work it varies far less than
// the time on the clock.
double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The same keys in the middle of the same page, with every typing aid off and
// then on, in turns, so both see the machine alike; each key timed until its
// posted events are handled and the view is painted, on the clock and in
// processor time.
void RunTypingAids(TForm1& form, const std::string& sample, std::size_t size) {
  const QByteArray doc = Document(sample, size);
  const bool huge = doc.size() > 4 * 1024 * 1024;
  const int keys = 25;
  TCase c{"typing-aids", "HTML", &sample, size, 0.5, TAction::Type, kTyped};
  std::vector<double> wall[2];
  std::vector<double> cpu[2];
  for (int round = 0; round < (huge ? 4 : 16); ++round) {
    for (const bool on : {false, true}) {
      form.SetEditingOptions(AllAids(on));
      Open(form, c, doc);
      PlaceCaret(*form.Editor(), c.Where);
      QCoreApplication::sendPostedEvents();
      for (int i = 0; i < keys; ++i) {
        // Each round types the next part of the text, so all of it is typed.
        const char key = c.Typed[static_cast<std::size_t>(round * keys + i) % c.Typed.size()];
        const double cpuStart = ThreadCpuMs();
        wall[on].push_back(TimedMs([&] {
          QTest::keyClick(form.Editor(), key);
          // What the key left to do once it was handled (the pairs it marks),
          // not the timers of the preview and the recovery copy.
          QCoreApplication::sendPostedEvents();
          form.Editor()->viewport()->repaint();
        }));
        cpu[on].push_back(ThreadCpuMs() - cpuStart);
      }
    }
  }
  form.SetEditingOptions(AllAids(false));
  const double off = Percentile(wall[0], 0.5);
  const double on = Percentile(wall[1], 0.5);
  const double offCpu = Percentile(cpu[0], 0.5);
  const double onCpu = Percentile(cpu[1], 0.5);
  std::printf(
      "keystroke case=typing-aids size=%d off_median_ms=%.2f on_median_ms=%.2f ratio=%.3f "
      "off_p90_ms=%.2f on_p90_ms=%.2f off_cpu_median_ms=%.2f on_cpu_median_ms=%.2f "
      "cpu_ratio=%.3f\n",
      static_cast<int>(doc.size()), off, on, on / std::max(off, 1e-3), Percentile(wall[0], 0.9),
      Percentile(wall[1], 0.9), offCpu, onCpu, onCpu / std::max(offCpu, 1e-3));
  std::fflush(stdout);
}

// The decisions alone, at a "<div" in the middle of the page's bytes: ">"
// typed after its name, "</" begun at its "<", the pairs with the caret in it
// (as marked after a key, and as the command finds them) and Enter after it,
// each the median of many. They read the page's bytes in memory; the editor
// hands them over in the same blocks.
void TypingDecisions(const std::string& sample, std::size_t size) {
  const QByteArray doc = Document(sample, size);
  const std::string text(doc.constData(), static_cast<std::size_t>(doc.size()));
  std::size_t at = text.find("<div", text.size() / 2);
  if (at == std::string::npos) at = text.find('<', text.size() / 2);
  const std::size_t inTag = at + 4;
  const std::size_t afterLt = at + 1;
  const std::size_t afterTag = text.find('>', at) + 1;
  TStringSource source(text);
  const auto median = [&](const std::function<void(TMarkupReader&)>& decide) {
    std::vector<double> us;
    for (int i = 0; i < 200; ++i) {
      TTextReader reader(source);
      TMarkupReader markup(reader, TMarkupFlavour::Html);
      QElapsedTimer t;
      t.start();
      decide(markup);
      us.push_back(static_cast<double>(t.nsecsElapsed()) / 1e3);
    }
    return Percentile(us, 0.5);
  };
  std::printf(
      "typing-decisions size=%d closing_us=%.1f completion_us=%.1f marks_us=%.1f "
      "go_to_match_us=%.1f enter_us=%.1f\n",
      static_cast<int>(text.size()),
      median([&](TMarkupReader& m) { ClosingTagFor(m, inTag, THint::None); }),
      median([&](TMarkupReader& m) { EndTagAt(m, afterLt, THint::None); }),
      median([&](TMarkupReader& m) {
        PairsAt(m, at + 2, THint::None, TBracketScope::ScriptParts, kScanLimit, kMarkRegionLimit);
      }),
      median(
          [&](TMarkupReader& m) { PairsAt(m, at + 2, THint::None, TBracketScope::ScriptParts); }),
      median([&](TMarkupReader& m) { EnterAt(m, afterTag, THint::None, "  ", true); }));
  std::fflush(stdout);
}

struct TOptions {
  std::vector<std::size_t> Sizes = {20 * 1024, kMiB, 5 * kMiB, 20 * kMiB, 50 * kMiB};
  std::vector<std::size_t> Utf8Sizes = {kMiB, 20 * kMiB, 50 * kMiB};
  bool MiddleOnly = false;
  int SteadySeconds = 60;
  std::vector<std::string> Setups = {"plain"};
};

std::vector<std::string> Split(const char* list) {
  std::vector<std::string> out;
  std::string item;
  for (const char* p = list;; ++p) {
    if (*p == ',' || *p == '\0') {
      if (!item.empty()) out.push_back(item);
      item.clear();
      if (*p == '\0') break;
    } else {
      item += *p;
    }
  }
  return out;
}

TOptions Options(int argc, char** argv) {
  TOptions o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--sizes=", 0) == 0) {
      o.Sizes.clear();
      for (const std::string& s : Split(argv[i] + 8)) o.Sizes.push_back(std::stoul(s));
    } else if (arg.rfind("--utf8-sizes=", 0) == 0) {
      o.Utf8Sizes.clear();
      for (const std::string& s : Split(argv[i] + 13)) o.Utf8Sizes.push_back(std::stoul(s));
    } else if (arg == "--only=middle") {
      o.MiddleOnly = true;
    } else if (arg.rfind("--steady-seconds=", 0) == 0) {
      o.SteadySeconds = std::stoi(arg.substr(17));
    } else if (arg.rfind("--setups=", 0) == 0) {
      o.Setups = Split(argv[i] + 9);
    }
  }
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  // Google Benchmark's flags are accepted (bench/run.sh passes them to every
  // benchmark); this one measures keystrokes on its own.
  benchmark::Initialize(&argc, argv);
  const TOptions options = Options(argc, argv);
  const TBenchApplication application(argv);
  QAccessible::installFactory(FloorAccessible);

  const std::string page = BenchInput("big.html");
  const std::string html = CodePageHtml(page);
  const std::string utf8 = Utf8Html(page);
  const std::string php = BenchInput("big.php");
  const std::string js = BenchInput("big.js");
  const std::string pas = BenchInput("big.pas");
  if (page.empty() || php.empty() || js.empty() || pas.empty()) {
    std::fprintf(stderr, "no benchmark inputs\n");
    return 1;
  }
  std::vector<TSetup> setups;
  for (const std::string& name : options.Setups) {
    for (const TSetup& s : Setups()) {
      if (s.Name == name) setups.push_back(s);
    }
  }

  TForm1 form;  // at its designed size
  form.show();
  QApplication::processEvents();
  // With an accessibility bus the bridge comes up once the event loop runs.
  QElapsedTimer waiting;
  waiting.start();
  while (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") && !QAccessible::isActive() &&
         waiting.elapsed() < 10000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
  }
  QsciScintilla lexed;
  lexed.setFont(form.Editor()->font());
  QsciLexerHTML lexer;
  lexer.setDefaultFont(form.Editor()->font());
  lexed.setLexer(&lexer);
  QsciScintilla floor;
  gFloor = &floor;
  floor.setFont(form.Editor()->font());
  floor.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK,
                      static_cast<unsigned long>(QsciScintillaBase::SC_MOD_BEFOREINSERT |
                                                 QsciScintillaBase::SC_MOD_BEFOREDELETE));
  QsciScintilla stock;
  stock.setFont(form.Editor()->font());
  for (QsciScintilla* e : {&lexed, &floor, &stock}) {
    e->resize(form.Editor()->size());
    e->show();
  }
  QApplication::processEvents();
  TBench b{form, lexed, floor, stock, QAccessible::isActive() ? "on" : "off", {}};

  const std::string typed = kTyped;
  // The refresh's own figures are taken with the typing aids off; their
  // cost is measured apart, below.
  form.SetEditingOptions(AllAids(false));
  ResetPeak();
  for (const TSetup& setup : setups) {
    for (std::size_t size : options.Sizes) {
      RunCase(b, {"html-middle", "HTML", &html, size, 0.5, TAction::Type, typed}, setup);
    }
    for (std::size_t size : options.Utf8Sizes) {
      RunCase(b, {"html-middle", "HTML", &utf8, size, 0.5, TAction::Type, typed, true}, setup);
    }
    if (options.MiddleOnly) continue;
    RunCase(b, {"html-start", "HTML", &html, kMiB, 0, TAction::Type, typed}, setup);
    RunCase(b, {"html-end", "HTML", &html, kMiB, 1, TAction::Type, typed}, setup);
    RunCase(b, {"html-delete", "HTML", &html, kMiB, 0.5, TAction::Delete, ""}, setup);
    RunCase(b, {"html-paste-100k", "HTML", &html, kMiB, 0.5, TAction::Paste, ""}, setup);
    RunCase(b, {"php-middle", "PHP", &php, php.size(), 0.5, TAction::Type, typed}, setup);
    RunCase(b, {"js-middle", "JAVA SCRIPT", &js, js.size(), 0.5, TAction::Type, typed}, setup);
    RunCase(b, {"pas-middle", "DELPHI SCRIPT", &pas, pas.size(), 0.5, TAction::Type, typed}, setup);
  }
  if (!options.MiddleOnly) {
    {
      // The same keys while the preview shows the page and outlines the caret's element.
      TForm4 preview;
      forms::Register(&preview);
      preview.show();
      form.SetSyntaxText(QStringLiteral("HTML"));
      form.Editor()->SetTextBytes(Document(html, kMiB));
      auto* browser = preview.findChild<TWebBrowser*>(QStringLiteral("WebBrowser1"));
      QSignalSpy loaded(browser, &QWebEngineView::loadFinished);
      form.dxButton2Click();
      if (!loaded.wait(30000)) std::fprintf(stderr, "the preview did not load\n");
      RunCase(b, {"html-middle-preview", "HTML", &html, kMiB, 0.5, TAction::Type, typed},
              Setups().front());
      forms::Unregister(&preview);
    }
    for (std::size_t size : {kMiB, 5 * kMiB}) {
      RunWorstCase(b, html, size, "<!---->");
      RunWorstCase(b, html, size, "<%%>");
    }
    for (std::size_t size : options.Sizes) {
      RunTypingAids(form, html, size);
      TypingDecisions(html, size);
    }
    // Opening a file as the user does: read, loaded, coloured, shown.
    QTemporaryDir files;
    for (std::size_t size : options.Sizes) {
      const QByteArray doc = Document(html, size);
      const long long kept = KeptBetweenRefreshes(doc, "HTML");
      const QString path = files.filePath(QStringLiteral("page.htm"));
      QFile file(path);
      if (!file.open(QIODevice::WriteOnly) || file.write(doc) != doc.size()) return 1;
      file.close();
      form.SetSyntaxText(QStringLiteral("HTML"));
      const double open = TimedMs([&] {
        form.OpenDocument(path);
        form.Editor()->viewport()->repaint();
      });
      const double settle = SettleMs(*form.Editor());
      std::printf(
          "open size=%d open_and_colour_ms=%.0f settled_after_ms=%.0f "
          "kept_between_refreshes=%.2f x the document\n",
          static_cast<int>(doc.size()), open, settle, static_cast<double>(kept) / doc.size());
      std::fflush(stdout);
      form.Editor()->ClearText();
      form.SetModifiedFlag(QString());
    }
    std::printf("peak_rss_mb=%.1f\n", static_cast<double>(StatusKb("VmHWM")) / 1024.0);
    GrowthOverRefreshes(form, html);
  }
  if (options.SteadySeconds > 0) {
    // As in real use, then without the recovery copy: what the editor itself costs.
    for (const TSetup& setup : setups) {
      SteadyTyping(form, setup, html, 50 * kMiB, options.SteadySeconds, b.Accessibility, "on");
    }
    form.Recovery().EndNormally();
    for (const TSetup& setup : setups) {
      SteadyTyping(form, setup, html, 50 * kMiB, options.SteadySeconds, b.Accessibility, "off");
    }
  }
  form.StopPreviewTimer();
  return 0;
}
