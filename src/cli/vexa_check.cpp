// vexa-check: Check Page and Check Site without a window. One line per
// problem in the form compilers use, "FILE:LINE:COLUMN: error: message"
// (lines and columns from 1, as other tools read them), then a summary.
// Status 0 when nothing is an error, 1 when something is, 2 for bad usage
// and for a check that could not be done (no memory, output not written).
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "page_check.h"
#include "page_text.h"
#include "site_check.h"

namespace {

const char kUsage[] =
    "usage: vexa-check [--site] PATH...\n"
    "Checks web pages (HTML, PHP and ASP pages through HTML Tidy, XML for\n"
    "well-formedness), or with --site whole site folders, and prints one line per\n"
    "problem, FILE:LINE:COLUMN: error|warning|note: MESSAGE (lines and columns\n"
    "from 1), then a summary. Status: 0 no errors, 1 errors, 2 bad usage (or the\n"
    "check could not be done).\n"
    "  --site  each PATH is a site folder: every page's references, images\n"
    "          without alt text, pages without a title, HTML Tidy's errors and\n"
    "          the files of images/ and files/ that no page references\n"
    "  --help  this text\n";

int Usage(std::FILE* to, int status) {
  std::fputs(kUsage, to);
  return status;
}

// One line per problem, whatever a name or message holds.
std::string Printable(const std::string& s) {
  std::string out;
  for (const char c : s) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out;
}

struct TCounts {
  int Errors = 0;
  int Warnings = 0;
  int Files = 0;
};

void Print(TCounts& counts, const std::string& file, const int* line, const int* column,
           check::TSeverity severity, const std::string& message) {
  std::string out = Printable(file) + ":";
  if (line != nullptr) out += std::to_string(*line + 1) + ":" + std::to_string(*column + 1) + ":";
  out += std::string(" ") + check::SeverityWord(severity) + ": " + Printable(message) + "\n";
  std::fputs(out.c_str(), stdout);
  counts.Errors += severity == check::TSeverity::Error ? 1 : 0;
  counts.Warnings += severity == check::TSeverity::Warning ? 1 : 0;
}

void CheckOnePage(const std::string& path, TCounts& counts) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    Print(counts, path, nullptr, nullptr, check::TSeverity::Error,
          "a folder: check a site with --site");
    return;
  }
  const check::TPageKind kind = check::KindForFile(path);
  const check::TPageText page = check::ReadPageFile(path);
  if (page.Status == check::TPageStatus::Unreadable) {
    Print(counts, path, nullptr, nullptr, check::TSeverity::Error, page.Reason);
    return;
  }
  if (kind == check::TPageKind::None) {
    Print(counts, path, nullptr, nullptr, check::TSeverity::Info,
          "not checked: not an HTML, PHP, ASP or XML file");
    return;
  }
  if (page.Status != check::TPageStatus::Ok) {
    Print(counts, path, nullptr, nullptr, check::TSeverity::Warning, page.Reason);
    return;
  }
  ++counts.Files;
  check::TPageCheckInput input;
  input.Bytes = page.Bytes;
  input.Text = page.Text;
  input.Utf8 = page.Utf8;
  input.Kind = kind;
  std::vector<check::TProblem> problems;
  check::CheckPage(input, problems);
  for (const check::TProblem& p : problems) {
    Print(counts, path, &p.Line, &p.Column, p.Severity, p.Message);
  }
}

void CheckOneSite(const std::string& root, TCounts& counts) {
  const check::TSiteReport report = check::CheckSite(root);
  const std::string prefix = root.empty() || root.back() == '/' ? root : root + "/";
  for (const check::TSiteProblem& p : report.Problems) {
    std::string message = p.Problem;
    if (!p.Target.empty()) message += ": " + p.Target;
    Print(counts, p.Page.empty() ? root : prefix + p.Page, p.Placed ? &p.Line : nullptr,
          p.Placed ? &p.Column : nullptr, p.Severity, message);
  }
  for (const std::string& file : report.Unreferenced) {
    Print(counts, prefix + file, nullptr, nullptr, check::TSeverity::Info,
          check::site_problem::kUnreferenced);
  }
  std::printf("vexa-check: %s: %s\n", Printable(root).c_str(), check::Summary(report).c_str());
}

int Run(int argc, char** argv) {
  bool site = false;
  bool options = true;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (options && arg == "--help") return Usage(stdout, 0);
    if (options && arg == "--site") {
      site = true;
    } else if (options && arg == "--") {
      options = false;
    } else if (options && arg.size() > 1 && arg[0] == '-') {
      return Usage(stderr, 2);
    } else {
      paths.push_back(arg);
    }
  }
  if (paths.empty()) return Usage(stderr, 2);

  TCounts counts;
  for (const std::string& path : paths) {
    if (site) {
      CheckOneSite(path, counts);
    } else {
      CheckOnePage(path, counts);
    }
  }
  if (!site) {
    std::printf("vexa-check: %d %s checked: %d %s, %d %s\n", counts.Files,
                counts.Files == 1 ? "file" : "files", counts.Errors,
                counts.Errors == 1 ? "error" : "errors", counts.Warnings,
                counts.Warnings == 1 ? "warning" : "warnings");
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "vexa-check: cannot write standard output: %s\n", std::strerror(errno));
    return 2;
  }
  return counts.Errors > 0 ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::bad_alloc&) {
    std::fputs("vexa-check: out of memory\n", stderr);
    return 2;
  }
}
