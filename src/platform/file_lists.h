// The file-list controls of the dialogs: a drive list (the mounted volumes,
// root first), a folder tree list and a file list filtered by a mask of
// several patterns.
//
// How to use them:
//   auto* drives = new TDriveList(this);     // Drive1
//   auto* folders = new TFolderList(this);   // Dir1
//   auto* files = new TFileList(this);       // FileListBox1 / File1
//   files->SetMask(QStringLiteral("*.htm;*.php?"));
//   connect(drives, &TDriveList::DriveChanged, folders, &TFolderList::SetFolder);
//   connect(folders, &TFolderList::FolderChanged, files, &TFileList::SetFolder);
//   files->SetFolder(dir);              // reads dir only when it is not the folder shown
//   files->SetFolder(paths::RootDir()); // point away, so the next SetFolder(dir) reads afresh
//   files->FileName();                  // full path of the selected file, empty without one
// Folder paths come back without a final "/" (the root is "/"); a folder given
// with or without one is the same folder. An empty folder changes nothing.
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QTreeWidget>

#include "name_mask.h"

// The mounted volumes, the root folder first. Choosing one emits DriveChanged
// with its root folder.
class TDriveList : public QComboBox {
  Q_OBJECT

 public:
  explicit TDriveList(QWidget* parent = nullptr);

  QString Drive() const;       // root folder of the chosen volume
  QStringList Drives() const;  // root folders of all listed volumes
  // Re-reads the mounted volumes, keeping the choice when it is still there.
  void Reread();
  // Shows the volume that holds a folder, without a change report.
  void ShowDriveOf(const QString& folder);

 signals:
  void DriveChanged(const QString& root);
};

// A folder and its place in the tree: the chain of folders from the root down
// to it, then its own subfolders (hidden ones left out). A double-click or
// Enter on an entry opens that folder. Every change of the folder, by the user
// or by SetFolder, emits FolderChanged.
class TFolderList : public QTreeWidget {
  Q_OBJECT

 public:
  explicit TFolderList(QWidget* parent = nullptr);

  QString Folder() const { return Folder_; }
  // The folder selected in the list (the open folder when none is selected).
  QString SelectedFolder() const;

 public slots:
  void SetFolder(const QString& folder);

 signals:
  void FolderChanged(const QString& folder);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Reread();
  void OpenItem(QTreeWidgetItem* item);

  QString Folder_;
};

// The files of one folder whose names match a mask ("*.htm;*.html;*.php?"),
// sorted by name; the mask starts as "*.*", every file. Pointing the list at
// the folder it already shows reads nothing, so a folder is read afresh only
// after the list was pointed elsewhere.
class TFileList : public QListWidget {
  Q_OBJECT

 public:
  explicit TFileList(QWidget* parent = nullptr);

  // A new mask applies at once to the folder shown.
  void SetMask(const QString& mask);
  QString Mask() const { return MaskText_; }
  QString Folder() const { return Folder_; }
  QStringList FileNames() const;  // the names shown, in order
  QString SelectedName() const;   // empty without a selection
  QString FileName() const;       // folder + "/" + the selected name

 public slots:
  void SetFolder(const QString& folder);

 signals:
  void SelectionChanged();  // another file was selected, by mouse or keyboard
  void Clicked();           // a click on a file, or a keyboard move to one
  void DblClick();          // a double-click anywhere in the list

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void Reread();

  QString Folder_;
  QString MaskText_;
  NameMask Mask_;
  bool Rereading_ = false;
};

namespace filelists {

// A folder path in the form the lists keep: no final "/" except for the root.
QString NormalFolder(const QString& folder);
// folder + "/" + name, without doubling the "/" after the root.
QString JoinPath(const QString& folder, const QString& name);

}  // namespace filelists
