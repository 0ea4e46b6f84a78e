// Keystroke latency of the real main window, offscreen, against the same keys
// in a QScintilla editor with its own HTML lexer, in one run. Cases: HTML of
// 20 KiB to 50 MiB and the 1 MiB PHP, JavaScript and Pascal inputs, typing at
// the start, middle and end (in the middle also with the preview showing the
// page and outlining the caret's element), a delete of one character, a paste
// of 100 KB, and
// the worst case, "<!--" typed near the top of a page and "-->" after it, which
// recolours the whole rest of the document twice. Per case it prints
//   keystroke case=.. size=.. ours_median_ms=.. ours_p90_ms=.. lexer_median_ms=.. ratio=..
//     whole_median_ms=.. (the whole-document refresh of before, same keys)
//     refresh_ms=.. scintilla_key_ms=.. paint_ms=.. scanned_bytes=..
// then the memory kept between refreshes, the time to open and colour each
// size, the peak resident memory, and the memory growth over 1,000 keystrokes.
// These cases run with the typing aids (closing tags, matching pairs, line
// numbers, ...) off; one case per size types the same keys with them off and
// on, in turns, each key followed by the events it leaves (the pairs are
// marked once a key is done with):
//   keystroke case=typing-aids size=.. off_median_ms=.. on_median_ms=.. ratio=..
// and the decisions alone, on the page's bytes in memory, in microseconds:
//   typing-decisions size=.. closing_us=.. completion_us=.. marks_us=.. go_to_match_us=..
//     enter_us=..
//   keystroke_bench [--sizes=20480,1048576,...] [--benchmark_* flags are accepted]
// Inputs are the shared benchmark files, or generated ones of their sizes.
#include <benchmark/benchmark.h>

#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>
#include <malloc.h>
#include <time.h>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <new>
#include <numeric>
#include <string>
#include <vector>

#include "application.h"
#include "bench_inputs.h"
#include "editing_options.h"
#include "editor_control.h"
#include "form_registry.h"
#include "highlighter_factory.h"
#include "indentation.h"
#include "main_window.h"
#include "pair_matching.h"
#include "preview_window.h"
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

// One benchmark input: the real file, or a generated one of its size.
std::string BenchInput(const std::string& name) { return bench_inputs::Load(name); }

// About `size` bytes of the sample, repeated as needed, cut after a line end.
QByteArray Document(const std::string& sample, std::size_t size) {
  std::string text;
  while (text.size() < size) text += sample;
  text.resize(size);
  const std::size_t lineEnd = text.rfind('\n');
  if (lineEnd != std::string::npos && lineEnd > size / 2) text.resize(lineEnd + 1);
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
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

// What a case does at each key: where, and which key (a character of the text
// typed, a delete, or a paste).
enum class TAction { Type, Delete, Paste };

struct TCase {
  std::string Name;
  std::string Syntax;
  const std::string* Sample;
  std::size_t Size;
  double Where;  // 0 start, 0.5 middle, 1 end
  TAction Action;
  std::string Typed;  // the keys typed, one per measurement
};

struct TTimes {
  std::vector<double> Key;      // until the key is handled: the refresh runs inside
  std::vector<double> Total;    // and until the view is repainted
  std::vector<double> Refresh;  // our refresh alone
  std::size_t Scanned = 0;
};

long Send(QsciScintilla& e, unsigned int message, unsigned long w = 0, long l = 0) {
  return e.SendScintilla(message, w, l);
}

void PlaceCaret(QsciScintilla& e, double where) {
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

// The keys of a case into an editor, each timed, the view repainted after each.
TTimes Press(QsciScintilla& e, const TCase& c, int keys, TEditorControl* ours) {
  PlaceCaret(e, c.Where);
  TTimes times;
  for (int i = 0; i < keys; ++i) {
    QElapsedTimer t;
    t.start();
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
    times.Key.push_back(Ms(t.nsecsElapsed()));
    e.viewport()->repaint();
    times.Total.push_back(Ms(t.nsecsElapsed()));
    if (ours != nullptr) times.Scanned += ours->LastRescan().Scanned;
    // A document whose single line QScintilla lays out for a second per key
    // gets a few keys, not forty.
    if (i >= 4 && std::accumulate(times.Total.begin(), times.Total.end(), 0.0) > 3000) break;
  }
  return times;
}

// Our refresh alone, on an editor of its own with the same document: one edit
// as the key makes it, then the refresh the change report runs.
std::vector<double> RefreshAlone(const QByteArray& doc, const TCase& c, int keys,
                                 const QByteArray& pasted) {
  TEditorControl editor;
  editor.SetTextBytes(doc);
  {
    HighlighterChoice first = CreateHighlighter(c.Syntax);
    first.Highlighter->RecordLines(editor.LineRecord());
    first.Highlighter->SetText(editor.CharacterPointer());
    editor.LoadRichText(first.Highlighter->ConvertToRtfString());
  }
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
      HighlighterChoice choice = CreateHighlighter(c.Syntax);
      if (!editor.RecolourChanges(*choice.Highlighter)) {
        choice.Highlighter->RecordLines(editor.LineRecord());
        choice.Highlighter->SetText(editor.CharacterPointer());
        editor.LoadRichText(choice.Highlighter->ConvertToRtfString());
      }
    }));
  }
  return times;
}

