#include "manager_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <limits>

#include "editor_control.h"
#include "error_guard.h"
#include "file_lists.h"
#include "flat_button.h"
#include "form_registry.h"
#include "fragments.h"
#include "image_list.h"
#include "list_box.h"
#include "list_files.h"
#include "main_shell.h"
#include "paths.h"

namespace {

constexpr int kClientWidth = 203;
constexpr int kClientHeight = 694;
constexpr int kPageWidth = 164;

QLabel* Heading(QWidget* parent, const QString& text, int x, int y) {
  auto* label = new QLabel(text, parent);
  QFont f = label->font();
  f.setBold(true);
  label->setFont(f);
  label->setGeometry(x, y, kPageWidth, 16);
  return label;
}

TdxButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& r) {
  auto* button = new TdxButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(r);
  return button;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& caption, int y) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setGeometry(4, y, kPageWidth, 17);
  box->setChecked(true);
  return box;
}

}  // namespace

Tfrmmanager::Tfrmmanager(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmmanager"));
  setWindowTitle(QStringLiteral("Vexa Manager"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);

  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  PageControl1->setTabPosition(QTabWidget::West);
  PageControl1->setUsesScrollButtons(false);
  PageControl1->setGeometry(2, 4, kClientWidth - 4, 654);
  CreateFileManagerPage();
  CreateQuickCodePage();
  CreateInsertPage();
  PageControl1->setCurrentWidget(TabSheet2);

  dxButton1 = MakeButton(this, "dxButton1", QStringLiteral("Close"),
                         QRect((kClientWidth - 97) / 2, 664, 97, 23));

  // The transfer field of fragment insertion lies below the client area: it
  // carries the text to the clipboard and is never seen.
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setGeometry(4, kClientHeight + 40, 121, 21);
  Edit1->setMaxLength(std::numeric_limits<int>::max());

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(500);

  connect(FileListBox1, &TFileList::DblClick, this, Guard([this] { FileListBox1DblClick(); }));
  connect(dxButton4, &TdxButton::clicked, this, Guard([this] { dxButton4Click(); }));
  connect(Timer1, &QTimer::timeout, this, Guard([this] { Timer1Timer(); }));
  connect(ListBox1, &TListBox::DblClick, this, Guard([this] { ListBox1DblClick(); }));
  connect(ListBox2, &TListBox::DblClick, this, Guard([this] { ListBox2DblClick(); }));
  connect(dxButton2, &TdxButton::clicked, this, Guard([this] { dxButton2Click(); }));
  connect(dxButton3, &TdxButton::clicked, this, Guard([this] { dxButton3Click(); }));
  connect(Button[10], &QPushButton::clicked, this, Guard([this] { Button11Click(); }));
  connect(dxButton1, &TdxButton::clicked, this, Guard([this] { dxButton1Click(); }));
  // The sixteen fragment buttons differ only in their text.
  for (int i = 0; i < 16; ++i) {
    const QString text = QString::fromLatin1(quickcode::kFragments[i].Text);
    auto insert = Guard([this, text] { InsertFragment(text); });
    if (i < 6) {
      connect(ToolButton[i], &QToolButton::clicked, this, insert);
    } else {
      connect(Button[i - 6], &QPushButton::clicked, this, insert);
    }
  }
}

void Tfrmmanager::CreateFileManagerPage() {
  TabSheet1 = new QWidget;
  TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
  QLabel* heading = Heading(TabSheet1, QStringLiteral("Webpages/scripts in your Project"), 4, 4);
  heading->setWordWrap(true);
  heading->setFixedHeight(30);
  FileListBox1 = new TFileList(TabSheet1);
  FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
  FileListBox1->SetMask(
      QStringLiteral("*.htm;*.html;*.php?;*.asp;*.java;*.vbs;*.xml;*.pas;*.txt;*.js"));
  FileListBox1->setGeometry(4, 36, kPageWidth, 562);
  dxButton4 = MakeButton(TabSheet1, "dxButton4", QStringLiteral("Refresh List"),
                         QRect(4, 606, kPageWidth, 23));
  PageControl1->addTab(TabSheet1, QStringLiteral("File Manager"));
}

void Tfrmmanager::CreateQuickCodePage() {
  TabSheet2 = new QWidget;
  TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
  Heading(TabSheet2, QStringLiteral("Quick Code"), 4, 6);
  ListBox1 = new TListBox(TabSheet2);
  ListBox1->setObjectName(QStringLiteral("ListBox1"));
  ListBox1->setGeometry(4, 26, kPageWidth, 161);
  ListBox2 = new TListBox(TabSheet2);
  ListBox2->setObjectName(QStringLiteral("ListBox2"));
  ListBox2->setGeometry(4, 191, kPageWidth, 409);
  dxButton2 = MakeButton(TabSheet2, "dxButton2", QStringLiteral("Open"), QRect(4, 606, 80, 23));
  dxButton3 =
      MakeButton(TabSheet2, "dxButton3", QStringLiteral("New/Edit"), QRect(88, 606, 80, 23));
  PageControl1->addTab(TabSheet2, QStringLiteral("Quick Code"));
}

void Tfrmmanager::CreateInsertPage() {
  TabSheet3 = new QWidget;
  TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
  Heading(TabSheet3, QStringLiteral("Insert Menu"), 4, 6);

  ToolBar1 = new QToolBar(TabSheet3);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setIconSize(QSize(16, 16));
  ToolBar1->setGeometry(4, 24, kPageWidth, 26);
  const int icons[6] = {imagelist::kAlignLeft, imagelist::kAlignCenter, imagelist::kAlignRight,
                        imagelist::kBold,      imagelist::kItalic,      imagelist::kUnderline};
  for (int i = 0; i < 6; ++i) {
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(QString::fromLatin1(quickcode::kFragments[i].Button));
    button->setIcon(imagelist::Icon(icons[i]));
    button->setToolTip(QString::fromLatin1(quickcode::kFragments[i].Caption));
    button->setAutoRaise(true);
    ToolBar1->addWidget(button);
    ToolButton[i] = button;
  }

  auto* group = new QGroupBox(TabSheet3);
  group->setObjectName(QStringLiteral("GroupBox1"));
  group->setGeometry(4, 56, kPageWidth, 150);
  for (int i = 0; i < 10; ++i) {
    const quickcode::Fragment& f = quickcode::kFragments[6 + i];
    auto* button = new QPushButton(QString::fromLatin1(f.Caption), group);
    button->setObjectName(QString::fromLatin1(f.Button));
    // Two columns of five, in the order of their numbers.
    button->setGeometry(8 + (i % 2) * 76, 12 + (i / 2) * 27, 72, 23);
    Button[i] = button;
  }
  Button[10] = new QPushButton(QStringLiteral("Frames"), TabSheet3);
  Button[10]->setObjectName(QStringLiteral("Button11"));
  Button[10]->setGeometry(4, 214, kPageWidth, 23);

  Heading(TabSheet3, QStringLiteral("Options menu"), 4, 252);
  showprcheck = MakeCheck(TabSheet3, "showprcheck", QStringLiteral("Show Projects at start"), 272);
  showmanagercheck =
      MakeCheck(TabSheet3, "showmanagercheck", QStringLiteral("Show  Vexa Manager at start"), 294);
  showpreviewcheck =
      MakeCheck(TabSheet3, "showpreviewcheck", QStringLiteral("Show Preview at start"), 316);
  PageControl1->addTab(TabSheet3, QStringLiteral("Insert/Options"));
}

void Tfrmmanager::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The window system shows it again after a minimise; that is no new showing.
  if (event->spontaneous()) return;
  RunGuarded([this] { FormShow(); });
}

