#include "projects_dialog.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QShowEvent>
#include <QTabWidget>

#include "editor_control.h"
#include "error_guard.h"
#include "file_lists.h"
#include "flat_button.h"
#include "form_registry.h"
#include "main_shell.h"
#include "paths.h"
#include "project_store.h"
#include "window_look.h"

namespace {

constexpr int kClientWidth = 571;
constexpr int kClientHeight = 352;

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, const char* name = nullptr) {
  auto* label = new QLabel(text, parent);
  if (name) label->setObjectName(QString::fromLatin1(name));
  label->move(x, y);
  label->adjustSize();
  return label;
}

TdxButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& r) {
  auto* button = new TdxButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(r);
  return button;
}

}  // namespace

Tfrmprojects::Tfrmprojects(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmprojects"));
  setWindowTitle(QStringLiteral("Projects"));
  // A fixed window with a title but no title-bar buttons: it is left through
  // its own buttons.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedSize(kClientWidth, kClientHeight);
  look::SetColors(this, Qt::white);
  Image1 = look::AddPicture(this, paths::ProgramDir() + QStringLiteral("pictures/projects.jpg"),
                            QRect(8, 8, 169, 313));

  TabbedNotebook1 = new QTabWidget(this);
  TabbedNotebook1->setObjectName(QStringLiteral("TabbedNotebook1"));
  TabbedNotebook1->setGeometry(185, 8, 378, 305);

  auto* newPage = new QWidget;
  newPage->setObjectName(QStringLiteral("NewProjectPage"));
  MakeLabel(newPage, QStringLiteral("Project Title:"), 8, 8);
  projecttitle = new QLineEdit(QStringLiteral("New Project"), newPage);
  projecttitle->setObjectName(QStringLiteral("projecttitle"));
  projecttitle->setGeometry(8, 24, 201, 21);
  Label1 = MakeLabel(newPage, QStringLiteral("The directory you choose must be empty!"), 8, 54,
                     "Label1");
  Drive1 = new TDriveList(newPage);
  Drive1->setObjectName(QStringLiteral("Drive1"));
  Drive1->setGeometry(8, 72, 201, 21);
  Dir1 = new TFolderList(newPage);
  Dir1->setObjectName(QStringLiteral("Dir1"));
  Dir1->setGeometry(8, 98, 201, 145);
  Edit1 = new QLineEdit(newPage);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setGeometry(8, 250, 358, 21);
  dxButton2 = MakeButton(newPage, "dxButton2", QStringLiteral("Create New Project"),
                         QRect(218, 24, 148, 25));
  TabbedNotebook1->addTab(newPage, QStringLiteral("New Project"));

  auto* openPage = new QWidget;
  openPage->setObjectName(QStringLiteral("OpenProjectPage"));
  Label2 = MakeLabel(openPage, QStringLiteral("Open Project:"), 8, 8, "Label2");
  FileListBox1 = new TFileList(openPage);
  FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
  FileListBox1->setGeometry(8, 24, 201, 219);
  FileListBox1->SetMask(QStringLiteral("*.vexa"));
  Edit2 = new QLineEdit(openPage);
  Edit2->setObjectName(QStringLiteral("Edit2"));
  Edit2->setReadOnly(true);
  Edit2->setGeometry(8, 250, 358, 21);
  dxButton4 =
      MakeButton(openPage, "dxButton4", QStringLiteral("Delete project"), QRect(218, 24, 148, 25));
  dxButton3 =
      MakeButton(openPage, "dxButton3", QStringLiteral("Open Project"), QRect(218, 56, 148, 25));
  TabbedNotebook1->addTab(openPage, QStringLiteral("Open Project"));

  auto* rule = new QFrame(this);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  rule->setGeometry(8, 318, kClientWidth - 16, 4);
  dxButton5 =
      MakeButton(this, "dxButton5", QStringLiteral("Quit Vexa Web Editor"), QRect(8, 324, 161, 23));
  dxButton1 = MakeButton(this, "dxButton1", QStringLiteral("Close"),
                         QRect(kClientWidth - 8 - 97, 324, 97, 23));
  // At start-up a project must be chosen (or the program left); the File
  // menu's "Projects" offers "Close" as well.
  dxButton1->setEnabled(false);

  connect(Drive1, &TDriveList::DriveChanged, this, Guard([this] { Drive1Change(); }));
  connect(Dir1, &TFolderList::FolderChanged, this, Guard([this] { Dir1Change(); }));
  connect(dxButton2, &TdxButton::clicked, this, Guard([this] { dxButton2Click(); }));
  connect(FileListBox1, &TFileList::Clicked, this, Guard([this] { FileListBox1Click(); }));
  connect(dxButton3, &TdxButton::clicked, this, Guard([this] { dxButton3Click(); }));
  connect(dxButton4, &TdxButton::clicked, this, Guard([this] { dxButton4Click(); }));
  connect(dxButton1, &TdxButton::clicked, this, Guard([this] { dxButton1Click(); }));
  connect(dxButton5, &TdxButton::clicked, this, Guard([this] { dxButton5Click(); }));
  // The folder list opened on its first folder before it was connected: the
  // box shows that folder from the first showing on.
  Dir1Change();
}