// Heap bytes an editor keeps between refreshes for its document: the record of
// looks and the line states.
long long KeptBetweenRefreshes(const QByteArray& doc, const std::string& syntax) {
  const long long before = gHeapInUse.load();
  TEditorControl editor;
  const long long empty = gHeapInUse.load();
  editor.SetTextBytes(doc);
  const long long loaded = gHeapInUse.load();
  {
    HighlighterChoice choice = CreateHighlighter(syntax);
    choice.Highlighter->RecordLines(editor.LineRecord());
    choice.Highlighter->SetText(editor.CharacterPointer());
    TMemoryStream stream;
    choice.Highlighter->ConvertToRtf(stream);
    editor.LoadRichText(stream.Data());
  }
  static_cast<void>(before);
  static_cast<void>(empty);
  return gHeapInUse.load() - loaded;
}

void Open(TForm1& form, const TCase& c, const QByteArray& doc) {
  form.SetSyntaxText(QString::fromStdString(c.Syntax));
  form.Editor()->SetTextBytes(doc);
  form.synlistChange();
}

void RunCase(TForm1& form, QsciScintilla& lexed, const TCase& c) {
  const QByteArray doc = Document(*c.Sample, c.Size);
  const bool huge = doc.size() > 4 * 1024 * 1024;
  const int keys = c.Action == TAction::Paste ? 10 : (huge ? 20 : 40);
  const int wholeKeys = huge ? 3 : (c.Action == TAction::Paste ? 5 : 10);
  const QByteArray pasted = Document(*c.Sample, 100 * 1000);
  QApplication::clipboard()->setText(QString::fromLatin1(pasted));

  Open(form, c, doc);
  const TTimes ours = Press(*form.Editor(), c, keys, form.Editor());
  // The whole-document refresh of before: the record is dropped before every key.
  Open(form, c, doc);
  TTimes whole;
  {
    PlaceCaret(*form.Editor(), c.Where);
    for (int i = 0; i < wholeKeys; ++i) {
      form.Editor()->LineRecord().Invalidate();
      QElapsedTimer t;
      t.start();
      if (c.Action == TAction::Type) {
        QTest::keyClick(form.Editor(), c.Typed[static_cast<std::size_t>(i) % c.Typed.size()]);
      } else if (c.Action == TAction::Delete) {
        QTest::keyClick(form.Editor(), Qt::Key_Delete);
      } else {
        QTest::keyClick(form.Editor(), Qt::Key_V, Qt::ControlModifier);
      }
      form.Editor()->viewport()->repaint();
      whole.Total.push_back(Ms(t.nsecsElapsed()));
    }
  }

  lexed.setText(QString());
  Send(lexed, QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(doc.size()),
       reinterpret_cast<long>(doc.constData()));
  const TTimes lexer = Press(lexed, c, keys, nullptr);
  // The editor makes a paste's line ends CR LF, as SetTextBytes the document's.
  const std::string crlf = textlines::ToCrLf(std::string_view(pasted.constData(), pasted.size()));
  const std::vector<double> refresh =
      RefreshAlone(doc, c, keys, QByteArray(crlf.data(), static_cast<qsizetype>(crlf.size())));

  const double median = Percentile(ours.Total, 0.5);
  const double lexerMedian = Percentile(lexer.Total, 0.5);
  const double keyMedian = Percentile(ours.Key, 0.5);
  const double refreshMedian = Percentile(refresh, 0.5);
  std::printf(
      "keystroke case=%s size=%d ours_median_ms=%.2f ours_p90_ms=%.2f lexer_median_ms=%.2f "
      "ratio=%.2f whole_median_ms=%.2f refresh_ms=%.2f scintilla_key_ms=%.2f paint_ms=%.2f "
      "scanned_bytes_per_key=%zu\n",
      c.Name.c_str(), static_cast<int>(doc.size()), median, Percentile(ours.Total, 0.9),
      lexerMedian, median / std::max(lexerMedian, 1e-3), Percentile(whole.Total, 0.5),
      refreshMedian, std::max(0.0, keyMedian - refreshMedian), median - keyMedian,
      ours.Scanned / static_cast<std::size_t>(keys));
  std::fflush(stdout);
}

