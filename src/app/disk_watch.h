// The watch on the current document's file: when another program changes,
// replaces or deletes it, a document not modified here is reloaded, a
// modified one only when the user says so, and a deleted one keeps its text
// as unsaved work. The editor's own reads and writes are noted as they
// happen, so they never count as changes.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QFileSystemWatcher;
class QTimer;
class TMainForm;

// What a file looked like: enough to tell another program's change from a
// touch or from the editor's own write.
struct TDiskState {
  bool Exists = false;
  qint64 Size = 0;
  qint64 ModifiedMs = 0;
  QByteArray Hash;  // of the bytes; empty until they were read

  static TDiskState Of(const QString& path, bool withHash);
  bool SameStamp(const TDiskState& o) const {
    return Exists == o.Exists && Size == o.Size && ModifiedMs == o.ModifiedMs;
  }
  bool SameBytes(const TDiskState& o) const {
    return Exists == o.Exists && (!Exists || (Size == o.Size && Hash == o.Hash));
  }
  QString ToText() const;  // "" for a missing file
  static TDiskState FromText(const QString& text);
};

class TDiskWatch : public QObject {
  Q_OBJECT

 public:
  TDiskWatch(TMainForm& form, QObject* parent);

  // The editor has just read or written this file, or the document became
  // untitled ("new.htm"): from now on changes are measured against it.
  void Follow(const QString& path);
  // What the file looked like to an earlier run whose work was restored.
  void Adopt(const QString& state);
  QString State() const { return Known_.ToText(); }
  QString WatchedFile() const { return Path_; }

  // Before a save overwrites the file: when another program changed it since
  // the editor last read or wrote it, the user chooses. False when the file
  // was reloaded instead, so the save must not go on.
  bool ConfirmSave();

  // Looks at the file now; the watcher's notices come here after a pause, as
  // programs often write a file in more than one step.
  void Check();

 private:
  void Arm();
  void Changed(const TDiskState& now);
  void Reload();
  // "Reload" or "Keep mine"; true for "Reload".
  bool AskReload();

  TMainForm& Form_;
  QFileSystemWatcher* Watcher_ = nullptr;
  QTimer* Pause_ = nullptr;
  QString Path_;  // empty while the document is untitled
  TDiskState Known_;
  bool Busy_ = false;
};
