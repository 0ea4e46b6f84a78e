#include "site_check.h"

#include <algorithm>
#include <thread>

#include "page_check.h"
#include "page_markup.h"
#include "page_text.h"
#include "references.h"
#include "site_index.h"
#include "utf8_text.h"

namespace check {

std::string site_problem::CaseDiffers(const std::string& actualPath) {
  return "differs in case from " + actualPath;
}

namespace {

bool HasExtension(const std::string& name, std::initializer_list<const char*> extensions) {
  const std::string lower = AsciiLower(name);
  for (const char* e : extensions) {
    const std::string ext(e);
    if (lower.size() > ext.size() && lower.compare(lower.size() - ext.size(), ext.size(), ext) == 0)
      return true;
  }
  return false;
}

// The folder part of a "/"-separated path, with its final "/", or "".
std::string FolderPart(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

struct TFileResult {
  std::vector<TSiteProblem> Problems;
  std::vector<TEntryRef> Referenced;
  int References = 0;
  int External = 0;
  bool Page = false;
};

class TSiteChecker {
 public:
  TSiteChecker(const TSiteIndex& index, const std::atomic<bool>* cancel)
      : Index_(index), Cancel_(cancel) {}

  TFileResult CheckFile(TEntryRef file, bool page) {
    TFileResult result;
    result.Page = page;
    const std::string path = Index_.PathOf(file);
    const TPageText text = ReadPageFile(Index_.Root() + "/" + path);
    if (text.Status != TPageStatus::Ok) {
      result.Problems.push_back({path, 0, 0, false, TSeverity::Warning, text.Reason, {}});
      return result;
    }
    const TTextPositions positions(text.Text, text.Utf8);
    const auto place = [&](std::size_t offset, TSeverity severity, std::string problem,
                           std::string target) {
      Add(result, path, positions.LineOf(offset), positions.ColumnOf(offset), severity,
          std::move(problem), std::move(target));
    };
    std::vector<TReference> references;
    TPageFacts facts;
    const bool blocks = HasExtension(path, {".php"});
    if (page) {
      const TPageMarkup markup = ScanMarkup(text.Text, blocks);
      facts = AnalysePage(text.Text, markup);
      references = std::move(facts.References);
    } else {
      FindCssReferences(text.Text, 0, references);
    }
    for (TReference& r : references) {
      // A page in code page 1252 means its letters: paths name files in UTF-8.
      if (!text.Utf8) r.Text = Cp1252ToUtf8(r.Text);
      Resolve(result, file.Folder, facts, r, place);
    }
    if (!page) return result;

    for (const std::size_t img : facts.ImagesWithoutAlt) {
      place(img, TSeverity::Warning, site_problem::kNoAlt, ImageSource(text.Text, img));
    }
    // A PHP part of a page (an include without <html> or <head> of its own)
    // gets its title from the page that includes it.
    const bool part = facts.HasBlocks && !facts.HasHtml && !facts.HasHead;
    if (!facts.HasTitle && !part) {
      place(facts.HasHead ? facts.HeadOffset : 0, TSeverity::Warning, site_problem::kNoTitle, {});
    }
    bool cancelled = false;
    for (const TProblem& p : CheckHtml(text.Text, text.Utf8, blocks, true, Cancel_, &cancelled)) {
      Add(result, path, p.Line, p.Column, p.Severity, p.Message, {});
    }
    return result;
  }

 private:
  template <typename Place>
  void Resolve(TFileResult& result, int folder, const TPageFacts& facts, const TReference& r,
               const Place& place) {
    TTarget target = ClassifyReference(r.Text);
    if (target.Class == TReferenceClass::Site && !target.FromRoot && facts.HasBase) {
      // A base address moves every relative reference with it.
      const TTarget base = ClassifyReference(facts.Base);
      if (base.Class == TReferenceClass::External || base.Class == TReferenceClass::LocalPath) {
        target.Class = base.Class;
      } else if (base.Class == TReferenceClass::Site) {
        target.Path = FolderPart(base.Path) + target.Path;
        target.FromRoot = base.FromRoot;
      }
    }
    switch (target.Class) {
      case TReferenceClass::Ignored:
        return;
      case TReferenceClass::External:
        ++result.External;
        return;
      case TReferenceClass::LocalPath:
        ++result.References;
        place(r.Offset, TSeverity::Error, site_problem::kLocalPath, r.Text);
        return;
      case TReferenceClass::Site:
        break;
    }
    ++result.References;
    const TLookupResult found = Index_.Lookup(folder, target.Path, target.FromRoot);
    switch (found.Status) {
      case TLookup::Found:
        result.Referenced.push_back(found.Entry);
        break;
      case TLookup::CaseOnly:
        result.Referenced.push_back(found.Entry);
        place(r.Offset, TSeverity::Error, site_problem::CaseDiffers(found.ActualPath), r.Text);
        break;
      case TLookup::Missing:
        place(r.Offset, TSeverity::Error, site_problem::kMissing, r.Text);
        break;
      case TLookup::LeavesSite:
        place(r.Offset, TSeverity::Error, site_problem::kLeavesSite, r.Text);
        break;
    }
  }

  static std::string ImageSource(const std::string& text, std::size_t img) {
    const TPageMarkup tag = ScanMarkup(std::string_view(text).substr(img, 4096), false);
    if (tag.Tags.empty()) return {};
    const TAttribute* src = tag.Tags.front().Find("src");
    if (src == nullptr || !src->HasValue) return {};
    return DecodeCharacterReferences(
        std::string_view(text).substr(img + src->ValueBegin, src->ValueEnd - src->ValueBegin));
  }

  static void Add(TFileResult& result, const std::string& page, int line, int column,
                  TSeverity severity, std::string problem, std::string target) {
    result.Problems.push_back(
        {page, line, column, true, severity, std::move(problem), std::move(target)});
  }

  const TSiteIndex& Index_;
  const std::atomic<bool>* Cancel_;
};

bool Cancelled(const std::atomic<bool>* cancel) { return cancel != nullptr && cancel->load(); }

}  // namespace

TSiteReport CheckSite(const std::string& root, const std::atomic<bool>* cancel,
                      TSiteProgress* progress, int threads) {
  TSiteReport report;
  TSiteIndex index;
  std::vector<TSiteNotice> notices;
  index.Build(root, notices, cancel);
  for (const TSiteNotice& n : notices) {
    report.Problems.push_back(
        {n.Path, 0, 0, false, n.Error ? TSeverity::Error : TSeverity::Warning, n.Message, {}});
  }
  if (Cancelled(cancel)) {
    report.Cancelled = true;
    return report;
  }

  struct TWork {
    TEntryRef File;
    bool Page;
  };
  std::vector<TWork> work;
  for (const TEntryRef file : index.Files()) {
    const std::string& name = index.Entry(file).Name;
    if (HasExtension(name, {".htm", ".html", ".php"})) {
      work.push_back({file, true});
    } else if (HasExtension(name, {".css"})) {
      work.push_back({file, false});
    }
  }
  if (progress != nullptr) progress->Total = static_cast<int>(work.size());

  std::vector<TFileResult> results(work.size());
  std::atomic<std::size_t> next{0};
  TSiteChecker checker(index, cancel);
  auto run = [&] {
    for (std::size_t i = next++; i < work.size() && !Cancelled(cancel); i = next++) {
      results[i] = checker.CheckFile(work[i].File, work[i].Page);
      if (progress != nullptr) ++progress->Done;
    }
  };
  unsigned count = threads > 0 ? static_cast<unsigned>(threads)
                               : std::max(1u, std::thread::hardware_concurrency());
  count = std::min<unsigned>(count, std::max<std::size_t>(1, work.size()));
  std::vector<std::thread> workers;
  for (unsigned t = 1; t < count; ++t) workers.emplace_back(run);
  run();
  for (std::thread& w : workers) w.join();
  if (Cancelled(cancel)) {
    report.Cancelled = true;
    return report;
  }

  std::vector<std::vector<bool>> referenced(index.Folders().size());
  for (std::size_t f = 0; f < index.Folders().size(); ++f) {
    referenced[f].assign(index.Folders()[f].Entries.size(), false);
  }
  for (TFileResult& r : results) {
    report.Pages += r.Page ? 1 : 0;
    report.StyleSheets += r.Page ? 0 : 1;
    report.References += r.References;
    report.External += r.External;
    for (const TEntryRef ref : r.Referenced) {
      if (ref.Entry >= 0) referenced[ref.Folder][ref.Entry] = true;
    }
    for (TSiteProblem& p : r.Problems) report.Problems.push_back(std::move(p));
  }
  for (const TEntryRef file : index.Files()) {
    const std::string path = index.PathOf(file);
    const bool kept = path.compare(0, 7, "images/") == 0 || path.compare(0, 6, "files/") == 0;
    if (kept && !referenced[file.Folder][file.Entry]) report.Unreferenced.push_back(path);
  }
  std::sort(report.Unreferenced.begin(), report.Unreferenced.end());
  std::stable_sort(report.Problems.begin(), report.Problems.end(),
                   [](const TSiteProblem& a, const TSiteProblem& b) {
                     if (a.Page != b.Page) return a.Page < b.Page;
                     if (a.Line != b.Line) return a.Line < b.Line;
                     return a.Column < b.Column;
                   });
  for (const TSiteProblem& p : report.Problems) {
    report.Errors += p.Severity == TSeverity::Error ? 1 : 0;
    report.Warnings += p.Severity == TSeverity::Warning ? 1 : 0;
  }
  return report;
}

std::string Summary(const TSiteReport& report) {
  const auto count = [](int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
  };
  std::string s = count(report.Pages, "page", "pages");
  if (report.StyleSheets > 0) s += ", " + count(report.StyleSheets, "style sheet", "style sheets");
  s += ", " + count(report.References, "reference", "references") + " (" +
       std::to_string(report.External) +
       " external, not fetched): " + count(report.Errors, "error", "errors") + ", " +
       count(report.Warnings, "warning", "warnings") + ", " +
       count(static_cast<int>(report.Unreferenced.size()), "file not referenced",
             "files not referenced");
  if (report.Cancelled) s += " (cancelled)";
  return s;
}

}  // namespace check
