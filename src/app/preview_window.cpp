#include "preview_window.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "error_guard.h"
#include "form_registry.h"
#include "image_list.h"
#include "preview_caret.h"
#include "web_browser.h"

namespace {

QAction* MakeEntry(TForm4* form, const char* name, const QString& caption, int icon,
                   const QKeySequence& shortcut = QKeySequence()) {
  auto* action = new QAction(caption, form);
  action->setObjectName(QString::fromLatin1(name));
  if (icon >= 0) action->setIcon(imagelist::Icon(icon));
  if (!shortcut.isEmpty()) {
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
  }
  form->addAction(action);
  return action;
}

}  // namespace

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form4"));
  setWindowTitle(QStringLiteral("Preview"));
  // A window of its own that the user sizes as wanted.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);

  ShowCodeWindow1 = MakeEntry(this, "ShowCodeWindow1", QStringLiteral("Show Code Window - F1"),
                              imagelist::kShowPreview, QKeySequence(Qt::Key_F1));
  CodeGenerator1 = MakeEntry(this, "CodeGenerator1", QStringLiteral("Code Generator - F10"),
                             imagelist::kCodeGenerator, QKeySequence(Qt::Key_F10));
  Back1 = MakeEntry(this, "Back1", QStringLiteral("<- Back"), -1);
  Forward1 = MakeEntry(this, "Forward1", QStringLiteral("Forward ->"), -1);
  OutlineCaret1 = MakeEntry(this, "OutlineCaret1", QStringLiteral("Outline Caret"), -1);
  OutlineCaret1->setCheckable(true);
  OutlineCaret1->setChecked(true);
  OutlineCaret1->setToolTip(
      QStringLiteral("Outline the element that holds the caret; Ctrl+click an element to find "
                     "its tag in the code"));

  MainMenu1 = new QToolBar(this);
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  MainMenu1->setMovable(false);
  MainMenu1->setFloatable(false);
  MainMenu1->setIconSize(QSize(16, 16));
  MainMenu1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  for (QAction* a : {ShowCodeWindow1, CodeGenerator1, Back1, Forward1, OutlineCaret1}) {
    MainMenu1->addAction(a);
  }

  WebBrowser1 = new TWebBrowser(this);
  WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
  Caret_ = new TPreviewCaret(WebBrowser1);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  CaretHint1 = new QLabel(QStringLiteral("Ctrl+click: find the element in the code"), StatusBar1);
  CaretHint1->setObjectName(QStringLiteral("CaretHint1"));
  CaretHint1->hide();
  StatusBar1->addPermanentWidget(CaretHint1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(MainMenu1);
  // The page takes all the height the status bar's one line leaves.
  layout->addWidget(WebBrowser1, 1);
  StatusBar1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  layout->addWidget(StatusBar1);

  connect(ShowCodeWindow1, &QAction::triggered, this, Guard([this] { ShowCodeWindow1Click(); }));
  connect(CodeGenerator1, &QAction::triggered, this, Guard([this] { CodeGenerator1Click(); }));
  connect(Back1, &QAction::triggered, this, Guard([this] { Back1Click(); }));
  connect(Forward1, &QAction::triggered, this, Guard([this] { Forward1Click(); }));
  connect(OutlineCaret1, &QAction::toggled, this,
          Guard([this](bool on) { Caret_->SetOutline(on); }));
  connect(Caret_, &TPreviewCaret::Described, StatusBar1, [this](const QString& text) {
    if (text.isEmpty()) {
      StatusBar1->clearMessage();
    } else {
      StatusBar1->showMessage(text);
    }
  });
  connect(Caret_, &TPreviewCaret::ScratchShown, CaretHint1, &QLabel::setVisible);

  // The window manager adds its frame later; until then the outer bounds are
  // the window's own.
  move(211, 337);
  resize(803, 390);
}

void TForm4::ShowCodeWindow1Click() { forms::Show(QStringLiteral("Form1")); }
void TForm4::CodeGenerator1Click() { forms::Show(QStringLiteral("Form5")); }
void TForm4::Back1Click() { WebBrowser1->GoBack(); }
void TForm4::Forward1Click() { WebBrowser1->GoForward(); }

void TForm4::Navigate(const QString& path) {
  Caret_->WillShow(path, false);
  WebBrowser1->Navigate(path);
}

void TForm4::ShowScratch(const QString& path) {
  Caret_->WillShow(path, true);
  WebBrowser1->Navigate(path);
}

void TForm4::SetOffline(bool offline) { WebBrowser1->SetOffline(offline); }
void TForm4::FollowCaret(bool textChanged) { Caret_->Follow(textChanged); }
void TForm4::SetOutlineCaret(bool on) { OutlineCaret1->setChecked(on); }
bool TForm4::OutlineCaret() const { return OutlineCaret1->isChecked(); }

void TForm4::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The caret may have moved while the window was hidden.
  QTimer::singleShot(0, Caret_, &TPreviewCaret::UpdateNow);
}
