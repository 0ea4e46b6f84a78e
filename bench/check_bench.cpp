// The checks' figures, side by side in one run:
//   check_site pages=1000 ... median_ms=.. min_ms=.. one_thread_median_ms=..
//     Check Site on a generated site of 1,000 pages (20 folders, style sheets,
//     images, files, links between the pages, some of them broken), on every
//     core and on one;
//   idle_loop longest_stall_ms=.. longest_busy_cpu_ms=..
//     the event loop with nothing to do: what the machine's load alone costs;
//   check_page input=big.html size=.. problems=.. until_marked_median_ms=..
//     longest_stall_median_ms=.. longest_busy_cpu_median_ms=.. ..._max_ms=..
//     Check Page of the 1 MiB inputs in the real main window, offscreen, five
//     times: the time from the check's start until every problem is marked;
//     the longest gap between two turns of the user-interface thread's event
//     loop meanwhile, on the clock (the machine's load included) and in that
//     thread's own processor time (the work of one turn);
//   keystroke automatic_off_median_ms=.. automatic_on_median_ms=.. ratio=..
//     cpu_off_median_ms=.. cpu_on_median_ms=.. cpu_ratio=..
//     keys typed into the 1 MiB HTML page without the checks, and with
//     "Check Automatically" on and the page's problems marked, in turns: on
//     the clock and in the user-interface thread's processor time.
//   check_bench [--benchmark_* flags are accepted and ignored]
#include <benchmark/benchmark.h>

#include <time.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "application.h"
#include "bench_app.h"
#include "bench_inputs.h"
#include "check_commands.h"
#include "editor_control.h"
#include "main_window.h"
#include "page_checker.h"
#include "site_check.h"

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

double Ms(qint64 ns) { return static_cast<double>(ns) / 1e6; }