void Tfrmprojects::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  look::CentreOnScreen(this);
  RunGuarded([this] { FormShow(); });
}

void Tfrmprojects::ShowWithClose() {
  dxButton1->setEnabled(true);
  forms::Show(objectName());
}

void Tfrmprojects::reject() {
  if (dxButton1->isEnabled()) RunGuarded([this] { dxButton1Click(); });
}

void Tfrmprojects::FormShow() { FileListBox1->SetFolder(paths::ProjectStoreDir()); }

void Tfrmprojects::Drive1Change() { Dir1->SetFolder(Drive1->Drive()); }

void Tfrmprojects::Dir1Change() {
  Edit1->setText(Dir1->Folder());
  Drive1->ShowDriveOf(Dir1->Folder());
}

bool Tfrmprojects::MayReplaceDocument() {
  // At start-up the dialog is modal and the editor holds only the untouched
  // template (still flagged from its creation): there is nothing to save yet.
  // From the File menu the user's document is replaced, so they are asked first.
  if (isModal()) return true;
  return MainShell().SavePrompt();
}

void Tfrmprojects::LoadStartPage(const QString& folder) {
  // The start page replaces the document only once it could be read: when it
  // cannot, the editor keeps the document and its name.
  const QString page = projects::StartPage(folder);
  MainShell().Editor()->LoadFile(page);
  MainShell().SetCurFileName(page);
  MainShell().SetStatusFileName(page);
}

void Tfrmprojects::FinishProjectChange() {
  MainShell().StopPreviewTimer();
  FileListBox1->SetFolder(paths::RootDir());
  MainShell().UpdateManagerFolder();
  done(QDialog::Accepted);
}

void Tfrmprojects::dxButton2Click() {
  const QString folder = Edit1->text();
  if (folder.isEmpty()) return;
  const QString title = projecttitle->text();
  if (!paths::IsPlainName(title)) throw CannotCreateFile(projects::ProjectFilePath(title));
  if (!MayReplaceDocument()) return;
  projects::WriteProjectFile(title, folder);
  MainShell().SetProjectDir(folder);
  MainShell().SetMainCaption(projects::MainCaption(title + QStringLiteral(".vexa"), folder));
  projects::LayOutSite(folder);
  LoadStartPage(folder);
  FinishProjectChange();
}

void Tfrmprojects::FileListBox1Click() {
  const QString path = FileListBox1->FileName();
  if (path.isEmpty()) return;
  Edit2->setText(projects::ReadProjectFolder(path));
  Edit2File_ = FileListBox1->SelectedName();
}

void Tfrmprojects::dxButton3Click() {
  const QString folder = Edit2->text();
  if (folder.isEmpty()) return;
  if (!MayReplaceDocument()) return;
  MainShell().SetMainCaption(projects::MainCaption(Edit2File_, folder));
  MainShell().SetProjectDir(folder);
  LoadStartPage(folder);
  FinishProjectChange();
}

void Tfrmprojects::dxButton4Click() {
  // Only the project file goes; the site stays. The list keeps showing the
  // name until the dialog is shown again. A file that stays is reported.
  const QString path = FileListBox1->FileName();
  if (!path.isEmpty()) projects::DeleteProjectFile(path);
}

void Tfrmprojects::dxButton1Click() {
  // Pointing the list away makes the next showing read the store afresh.
  FileListBox1->SetFolder(paths::RootDir());
  done(QDialog::Rejected);
}

void Tfrmprojects::dxButton5Click() {
  MainShell().Exit();
  done(QDialog::Rejected);
}
