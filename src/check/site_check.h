// Check Site: every page (.htm, .html, .php) and style sheet of a site folder,
// with one report of references to local files that are missing, that exist
// only where case is ignored, that leave the site or name a local path;
// images without alt text, pages without a title, libtidy's errors, and the
// files of images/ and files/ that nothing references. Pages are checked on
// as many threads as the machine has cores; the check can be cancelled and
// reports its progress as it goes.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "check_problem.h"

namespace check {

struct TSiteProblem {
  std::string Page;    // relative to the site folder, "/" between names
  int Line = 0;        // from 0
  int Column = 0;      // characters, from 0
  bool Placed = true;  // false for a file or folder as a whole (Line and Column 0)
  TSeverity Severity = TSeverity::Error;
  std::string Problem;
  std::string Target;  // the reference as written, where there is one
};

struct TSiteReport {
  std::vector<TSiteProblem> Problems;     // by page, then by place
  std::vector<std::string> Unreferenced;  // files of images/ and files/ no page references
  int Pages = 0;                          // pages checked
  int StyleSheets = 0;                    // style sheets read for their references
  int References = 0;                     // references to files of the site
  int External = 0;  // references to other sites and mail addresses, not fetched
  int Errors = 0;
  int Warnings = 0;
  bool Cancelled = false;
};

// What a check has done so far, read from any thread while it runs.
struct TSiteProgress {
  std::atomic<int> Total{0};  // 0 while the site is being listed
  std::atomic<int> Done{0};
};

// Checks the site under `root`. `threads` 0 takes one per core.
TSiteReport CheckSite(const std::string& root, const std::atomic<bool>* cancel = nullptr,
                      TSiteProgress* progress = nullptr, int threads = 0);

// "3 pages, 1 style sheet, 12 references (2 external, not fetched): 5 errors,
// 2 warnings, 1 file not referenced"
std::string Summary(const TSiteReport& report);

// The texts of the report.
namespace site_problem {
inline constexpr char kMissing[] = "missing file";
inline constexpr char kLeavesSite[] = "leaves the site folder";
inline constexpr char kLocalPath[] = "a local file path";
inline constexpr char kNoAlt[] = "<img> without alt text";
inline constexpr char kNoTitle[] = "page without <title>";
inline constexpr char kUnreferenced[] = "not referenced by any page";
// "differs in case from images/logo.png"
std::string CaseDiffers(const std::string& actualPath);
}  // namespace site_problem

}  // namespace check
