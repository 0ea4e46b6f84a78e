// The files of a site, listed once, so that every reference is looked up in
// memory: by exact name, or by name without regard to case to tell a name
// that works only where case is ignored. Symbolic links inside the site are
// followed once; links that loop or lead out of the site are not followed.
#pragma once

#include <atomic>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace check {

enum class TEntryKind {
  File,     // a regular file, or a link to one inside the site
  Folder,   // listed in Folders
  Special,  // a FIFO, device or socket
  Outside,  // a link that leads out of the site: exists, not followed
  Broken,   // a link to nothing, or one that loops
};

struct TSiteEntry {
  std::string Name;
  TEntryKind Kind = TEntryKind::File;
  int Folder = -1;  // the listing of a folder (of its target, for a link)
};

struct TSiteFolder {
  std::string Path;  // relative to the site's root, "" for the root
  int Parent = -1;
  std::vector<TSiteEntry> Entries;
  std::unordered_map<std::string, int> Exact;
  std::unordered_map<std::string, std::vector<int>> Folded;  // by ASCII lower case
};

// Something the walk could not do, for the report.
struct TSiteNotice {
  std::string Path;  // relative to the root
  std::string Message;
  bool Error = false;  // the site itself cannot be read
};

struct TEntryRef {
  int Folder = -1;
  int Entry = -1;
};

enum class TLookup { Found, CaseOnly, Missing, LeavesSite };

struct TLookupResult {
  TLookup Status = TLookup::Missing;
  TEntryRef Entry;         // Found, CaseOnly: the file (Entry -1 for a folder)
  std::string ActualPath;  // Found, CaseOnly: the path as the names are spelt
};

class TSiteIndex {
 public:
  // Lists the site under `root` (which must be a folder). False, with a
  // notice, when the root cannot be listed at all.
  bool Build(const std::string& root, std::vector<TSiteNotice>& notices,
             const std::atomic<bool>* cancel);

  const std::string& Root() const { return Root_; }  // as given, without a final "/"
  const std::vector<TSiteFolder>& Folders() const { return Folders_; }
  const TSiteEntry& Entry(TEntryRef ref) const { return Folders_[ref.Folder].Entries[ref.Entry]; }
  std::string PathOf(TEntryRef ref) const;  // relative to the root

  // Every file in the site, folder by folder.
  std::vector<TEntryRef> Files() const;

  // Looks a "/"-separated path up from a folder, or from the root.
  TLookupResult Lookup(int fromFolder, std::string_view path, bool fromRoot) const;

 private:
  void List(int folder, std::vector<TSiteNotice>& notices);

  std::string Root_;
  std::string RealRoot_;
  std::vector<TSiteFolder> Folders_;
  // Each folder is listed once: a link to a folder listed already leads to it.
  std::map<std::pair<unsigned long long, unsigned long long>, int> Listed_;  // device, inode
};

}  // namespace check
