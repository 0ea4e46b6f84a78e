// What the quick-code windows may ask of each other. The manager shows two
// lists, the list chooser keeps which files they come from, and the list
// editor takes the source list a picker chose; each window implements its
// interface and the others reach it by form name (forms::As).
#pragma once

#include <QString>

// The manager (frmmanager): its two quick-code lists, 1 and 2.
class TQuickCodeLists {
 public:
  virtual ~TQuickCodeLists() = default;
  // Reads a list file into list 1 or 2. A file that cannot be read throws and
  // the list keeps its entries.
  virtual void LoadList(int list, const QString& path) = 0;
};

// The list chooser (frmopenlists): the files of lists 1 and 2, full paths,
// empty until chosen.
class TListChoice {
 public:
  virtual ~TListChoice() = default;
  virtual QString ListPath(int list) const = 0;
  virtual void SetListPath(int list, const QString& path) = 0;
};

// The list editor (frmnewedit): the list it builds from.
class TListSource {
 public:
  virtual ~TListSource() = default;
  // Reads a list file into the source list; throws as LoadList does.
  virtual void LoadSourceList(const QString& path) = 0;
  // Opens a user list for changing; saving writes back to it.
  virtual void OpenUserList(const QString& path) = 0;
};

// The manager's share of the settings: its three start-up boxes, its page
// and its file list.
class TManagerOptions {
 public:
  enum TStartupBox { kShowProjects, kShowManager, kShowPreview };
  virtual ~TManagerOptions() = default;
  virtual bool StartupFlag(TStartupBox box) const = 0;
  virtual void SetStartupFlag(TStartupBox box, bool on) = 0;
  virtual int PageIndex() const = 0;
  // Points the file list at a folder.
  virtual void SetFileListFolder(const QString& folder) = 0;
};