void Write(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// 1,000 pages of about 4 KB, the same bytes on every run.
int GenerateSite(const std::filesystem::path& root) {
  int files = 0;
  const std::string paragraph =
      "<p>Lorem ipsum dolor sit amet, <b>consectetur</b> adipiscing elit, sed do eiusmod tempor "
      "incididunt ut labore et <i>dolore</i> magna aliqua. Ut enim ad minim veniam.</p>\r\n";
  for (int i = 0; i < 300; ++i, ++files) {
    Write(root / "images" / ("img" + std::to_string(i) + ".png"), "png");
  }
  for (int i = 0; i < 50; ++i, ++files) {
    Write(root / "files" / ("doc" + std::to_string(i) + ".pdf"), "pdf");
  }
  Write(root / "style.css", "body { background: url(images/img0.png) }\r\n");
  ++files;
  for (int n = 0; n < 1000; ++n, ++files) {
    const int folder = n / 50;
    std::string page =
        "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<title>Page " + std::to_string(n) +
        "</title>\r\n<link rel=\"stylesheet\" href=\"../style.css\">\r\n</head>\r\n<body>\r\n"
        "<h1><img src=\"../images/img" +
        std::to_string(n % 300) + ".png\" alt=\"logo\"> Page</h1>\r\n";
    for (int k = 0; k < 10; ++k) {
      const int other = (n * 7 + k * 13) % 1000;
      page += "<a href=\"../sub" + std::to_string(other / 50) + "/page" + std::to_string(other) +
              ".htm\">page " + std::to_string(other) + "</a>\r\n";
      page += paragraph;
    }
    if (n % 10 == 0) page += "<a href=\"missing" + std::to_string(n) + ".htm\">gone</a>\r\n";
    if (n % 50 == 0) page += "<img src=\"../Images/IMG1.png\" alt=\"case\">\r\n";
    page += "<a href=\"../files/doc" + std::to_string(n % 50) +
            ".pdf\">doc</a> <a href=\"http://example.org/\">out</a>\r\n</body>\r\n</html>\r\n";
    Write(root / ("sub" + std::to_string(folder)) / ("page" + std::to_string(n) + ".htm"), page);
  }
  return files;
}

void BenchSite() {
  QTemporaryDir dir;
  const std::filesystem::path root = (dir.path() + "/site").toStdString();
  const int files = GenerateSite(root);
  std::vector<double> all;
  std::vector<double> one;
  check::TSiteReport report;
  for (int run = 0; run < 5; ++run) {
    QElapsedTimer t;
    t.start();
    report = check::CheckSite(root.string());
    all.push_back(Ms(t.nsecsElapsed()));
    t.restart();
    check::CheckSite(root.string(), nullptr, nullptr, 1);
    one.push_back(Ms(t.nsecsElapsed()));
  }
  std::printf(
      "check_site pages=%d files=%d references=%d errors=%d threads=%u median_ms=%.0f "
      "min_ms=%.0f one_thread_median_ms=%.0f\n",
      report.Pages, files, report.References, report.Errors, std::thread::hardware_concurrency(),
      Median(all), *std::min_element(all.begin(), all.end()), Median(one));
}

// The user-interface thread's own processor time: what the loop spent on
// work, apart from the time the system gave other programs.
double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Times every turn of the event loop while it runs: the longest gap between
// two turns on the clock, and the most processor time one turn took.
class THeartbeat {
 public:
  THeartbeat() {
    Timer_.setInterval(0);
    QObject::connect(&Timer_, &QTimer::timeout, [this] { Beat(); });
  }
  void Start() {
    Wall_.start();
    Cpu_ = ThreadCpuMs();
    Timer_.start();
  }
  void Stop() {
    Beat();
    Timer_.stop();
  }
  double LongestWallMs() const { return LongestWall_; }
  double LongestCpuMs() const { return LongestCpu_; }

 private:
  void Beat() {
    LongestWall_ = std::max(LongestWall_, Ms(Wall_.nsecsElapsed()));
    const double cpu = ThreadCpuMs();
    LongestCpu_ = std::max(LongestCpu_, cpu - Cpu_);
    Wall_.restart();
    Cpu_ = cpu;
  }

  QTimer Timer_;
  QElapsedTimer Wall_;
  double Cpu_ = 0;
  double LongestWall_ = 0;
  double LongestCpu_ = 0;
};

// The loop with nothing to do for a while: what the machine's load alone
// costs the clock figures below.
void BenchIdle() {
  QEventLoop loop;
  THeartbeat heart;
  heart.Start();
  QTimer::singleShot(300, &loop, &QEventLoop::quit);
  loop.exec();
  heart.Stop();
  std::printf("idle_loop longest_stall_ms=%.1f longest_busy_cpu_ms=%.1f\n", heart.LongestWallMs(),
              heart.LongestCpuMs());
}

// Runs Check Page from the event loop, as the automatic check's timer does,
// and times every turn of the loop until the problems are marked.
void BenchPage(TForm1& form, const char* name, const char* syntax) {
  const std::string input = bench_inputs::Load(name);
  form.SetSyntaxText(QString::fromLatin1(syntax));
  form.Editor()->SetTextBytes(QByteArray::fromStdString(input));
  form.synlistChange();
  TPageChecker& checker = form.Checks().Checker();
  std::vector<double> stalls;
  std::vector<double> busy;
  std::vector<double> walls;
  for (int run = 0; run < 5; ++run) {
    checker.Clear();
    QEventLoop loop;
    QObject::connect(&checker, &TPageChecker::Finished, &loop, &QEventLoop::quit);
    QElapsedTimer wall;
    THeartbeat heart;
    QTimer::singleShot(0, [&] {
      wall.start();
      heart.Start();
      QMetaObject::invokeMethod(checker.DelayTimer(), "timeout");
    });
    loop.exec();
    heart.Stop();
    walls.push_back(Ms(wall.nsecsElapsed()));
    stalls.push_back(heart.LongestWallMs());
    busy.push_back(heart.LongestCpuMs());
  }
  std::printf(
      "check_page input=%s size=%zu problems=%zu until_marked_median_ms=%.0f "
      "longest_stall_median_ms=%.1f longest_busy_cpu_median_ms=%.1f longest_busy_cpu_max_ms=%.1f\n",
      name, input.size(), checker.Problems().size(), Median(walls), Median(stalls), Median(busy),
      *std::max_element(busy.begin(), busy.end()));
}

struct TKeyTimes {
  std::vector<double> Wall;
  std::vector<double> Cpu;  // the user-interface thread's own processor time
};

TKeyTimes Type(TForm1& form, int keys) {
  TEditorControl* editor = form.Editor();
  editor->SetCaretPosition(editor->Length() / 2);
  TKeyTimes times;
  for (int i = 0; i < keys; ++i) {
    QElapsedTimer t;
    t.start();
    const double cpu = ThreadCpuMs();
    QTest::keyClick(editor, i % 2 == 0 ? Qt::Key_X : Qt::Key_Backspace);
    editor->viewport()->repaint();
    times.Cpu.push_back(ThreadCpuMs() - cpu);
    times.Wall.push_back(Ms(t.nsecsElapsed()));
  }
  return times;
}

void BenchKeys(TForm1& form) {
  const std::string input = bench_inputs::Load("big.html");
  form.SetSyntaxText(QStringLiteral("HTML"));
  form.Editor()->SetTextBytes(QByteArray::fromStdString(input));
  form.synlistChange();
  TPageChecker& checker = form.Checks().Checker();
  form.Checks().SetAutomatic(false);
  checker.Clear();
  // Off and on, in turns, so that the machine's load falls on both alike.
  TKeyTimes off;
  TKeyTimes on;
  for (int round = 0; round < 3; ++round) {
    form.Checks().SetAutomatic(false);
    checker.Clear();
    const TKeyTimes a = Type(form, 30);
    off.Wall.insert(off.Wall.end(), a.Wall.begin(), a.Wall.end());
    off.Cpu.insert(off.Cpu.end(), a.Cpu.begin(), a.Cpu.end());
    form.Checks().SetAutomatic(true);
    QEventLoop loop;
    QObject::connect(&checker, &TPageChecker::Finished, &loop, &QEventLoop::quit);
    checker.CheckNow();
    loop.exec();
    const TKeyTimes b = Type(form, 30);
    on.Wall.insert(on.Wall.end(), b.Wall.begin(), b.Wall.end());
    on.Cpu.insert(on.Cpu.end(), b.Cpu.begin(), b.Cpu.end());
  }
  std::printf(
      "keystroke input=big.html automatic_off_median_ms=%.2f automatic_on_median_ms=%.2f "
      "ratio=%.2f cpu_off_median_ms=%.2f cpu_on_median_ms=%.2f cpu_ratio=%.2f "
      "problems_marked=%zu\n",
      Median(off.Wall), Median(on.Wall), Median(on.Wall) / std::max(Median(off.Wall), 1e-3),
      Median(off.Cpu), Median(on.Cpu), Median(on.Cpu) / std::max(Median(off.Cpu), 1e-3),
      checker.Problems().size());
  form.Checks().SetAutomatic(false);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const TBenchApplication application(argv);

  BenchSite();
  BenchIdle();
  TForm1 form;
  form.show();
  QApplication::processEvents();
  BenchPage(form, "big.html", "HTML");
  BenchPage(form, "big.php", "PHP");
  BenchPage(form, "big.xml", "XML");
  BenchKeys(form);
  form.StopPreviewTimer();
  return 0;
}
