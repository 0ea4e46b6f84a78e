#include "application.h"

#include <QApplication>
#include <QDialog>
#include <QFontDatabase>
#include <vector>

#include "about_box.h"
#include "code_generator_window.h"
#include "existing_list_picker.h"
#include "form_registry.h"
#include "help_window.h"
#include "image_dialog.h"
#include "list_chooser.h"
#include "list_editor.h"
#include "list_file_picker.h"
#include "main_window.h"
#include "manager_window.h"
#include "paths.h"
#include "preview_window.h"
#include "projects_dialog.h"
#include "save_prompt.h"
#include "site_chooser.h"
#include "splash_window.h"
#include "user_list_picker.h"

namespace app {

struct TForms::Impl {
  // In creation order; destroyed in reverse.
  std::vector<std::unique_ptr<QWidget>> Forms;
  TForm1* Main = nullptr;

  template <typename T>
  T* Add(QWidget* parent) {
    auto form = std::make_unique<T>(parent);
    T* raw = form.get();
    forms::Register(raw);
    Forms.push_back(std::move(form));
    return raw;
  }
};

TForms::TForms() : Impl_(std::make_unique<Impl>()) {
  Impl& d = *Impl_;
  d.Main = d.Add<TForm1>(nullptr);
  // Dialogs belong to the main window (they stay in front of it); the preview,
  // the manager and the help window are windows of their own.
  d.Add<TForm2>(d.Main);
  d.Add<TForm3>(d.Main);
  d.Add<TForm4>(nullptr);
  d.Add<TForm5>(nullptr);
  d.Add<TImageInsert>(d.Main);
  d.Add<Tfrmprojects>(d.Main);
  d.Add<TForm8>(d.Main);
  d.Add<Tfrmnotsaved>(d.Main);
  d.Add<Tfrmmanager>(nullptr);
  d.Add<Tfrmnewedit>(d.Main);
  d.Add<Tfrmexcodlist1>(d.Main);
  d.Add<Tfrmoecodlist>(d.Main);
  d.Add<Tfrmopenlists>(d.Main);
  d.Add<Tfrmopenlist1list2>(d.Main);
  d.Add<Tfrmhelp1>(nullptr);
}

TForms::~TForms() {
  // Windows with the main window as parent are deleted with it; release those
  // first so no window is deleted twice.
  for (auto it = Impl_->Forms.rbegin(); it != Impl_->Forms.rend(); ++it) {
    QWidget* w = it->get();
    forms::Unregister(w);
    if (w->parentWidget() != nullptr) {
      it->reset();
    }
  }
  for (auto it = Impl_->Forms.rbegin(); it != Impl_->Forms.rend(); ++it) it->reset();
}

TForm1* TForms::MainWindow() const { return Impl_->Main; }

void InitApplication() {
  // The application's title is its name. No display name is set: the desktop
  // would append it to every window's caption.
  QApplication::setApplicationName(QStringLiteral("Vexa Web Editor Pro"));
  QFont font(QStringLiteral("Liberation Sans"), 8);
  if (!QFontDatabase::families().contains(font.family())) {
    font = QApplication::font();
    font.setPointSize(8);
  }
  QApplication::setFont(font);
  paths::EnsureSharedFolders();
}

}  // namespace app