// The worst cases: an opener typed near the top of the page, then its closer;
// the keys in between recolour the document up to the next closer already in
// it ("-->" of the next comment), or to its end ("%>" where the page has none).
void RunWorstCase(TForm1& form, QsciScintilla& lexed, const std::string& sample, std::size_t size,
                  const std::string& keys) {
  const QByteArray doc = Document(sample, size);
  TCase c{"worst", "HTML", &sample, size, 0, TAction::Type, keys};
  Open(form, c, doc);
  const int n = static_cast<int>(keys.size());
  const TTimes ours = Press(*form.Editor(), c, n, form.Editor());
  Open(form, c, doc);
  std::vector<double> whole;
  PlaceCaret(*form.Editor(), 0);
  for (char key : keys) {
    form.Editor()->LineRecord().Invalidate();
    whole.push_back(TimedMs([&] {
      QTest::keyClick(form.Editor(), key);
      form.Editor()->viewport()->repaint();
    }));
  }
  lexed.setText(QString());
  Send(lexed, QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(doc.size()),
       reinterpret_cast<long>(doc.constData()));
  const TTimes lexer = Press(lexed, c, n, nullptr);
  std::printf(
      "keystroke case=worst(%s) size=%d ours_median_ms=%.2f ours_p90_ms=%.2f "
      "lexer_median_ms=%.2f ratio=%.2f whole_median_ms=%.2f scanned_bytes_per_key=%zu\n",
      keys.c_str(), static_cast<int>(doc.size()), Percentile(ours.Total, 0.5),
      Percentile(ours.Total, 0.9), Percentile(lexer.Total, 0.5),
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

std::vector<std::size_t> Sizes(int argc, char** argv) {
  std::vector<std::size_t> sizes = {20 * 1024, 1024 * 1024, 5 * 1024 * 1024, 20 * 1024 * 1024,
                                    50 * 1024 * 1024};
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--sizes=", 8) != 0) continue;
    sizes.clear();
    for (const char* p = argv[i] + 8; *p != '\0';) {
      char* end = nullptr;
      sizes.push_back(std::strtoul(p, &end, 10));
      p = *end == ',' ? end + 1 : end;
    }
  }
  return sizes;
}

}  // namespace

