#include "file_lists.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStorageInfo>
#include <QStyle>
#include <algorithm>

#include "code_page.h"

namespace filelists {

QString NormalFolder(const QString& folder) {
  QString f = folder;
  while (f.size() > 1 && f.endsWith('/')) f.chop(1);
  return f;
}

QString JoinPath(const QString& folder, const QString& name) {
  const QString f = NormalFolder(folder);
  return f.endsWith('/') ? f + name : f + '/' + name;
}

}  // namespace filelists

namespace {

bool NameLess(const QString& a, const QString& b) {
  const int c = QString::compare(a, b, Qt::CaseInsensitive);
  return c != 0 ? c < 0 : a < b;
}

// Root folders of the volumes worth offering: mounted, ready, and folders
// (bind mounts of single files are left out); the root comes first.
QStringList VolumeRoots() {
  QStringList roots;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (!volume.isValid() || !volume.isReady()) continue;
    const QString root = filelists::NormalFolder(volume.rootPath());
    if (root.isEmpty() || !QFileInfo(root).isDir() || roots.contains(root)) continue;
    roots << root;
  }
  roots.removeAll(QStringLiteral("/"));
  std::sort(roots.begin(), roots.end());
  roots.prepend(QStringLiteral("/"));
  return roots;
}

}  // namespace

// ---------------------------------------------------------------- drive list

TDriveList::TDriveList(QWidget* parent) : QComboBox(parent) {
  Reread();
  connect(this, &QComboBox::activated, this, [this] { emit DriveChanged(Drive()); });
}

QString TDriveList::Drive() const { return currentData().toString(); }

QStringList TDriveList::Drives() const {
  QStringList roots;
  for (int i = 0; i < count(); ++i) roots << itemData(i).toString();
  return roots;
}

void TDriveList::Reread() {
  const QString chosen = Drive();
  const QSignalBlocker quiet(this);
  clear();
  const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
  for (const QString& root : VolumeRoots()) addItem(icon, root, root);
  const int keep = findData(chosen);
  setCurrentIndex(keep >= 0 ? keep : 0);
}

void TDriveList::ShowDriveOf(const QString& folder) {
  const QString f = filelists::NormalFolder(folder);
  int best = -1;
  int bestLength = -1;
  for (int i = 0; i < count(); ++i) {
    const QString root = itemData(i).toString();
    const bool holds = root == QLatin1String("/") || f == root || f.startsWith(root + '/');
    if (holds && root.size() > bestLength) {
      best = i;
      bestLength = static_cast<int>(root.size());
    }
  }
  if (best >= 0) {
    const QSignalBlocker quiet(this);
    setCurrentIndex(best);
  }
}

// --------------------------------------------------------------- folder list

TFolderList::TFolderList(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  setRootIsDecorated(false);
  setIndentation(10);
  setItemsExpandable(false);
  setExpandsOnDoubleClick(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { OpenItem(item); });
  SetFolder(QDir::homePath());
}

QString TFolderList::SelectedFolder() const {
  const QList<QTreeWidgetItem*> items = selectedItems();
  return items.isEmpty() ? Folder_ : items.first()->data(0, Qt::UserRole).toString();
}

void TFolderList::SetFolder(const QString& folder) {
  const QString f = filelists::NormalFolder(folder);
  if (f.isEmpty() || f == Folder_) return;
  Folder_ = f;
  Reread();
  emit FolderChanged(Folder_);
}

void TFolderList::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
    OpenItem(currentItem());
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

void TFolderList::OpenItem(QTreeWidgetItem* item) {
  if (item) SetFolder(item->data(0, Qt::UserRole).toString());
}

void TFolderList::Reread() {
  clear();
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);

  // The chain from the root down to the folder, each one inside the one before.
  QTreeWidgetItem* parent = new QTreeWidgetItem(this, QStringList(QStringLiteral("/")));
  parent->setData(0, Qt::UserRole, QStringLiteral("/"));
  parent->setIcon(0, open);
  QString path;
  for (const QString& part : Folder_.split('/', Qt::SkipEmptyParts)) {
    path += '/' + part;
    auto* item = new QTreeWidgetItem(parent, QStringList(part));
    item->setData(0, Qt::UserRole, path);
    item->setIcon(0, open);
    parent = item;
  }
  QTreeWidgetItem* current = parent;

  QStringList children = QDir(Folder_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
  std::sort(children.begin(), children.end(), NameLess);
  for (const QString& name : children) {
    auto* item = new QTreeWidgetItem(current, QStringList(name));
    item->setData(0, Qt::UserRole, filelists::JoinPath(Folder_, name));
    item->setIcon(0, closed);
  }
  expandAll();
  setCurrentItem(current);
  scrollToItem(current);
}

// ----------------------------------------------------------------- file list

TFileList::TFileList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  SetMask(QStringLiteral("*.*"));
  // Reported once the selection itself has moved (the current row changes first).
  connect(this, &QListWidget::itemSelectionChanged, this, [this] {
    if (!Rereading_ && !selectedItems().isEmpty()) emit SelectionChanged();
  });
  connect(this, &QListWidget::itemClicked, this, [this] { emit Clicked(); });
}

void TFileList::SetMask(const QString& mask) {
  MaskText_ = mask;
  Mask_ = NameMask(codepage::FromUnicode(mask));
  if (!Folder_.isEmpty()) Reread();
}

void TFileList::SetFolder(const QString& folder) {
  const QString f = filelists::NormalFolder(folder);
  if (f.isEmpty() || f == Folder_) return;
  Folder_ = f;
  Reread();
}

QStringList TFileList::FileNames() const {
  QStringList names;
  for (int i = 0; i < count(); ++i) names << item(i)->text();
  return names;
}

QString TFileList::SelectedName() const {
  const QList<QListWidgetItem*> items = selectedItems();
  return items.isEmpty() ? QString() : items.first()->text();
}

QString TFileList::FileName() const {
  const QString name = SelectedName();
  return name.isEmpty() ? QString() : filelists::JoinPath(Folder_, name);
}

void TFileList::keyPressEvent(QKeyEvent* event) {
  const int before = currentRow();
  QListWidget::keyPressEvent(event);
  if (currentRow() != before && currentRow() >= 0) emit Clicked();
}

void TFileList::mouseDoubleClickEvent(QMouseEvent* event) {
  QListWidget::mouseDoubleClickEvent(event);
  emit DblClick();
}

void TFileList::Reread() {
  Rereading_ = true;
  clear();
  // Names are matched one character per byte, as the masks are written.
  QStringList names;
  for (const QString& name : QDir(Folder_).entryList(QDir::Files | QDir::Hidden, QDir::NoSort)) {
    if (Mask_.Matches(codepage::FromUnicode(name))) names << name;
  }
  std::sort(names.begin(), names.end(), NameLess);
  addItems(names);
  Rereading_ = false;
}
