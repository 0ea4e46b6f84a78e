// Keystroke latency of the real main window, offscreen: 50 characters typed one
// at a time into the middle of realistic documents, each key followed by the
// whole-document refresh and a repaint, against the same typing in a QScintilla
// editor with its own HTML lexer. Per size it prints
//   keystroke size=<bytes> ours_median_ms=.. ours_p90_ms=.. lexer_median_ms=.. peak_rss_mb=..
// and a break-down of one refresh (get text, scan and write RTF, read RTF,
// apply styles), the heap memory of the refresh and the memory growth over
// 1,000 keystrokes.
//   keystroke_bench [--sizes=20480,204800,...] [--benchmark_* flags are accepted]
#include <benchmark/benchmark.h>

#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>
#include <malloc.h>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
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
#include <string>
#include <vector>

#include "application.h"
#include "editor_control.h"
#include "highlighter_factory.h"
#include "main_window.h"

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

std::string ReadFile(const std::string& name) {
  std::ifstream in(std::string(VEXA_BENCH_DATA_DIR) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

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

struct Typing {
  std::vector<double> Key;    // until the key is handled: our refresh runs inside
  std::vector<double> Total;  // and until the view is repainted
};

// Types kTyped at the middle of the document, one key at a time.
Typing TypeInTheMiddle(QsciScintilla& editor) {
  const long middle = editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH) / 2;
  const long line = editor.SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, middle);
  const long at = editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
  editor.SendScintilla(QsciScintillaBase::SCI_GOTOPOS, at);
  editor.viewport()->repaint();
  Typing typing;
  for (const char* c = kTyped; *c != '\0'; ++c) {
    QElapsedTimer t;
    t.start();
    QTest::keyClick(&editor, *c);
    typing.Key.push_back(Ms(t.nsecsElapsed()));
    editor.viewport()->repaint();
    typing.Total.push_back(Ms(t.nsecsElapsed()));
  }
  return typing;
}

struct Breakdown {
  double GetText = 0, Convert = 0, ReadRtf = 0, Apply = 0;
};

// The stages of one refresh, timed one by one on an editor of its own into
// which a key was typed in the middle (so the buffer's gap is there, as after
// a real keystroke).
Breakdown MeasureStages(const QByteArray& text, const std::string& syntax) {
  TEditorControl editor;
  editor.SetTextBytes(text);
  {
    HighlighterChoice first = CreateHighlighter(syntax);
    first.Highlighter->SetText(editor.CharacterPointer());
    editor.LoadRichText(first.Highlighter->ConvertToRtfString());
  }
  std::vector<double> get, convert, read, apply;
  for (const char* c = kTyped; *c != '\0'; ++c) {
    const char typed[2] = {*c, '\0'};
    editor.SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, editor.Length() / 2, typed);
    const char* bytes = nullptr;
    get.push_back(TimedMs([&] { bytes = editor.CharacterPointer(); }));
    TMemoryStream stream;
    convert.push_back(TimedMs([&] {
      HighlighterChoice choice = CreateHighlighter(syntax);
      choice.Highlighter->SetText(bytes);
      choice.Highlighter->ConvertToRtf(stream);
    }));
    read.push_back(TimedMs([&] { editor.ReadRichText(stream.Data(), editor.Length()); }));
    apply.push_back(TimedMs([&] { editor.ApplyRichText(); }));
  }
  return {Percentile(get, 0.5), Percentile(convert, 0.5), Percentile(read, 0.5),
          Percentile(apply, 0.5)};
}

// Heap memory of the refresh, in bytes: what the editor keeps between
// refreshes for the next one (counted on an editor of its own), and what one
// refresh of the main window takes on top while it runs.
struct RefreshMemory {
  long long Kept = 0;
  long long Transient = 0;
};

RefreshMemory MeasureMemory(TForm1& form, const std::string& syntax) {
  RefreshMemory m;
  {
    TEditorControl editor;
    editor.SetTextBytes(form.Editor()->GetText());
    const long long before = gHeapInUse.load();
    {
      HighlighterChoice choice = CreateHighlighter(syntax);
      choice.Highlighter->SetText(editor.CharacterPointer());
      TMemoryStream stream;
      choice.Highlighter->ConvertToRtf(stream);
      editor.LoadRichText(stream.Data());
    }
    m.Kept = gHeapInUse.load() - before;
  }
  const long long before = gHeapInUse.load();
  gHeapPeak = before;
  QTest::keyClick(form.Editor(), Qt::Key_Backspace);
  m.Transient = gHeapPeak.load() - before;
  return m;
}

void Run(TForm1& form, QsciScintilla& lexed, const std::string& sample, std::size_t size,
         const char* syntax, const char* label) {
  const QByteArray doc = Document(sample, size);
  form.SetSyntaxText(QString::fromLatin1(syntax));
  form.Editor()->SetTextBytes(doc);
  form.synlistChange();
  const int bytes = form.Editor()->Length();

  ResetPeak();
  const Typing ours = TypeInTheMiddle(*form.Editor());
  const double peakMb = static_cast<double>(StatusKb("VmHWM")) / 1024.0;

  lexed.setText(QString());
  lexed.SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(doc.size()),
                      doc.constData());
  const Typing lexer = TypeInTheMiddle(lexed);

  const Breakdown b = MeasureStages(form.Editor()->GetText(), syntax);
  const RefreshMemory memory = MeasureMemory(form, syntax);
  // Both figures run until the coloured text is painted: the lexer colours
  // while painting, our refresh before.
  const double median = Percentile(ours.Total, 0.5);
  const double lexerMedian = Percentile(lexer.Total, 0.5);
  const double keyMedian = Percentile(ours.Key, 0.5);
  std::printf(
      "keystroke size=%d ours_median_ms=%.2f ours_p90_ms=%.2f lexer_median_ms=%.2f "
      "peak_rss_mb=%.1f\n",
      bytes, median, Percentile(ours.Total, 0.9), lexerMedian, peakMb);
  std::printf(
      "  %s: ratio ours/lexer=%.1f; key with refresh %.2f ms, paint %.2f ms; refresh stages "
      "get_text_ms=%.2f scan_write_rtf_ms=%.2f read_rtf_ms=%.2f apply_styles_ms=%.2f, rest of "
      "the key %.2f ms; refresh memory %.2f x the document (kept %.2f, while running %.2f)\n",
      label, median / std::max(lexerMedian, 1e-3), keyMedian, median - keyMedian, b.GetText,
      b.Convert, b.ReadRtf, b.Apply,
      std::max(0.0, keyMedian - b.GetText - b.Convert - b.ReadRtf - b.Apply),
      static_cast<double>(memory.Kept + memory.Transient) / bytes,
      static_cast<double>(memory.Kept) / bytes, static_cast<double>(memory.Transient) / bytes);
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

std::vector<std::size_t> Sizes(int argc, char** argv) {
  std::vector<std::size_t> sizes = {20 * 1024, 200 * 1024, 1024 * 1024, 5 * 1024 * 1024};
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

  const std::string html = ReadFile("big.html");
  const std::string php = ReadFile("big.php");
  if (html.empty() || php.empty()) {
    std::fprintf(stderr, "no benchmark inputs under %s\n", VEXA_BENCH_DATA_DIR);
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

  for (std::size_t size : sizes) Run(form, lexed, html, size, "HTML", "HTML");
  Run(form, lexed, php, php.size(), "PHP", "PHP file (big.php) with our PHP highlighter");
  GrowthOverRefreshes(form, html);
  form.StopPreviewTimer();
  return 0;
}
