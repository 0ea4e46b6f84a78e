// The recovery copy's cost to the user-interface thread, in the real main
// window offscreen, for documents of 1, 20 and 50 MiB with the caret in the
// middle, in one run:
//   before: the copy as it used to be written, all on the user-interface
//           thread (the whole text through the editor's text pointer, which
//           moves the editor's gap to the end, then formatted and written);
//   after:  StartCopy, then the event-loop turns until the copy is written:
//           the worker makes the memory ready, one turn copies the text into
//           it, the worker writes it. after_ui_ms is StartCopy plus the
//           longest turn (the snapshot); turns_ms is all turns together.
// Per size it prints
//   recovery size=.. before_ui_ms=.. after_ui_ms=.. ratio=.. turns_ms=..
//     write_ms=.. (from StartCopy until the worker's notice that it is written)
//     key_ms=.. (a key and its repaint, nothing written)
//     key_during_write_ms=.. (keys typed while the worker writes: median, max)
//     key_after_before_ms=.. key_after_after_ms=.. (the first key after each)
// with medians of a few rounds.
//   recovery_bench [--sizes=1048576,...] [--rounds=N] [--benchmark_* flags are ignored]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "application.h"
#include "bench_app.h"
#include "bench_inputs.h"
#include "disk_watch.h"
#include "editor_control.h"
#include "main_window.h"
#include "paths.h"
#include "recovery.h"
#include "recovery_copy.h"
#include "text_file.h"

namespace {

double Ms(qint64 ns) { return static_cast<double>(ns) / 1e6; }

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double Max(const std::vector<double>& v) {
  return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

// The sample repeated to about `size` bytes (bench_inputs::Repeated).
QByteArray Document(const std::string& sample, std::size_t size) {
  return QByteArray::fromStdString(bench_inputs::Repeated(sample, size));
}

// The copy as the previous version wrote it, on the user-interface thread.
bool WriteAsBefore(TForm1& form, const QString& path) {
  RecoveryCopy copy;
  copy.FileName = QFile::encodeName(form.CurFileName()).toStdString();
  copy.Syntax = form.SyntaxName().toStdString();
  copy.SavedAt = 0;
  copy.DiskState = form.DiskWatch().State().toStdString();
  copy.Text = form.Editor()->GetText().toStdString();
  const std::string bytes = FormatRecoveryCopy(copy);
  return textfile::TryWriteOwnFile(path,
                                   QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

class TBench {
 public:
  explicit TBench(TForm1& form) : Form_(form), Editor_(*form.Editor()) {
    Delay_ = form.findChild<QTimer*>(QStringLiteral("RecoveryDelay"));
  }

  // One key in the middle of the document and its repaint.
  double Key() {
    QElapsedTimer t;
    t.start();
    QTest::keyClick(&Editor_, 'x');
    Editor_.viewport()->repaint();
    const double ms = Ms(t.nsecsElapsed());
    // Only this benchmark starts copies.
    if (Delay_ != nullptr) Delay_->stop();
    return ms;
  }

  void Run(const std::string& sample, std::size_t size, int rounds) {
    Editor_.SetTextBytes(Document(sample, size));
    Editor_.SetCaretPosition(Editor_.LineStart(Editor_.LastLine() / 2));
    Key();
    std::vector<double> before, after, turns, write, key, during, afterBefore, afterAfter;
    const QString oldPath = paths::RecoveryDir() + QStringLiteral("before.vwr");
    TRecovery& recovery = Form_.Recovery();
    for (int round = 0; round < rounds; ++round) {
      for (int i = 0; i < 3; ++i) key.push_back(Key());

      QElapsedTimer t;
      t.start();
      if (!WriteAsBefore(Form_, oldPath)) std::fprintf(stderr, "the old write failed\n");
      before.push_back(Ms(t.nsecsElapsed()));
      afterBefore.push_back(Key());

      bool done = false;
      QObject listening;
      QObject::connect(&recovery, &TRecovery::CopyFinished, &listening, [&done](bool written) {
        if (!written) std::fprintf(stderr, "the copy failed\n");
        done = true;
      });
      t.restart();
      recovery.StartCopy();
      const double start = Ms(t.nsecsElapsed());
      double longest = 0;
      double all = 0;
      // Typing goes on while the worker works.
      while (!done) {
        during.push_back(Key());
        QElapsedTimer turn;
        turn.start();
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        longest = std::max(longest, Ms(turn.nsecsElapsed()));
        all += Ms(turn.nsecsElapsed());
      }
      write.push_back(Ms(t.nsecsElapsed()));
      after.push_back(start + longest);
      turns.push_back(start + all);
      afterAfter.push_back(Key());
    }
    QFile::remove(oldPath);
    const double b = Median(before), a = Median(after);
    std::printf(
        "recovery size=%zu before_ui_ms=%.2f after_ui_ms=%.2f ratio=%.1f turns_ms=%.2f "
        "write_ms=%.1f "
        "key_ms=%.2f key_during_write_ms=%.2f/%.2f (%zu keys) key_after_before_ms=%.2f "
        "key_after_after_ms=%.2f\n",
        static_cast<std::size_t>(Editor_.Length()), b, a, a > 0 ? b / a : 0.0, Median(turns),
        Median(write), Median(key), Median(during), Max(during), during.size(), Median(afterBefore),
        Median(afterAfter));
    std::fflush(stdout);
  }

 private:
  TForm1& Form_;
  TEditorControl& Editor_;
  QTimer* Delay_ = nullptr;
};

std::vector<std::size_t> Sizes(int argc, char** argv) {
  const std::size_t mib = 1024 * 1024;
  std::vector<std::size_t> sizes = {mib, 20 * mib, 50 * mib};
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--sizes=", 8) != 0) continue;
    sizes.clear();
    for (const char* p = argv[i] + 8; *p != '\0';) {
      char* end = nullptr;
      sizes.push_back(std::strtoull(p, &end, 10));
      p = *end == ',' ? end + 1 : end;
    }
  }
  return sizes;
}

int Rounds(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--rounds=", 9) == 0) return std::max(1, std::atoi(argv[i] + 9));
  }
  return 5;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::size_t> sizes = Sizes(argc, argv);
  const int rounds = Rounds(argc, argv);
  const TBenchApplication application(argv);
  paths::EnsureSharedFolders();
  QDir().mkpath(paths::RecoveryDir());

  const std::string html = bench_inputs::Load("big.html");
  if (html.empty()) {
    std::fprintf(stderr, "no benchmark input\n");
    return 1;
  }
  TForm1 form;  // at its designed size
  form.show();
  QApplication::processEvents();
  form.SetSyntaxText(QStringLiteral("HTML"));
  TBench bench(form);
  for (std::size_t size : sizes) bench.Run(html, size, rounds);
  form.Recovery().EndNormally();
  return 0;
}
