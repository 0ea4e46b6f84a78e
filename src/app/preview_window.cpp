#include "preview_window.h"

#include <QAction>
#include <QToolBar>
#include <QVBoxLayout>

#include "error_guard.h"
#include "form_registry.h"
#include "image_list.h"
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

  MainMenu1 = new QToolBar(this);
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  MainMenu1->setMovable(false);
  MainMenu1->setFloatable(false);
  MainMenu1->setIconSize(QSize(16, 16));
  MainMenu1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  for (QAction* a : {ShowCodeWindow1, CodeGenerator1, Back1, Forward1}) MainMenu1->addAction(a);

  WebBrowser1 = new TWebBrowser(this);
  WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(MainMenu1);
  layout->addWidget(WebBrowser1);

  connect(ShowCodeWindow1, &QAction::triggered, this, Guard([this] { ShowCodeWindow1Click(); }));
  connect(CodeGenerator1, &QAction::triggered, this, Guard([this] { CodeGenerator1Click(); }));
  connect(Back1, &QAction::triggered, this, Guard([this] { Back1Click(); }));
  connect(Forward1, &QAction::triggered, this, Guard([this] { Forward1Click(); }));

  // The window manager adds its frame later; until then the outer bounds are
  // the window's own.
  move(211, 337);
  resize(803, 390);
}

void TForm4::ShowCodeWindow1Click() { forms::Show(QStringLiteral("Form1")); }
void TForm4::CodeGenerator1Click() { forms::Show(QStringLiteral("Form5")); }
void TForm4::Back1Click() { WebBrowser1->GoBack(); }
void TForm4::Forward1Click() { WebBrowser1->GoForward(); }

void TForm4::Navigate(const QString& path) { WebBrowser1->Navigate(path); }
void TForm4::SetOffline(bool offline) { WebBrowser1->SetOffline(offline); }