void Tfrmmanager::FormShow() {
  FileListBox1->SetFolder(MainShell().ManagerFolder());
  // A list the user chose in the list chooser is already loaded; only the
  // defaults are read here, List 1 first.
  const auto* chooser = forms::As<TListChoice>(QStringLiteral("frmopenlists"));
  if (!chooser || chooser->ListPath(1).isEmpty()) LoadList(1, quickcode::DefaultList1Path());
  if (!chooser || chooser->ListPath(2).isEmpty()) LoadList(2, quickcode::DefaultList2Path());
}

void Tfrmmanager::LoadList(int list, const QString& path) {
  quickcode::LoadListBox(list == 1 ? ListBox1 : ListBox2, path);
}

QCheckBox* Tfrmmanager::StartupBox(TStartupBox box) const {
  switch (box) {
    case kShowProjects:
      return showprcheck;
    case kShowManager:
      return showmanagercheck;
    case kShowPreview:
      break;
  }
  return showpreviewcheck;
}

bool Tfrmmanager::StartupFlag(TStartupBox box) const { return StartupBox(box)->isChecked(); }
void Tfrmmanager::SetStartupFlag(TStartupBox box, bool on) { StartupBox(box)->setChecked(on); }
int Tfrmmanager::PageIndex() const { return PageControl1->currentIndex(); }
void Tfrmmanager::SetFileListFolder(const QString& folder) { FileListBox1->SetFolder(folder); }

void Tfrmmanager::InsertFragment(const QString& text) {
  Edit1->setText(text);
  Edit1->selectAll();
  Edit1->setFocus();
  // The selection goes to the clipboard even when it is empty, so an empty
  // entry inserts nothing rather than whatever the clipboard held before.
  QApplication::clipboard()->setText(Edit1->selectedText());
  TEditorControl* editor = MainShell().Editor();
  editor->PasteAtCaret();
  editor->FocusEditor();
}

void Tfrmmanager::ListBox1DblClick() { InsertFragment(quickcode::SelectedEntry(ListBox1)); }
void Tfrmmanager::ListBox2DblClick() { InsertFragment(quickcode::SelectedEntry(ListBox2)); }

void Tfrmmanager::FileListBox1DblClick() {
  const QString path = FileListBox1->FileName();
  if (path.isEmpty()) return;
  // The document is replaced only when it is saved or the user let it go.
  if (!MainShell().SavePrompt()) return;
  MainShell().OpenDocument(path);
}

void Tfrmmanager::dxButton4Click() {
  // A file list reads its folder only when pointed at another one: point it
  // at the root now and back when the timer fires.
  RefreshFolder_ = FileListBox1->Folder();
  FileListBox1->SetFolder(paths::RootDir());
  Timer1->start();
}

void Tfrmmanager::Timer1Timer() {
  Timer1->stop();
  FileListBox1->SetFolder(RefreshFolder_);
}

void Tfrmmanager::Button11Click() {
  if (!MainShell().SavePrompt()) return;
  MainShell().SetCurFileName(QStringLiteral("new.htm"));
  MainShell().SetStatusFileName(QStringLiteral("new.htm"));
  TEditorControl* editor = MainShell().Editor();
  editor->ClearText();
  editor->LoadFile(paths::ProgramDir() + QStringLiteral("frametemp.htm"));
}

void Tfrmmanager::dxButton2Click() { forms::Show(QStringLiteral("frmopenlists")); }
void Tfrmmanager::dxButton3Click() { forms::Show(QStringLiteral("frmnewedit")); }

void Tfrmmanager::dxButton1Click() { hide(); }