int main(int argc, char** argv) {
  // Google Benchmark's flags are accepted (bench/run.sh passes them to every
  // benchmark); this one measures keystrokes on its own.
  benchmark::Initialize(&argc, argv);
  const std::vector<std::size_t> sizes = Sizes(argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Nothing of the user's: the program and shared folders are temporary.
  QTemporaryDir folders;
  qputenv("VEXA_PROGRAM_DIR", (folders.path() + "/program/").toLocal8Bit());
  qputenv("VEXA_SHARED_DIR", (folders.path() + "/shared/").toLocal8Bit());
  qputenv("VEXA_SPLASH_MS", "0");
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  app::InitApplication();

  const std::string html = BenchInput("big.html");
  const std::string php = BenchInput("big.php");
  const std::string js = BenchInput("big.js");
  const std::string pas = BenchInput("big.pas");
  if (html.empty() || php.empty() || js.empty() || pas.empty()) {
    std::fprintf(stderr, "no benchmark inputs\n");
    return 1;
  }

  TForm1 form;  // at its designed size
  form.show();
  QApplication::processEvents();
  QsciScintilla lexed;
  lexed.setUtf8(false);
  lexed.setFont(form.Editor()->font());
  QsciLexerHTML lexer;
  lexer.setDefaultFont(form.Editor()->font());
  lexed.setLexer(&lexer);
  lexed.resize(form.Editor()->size());
  lexed.show();
  QApplication::processEvents();

  const std::string typed = kTyped;
  // The refresh's own figures are taken with the typing aids off; their
  // cost is measured apart, below.
  form.SetEditingOptions(AllAids(false));
  ResetPeak();
  for (std::size_t size : sizes) {
    RunCase(form, lexed, {"html-middle", "HTML", &html, size, 0.5, TAction::Type, typed});
  }
  const std::size_t mib = 1024 * 1024;
  RunCase(form, lexed, {"html-start", "HTML", &html, mib, 0, TAction::Type, typed});
  RunCase(form, lexed, {"html-end", "HTML", &html, mib, 1, TAction::Type, typed});
  RunCase(form, lexed, {"html-delete", "HTML", &html, mib, 0.5, TAction::Delete, ""});
  RunCase(form, lexed, {"html-paste-100k", "HTML", &html, mib, 0.5, TAction::Paste, ""});
  RunCase(form, lexed, {"php-middle", "PHP", &php, php.size(), 0.5, TAction::Type, typed});
  RunCase(form, lexed, {"js-middle", "JAVA SCRIPT", &js, js.size(), 0.5, TAction::Type, typed});
  RunCase(form, lexed,
          {"pas-middle", "DELPHI SCRIPT", &pas, pas.size(), 0.5, TAction::Type, typed});
  {
    // The same keys while the preview shows the page and outlines the caret's element.
    TForm4 preview;
    forms::Register(&preview);
    preview.show();
    form.SetSyntaxText(QStringLiteral("HTML"));
    form.Editor()->SetTextBytes(Document(html, mib));
    auto* browser = preview.findChild<TWebBrowser*>(QStringLiteral("WebBrowser1"));
    QSignalSpy loaded(browser, &QWebEngineView::loadFinished);
    form.dxButton2Click();
    if (!loaded.wait(30000)) std::fprintf(stderr, "the preview did not load\n");
    RunCase(form, lexed, {"html-middle-preview", "HTML", &html, mib, 0.5, TAction::Type, typed});
    forms::Unregister(&preview);
  }
  for (std::size_t size : {mib, 5 * mib}) {
    RunWorstCase(form, lexed, html, size, "<!---->");
    RunWorstCase(form, lexed, html, size, "<%%>");
  }
  for (std::size_t size : sizes) {
    RunTypingAids(form, html, size);
    TypingDecisions(html, size);
  }

  for (std::size_t size : sizes) {
    const QByteArray doc = Document(html, size);
    const long long kept = KeptBetweenRefreshes(doc, "HTML");
    form.SetSyntaxText(QStringLiteral("HTML"));
    const double open = TimedMs([&] {
      form.Editor()->SetTextBytes(doc);
      form.synlistChange();
      form.Editor()->viewport()->repaint();
    });
    std::printf("open size=%d open_and_colour_ms=%.0f kept_between_refreshes=%.2f x the document\n",
                static_cast<int>(doc.size()), open, static_cast<double>(kept) / doc.size());
  }
  std::printf("peak_rss_mb=%.1f\n", static_cast<double>(StatusKb("VmHWM")) / 1024.0);
  GrowthOverRefreshes(form, html);
  form.StopPreviewTimer();
  return 0;
}
