#include "recent_files.h"

#include <QFile>
#include <string>

#include "ini_file.h"

namespace {

constexpr char kSection[] = "Vexa Recent";

std::string Key(int index) { return "File" + std::to_string(index + 1); }

}  // namespace

void TRecentFiles::Add(const QString& path) {
  if (path.isEmpty()) return;
  Paths_.removeAll(path);
  Paths_.prepend(path);
  while (Paths_.size() > kMaxFiles) Paths_.removeLast();
}

void TRecentFiles::Remove(const QString& path) { Paths_.removeAll(path); }

void TRecentFiles::Read(const IniFile& ini) {
  Paths_.clear();
  for (int i = 0; i < kMaxFiles; ++i) {
    // File names are kept as the file system spells them.
    const QString path =
        QFile::decodeName(QByteArray::fromStdString(ini.ReadString(kSection, Key(i), "")));
    if (!path.isEmpty() && !Paths_.contains(path)) Paths_.append(path);
  }
}

void TRecentFiles::Write(IniFile& ini) const {
  // Every key is written, the unused ones empty, so a shorter list leaves no
  // old entry behind.
  for (int i = 0; i < kMaxFiles; ++i) {
    const QByteArray path = i < Paths_.size() ? QFile::encodeName(Paths_[i]) : QByteArray();
    ini.WriteString(kSection, Key(i), path.toStdString());
  }
}
