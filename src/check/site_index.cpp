#include "site_index.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "page_markup.h"

namespace check {
namespace {

std::string Join(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : folder + "/" + name;
}

std::string RealPath(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : std::string();
}

}  // namespace

bool TSiteIndex::Build(const std::string& root, std::vector<TSiteNotice>& notices,
                       const std::atomic<bool>* cancel) {
  Root_ = root;
  while (Root_.size() > 1 && Root_.back() == '/') Root_.pop_back();
  RealRoot_ = RealPath(Root_);
  Folders_.clear();
  Listed_.clear();
  struct stat info {};
  const char* failure = nullptr;
  if (RealRoot_.empty() || ::stat(RealRoot_.c_str(), &info) != 0) {
    failure = std::strerror(errno);
  } else if (!S_ISDIR(info.st_mode)) {
    failure = "not a folder";
  }
  if (failure != nullptr) {
    notices.push_back({"", std::string("cannot read the site folder: ") + failure, true});
    return false;
  }
  Listed_[{info.st_dev, info.st_ino}] = 0;
  Folders_.push_back({});
  // Folders are listed in the order they are found; the list grows as it goes.
  for (std::size_t f = 0; f < Folders_.size(); ++f) {
    if (cancel != nullptr && cancel->load()) return true;
    List(static_cast<int>(f), notices);
  }
  return true;
}

void TSiteIndex::List(int folder, std::vector<TSiteNotice>& notices) {
  const std::string relative = Folders_[folder].Path;
  const std::string absolute = relative.empty() ? Root_ : Root_ + "/" + relative;
  DIR* dir = ::opendir(absolute.c_str());
  if (dir == nullptr) {
    notices.push_back({relative, std::string("folder not checked: ") + std::strerror(errno)});
    return;
  }
  const int fd = ::dirfd(dir);
  std::vector<TSiteEntry> entries;
  while (const dirent* d = ::readdir(dir)) {
    const std::string name = d->d_name;
    if (name == "." || name == "..") continue;
    TSiteEntry entry;
    entry.Name = name;
    unsigned char type = d->d_type;
    struct stat info {};
    if (type == DT_UNKNOWN) {
      if (::fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
      type = S_ISLNK(info.st_mode)   ? DT_LNK
             : S_ISDIR(info.st_mode) ? DT_DIR
             : S_ISREG(info.st_mode) ? DT_REG
                                     : DT_FIFO;
    }
    const std::string path = Join(relative, name);
    bool descend = false;
    if (type == DT_REG) {
      entry.Kind = TEntryKind::File;
    } else if (type == DT_DIR) {
      descend = ::fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
      entry.Kind = TEntryKind::Folder;
    } else if (type == DT_LNK) {
      if (::fstatat(fd, name.c_str(), &info, 0) != 0) {
        entry.Kind = TEntryKind::Broken;
        if (errno == ELOOP) notices.push_back({path, "not followed: a symbolic link loop"});
      } else {
        const std::string target = RealPath(absolute + "/" + name);
        const bool inside =
            target == RealRoot_ || (target.size() > RealRoot_.size() &&
                                    target.compare(0, RealRoot_.size(), RealRoot_) == 0 &&
                                    (RealRoot_ == "/" || target[RealRoot_.size()] == '/'));
        if (!inside) {
          entry.Kind = TEntryKind::Outside;
          notices.push_back({path, "not followed: a symbolic link out of the site"});
        } else if (S_ISDIR(info.st_mode)) {
          entry.Kind = TEntryKind::Folder;
          descend = true;
        } else {
          entry.Kind = S_ISREG(info.st_mode) ? TEntryKind::File : TEntryKind::Special;
        }
      }
    } else {
      entry.Kind = TEntryKind::Special;
    }
    if (descend) {
      const auto [known, added] =
          Listed_.try_emplace({info.st_dev, info.st_ino}, static_cast<int>(Folders_.size()));
      entry.Folder = known->second;
      if (added) {
        TSiteFolder child;
        child.Path = path;
        child.Parent = folder;
        Folders_.push_back(std::move(child));
      }
    }
    entries.push_back(std::move(entry));
  }
  ::closedir(dir);
  // Listed in name order, so reports come out the same on every machine.
  std::sort(entries.begin(), entries.end(),
            [](const TSiteEntry& a, const TSiteEntry& b) { return a.Name < b.Name; });
  TSiteFolder& f = Folders_[folder];
  f.Entries = std::move(entries);
  for (std::size_t i = 0; i < f.Entries.size(); ++i) {
    f.Exact.emplace(f.Entries[i].Name, static_cast<int>(i));
    f.Folded[AsciiLower(f.Entries[i].Name)].push_back(static_cast<int>(i));
  }
}

std::string TSiteIndex::PathOf(TEntryRef ref) const {
  return Join(Folders_[ref.Folder].Path, Entry(ref).Name);
}

std::vector<TEntryRef> TSiteIndex::Files() const {
  std::vector<TEntryRef> files;
  for (std::size_t f = 0; f < Folders_.size(); ++f) {
    for (std::size_t e = 0; e < Folders_[f].Entries.size(); ++e) {
      if (Folders_[f].Entries[e].Kind == TEntryKind::File) {
        files.push_back({static_cast<int>(f), static_cast<int>(e)});
      }
    }
  }
  return files;
}

TLookupResult TSiteIndex::Lookup(int fromFolder, std::string_view path, bool fromRoot) const {
  TLookupResult result;
  std::vector<int> chain;
  for (int f = fromRoot ? 0 : fromFolder; f >= 0; f = Folders_[f].Parent) chain.push_back(f);
  std::reverse(chain.begin(), chain.end());
  bool caseOnly = false;
  std::size_t at = 0;
  while (at <= path.size()) {
    std::size_t slash = path.find('/', at);
    if (slash == std::string_view::npos) slash = path.size();
    const std::string_view part = path.substr(at, slash - at);
    const bool last = slash >= path.size();
    at = slash + 1;
    if (part.empty() || part == ".") {
      if (last) break;
      continue;
    }
    if (part == "..") {
      if (chain.size() == 1) {
        result.Status = TLookup::LeavesSite;
        return result;
      }
      chain.pop_back();
      if (last) break;
      continue;
    }
    const TSiteFolder& folder = Folders_[chain.back()];
    int index = -1;
    const std::string name(part);
    if (auto exact = folder.Exact.find(name); exact != folder.Exact.end()) {
      index = exact->second;
    } else if (auto folded = folder.Folded.find(AsciiLower(name)); folded != folder.Folded.end()) {
      index = folded->second.front();
      caseOnly = true;
    } else {
      return result;  // missing
    }
    const TSiteEntry& entry = folder.Entries[index];
    if (entry.Kind == TEntryKind::Broken) return result;
    if (entry.Kind == TEntryKind::Folder && entry.Folder >= 0) {
      chain.push_back(entry.Folder);
      if (last) break;
      continue;
    }
    if (!last) {
      // Only a link out of the site may hold more; a file holds nothing.
      if (entry.Kind != TEntryKind::Outside) return result;
      result.Status = caseOnly ? TLookup::CaseOnly : TLookup::Found;
      result.ActualPath = Join(folder.Path, entry.Name);
      return result;
    }
    result.Status = caseOnly ? TLookup::CaseOnly : TLookup::Found;
    result.Entry = {chain.back(), index};
    result.ActualPath = Join(folder.Path, entry.Name);
    return result;
  }
  result.Status = caseOnly ? TLookup::CaseOnly : TLookup::Found;
  result.Entry = {chain.back(), -1};
  result.ActualPath = Folders_[chain.back()].Path;
  return result;
}

}  // namespace check
