// The documents opened or saved last, newest first, each once, as the File
// menu offers them again. The list is kept in the settings file in a section
// of its own, after the options, so the other sections stay as they are.
#pragma once

#include <QStringList>

class IniFile;

class TRecentFiles {
 public:
  static constexpr int kMaxFiles = 8;

  const QStringList& Paths() const { return Paths_; }
  // Puts a full path first; an entry already there moves up, the oldest
  // beyond eight drops off.
  void Add(const QString& path);
  void Remove(const QString& path);

  // Section "Vexa Recent", keys "File1" to "File8"; empty keys are unused.
  void Read(const IniFile& ini);
  void Write(IniFile& ini) const;

 private:
  QStringList Paths_;
};
