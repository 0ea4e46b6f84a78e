#include "list_editor.h"

#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <limits>

#include "error_guard.h"
#include "flat_button.h"
#include "form_registry.h"
#include "list_box.h"
#include "list_files.h"
#include "window_look.h"

namespace {

TdxButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& r) {
  auto* button = new TdxButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(r);
  return button;
}

}  // namespace

Tfrmnewedit::Tfrmnewedit(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmnewedit"));
  setWindowTitle(QStringLiteral("New/Edit Quick Code Window"));
  setFixedSize(457, 344);

  auto* source = new QLabel(QStringLiteral("Existing list"), this);
  source->setGeometry(8, 8, 185, 16);
  ListBox1 = new TListBox(this);
  ListBox1->setObjectName(QStringLiteral("ListBox1"));
  ListBox1->setGeometry(8, 24, 185, 233);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setMaxLength(std::numeric_limits<int>::max());
  Edit1->setGeometry(8, 264, 185, 21);

  dxButton3 = MakeButton(this, "dxButton3", QStringLiteral("Open"), QRect(200, 24, 57, 23));
  dxButton2 = MakeButton(this, "dxButton2", QStringLiteral("All >>"), QRect(200, 56, 57, 23));
  dxButton1 = MakeButton(this, "dxButton1", QStringLiteral(">>"), QRect(200, 263, 57, 23));

  ListBox2 = new TListBox(this);
  ListBox2->setObjectName(QStringLiteral("ListBox2"));
  ListBox2->setGeometry(264, 24, 185, 233);
  LabeledEdit1Label = new QLabel(QStringLiteral("Give your list a name!"), this);
  LabeledEdit1Label->setObjectName(QStringLiteral("LabeledEdit1Label"));
  LabeledEdit1Label->setGeometry(264, 264, 185, 16);
  LabeledEdit1 = new QLineEdit(this);
  LabeledEdit1->setObjectName(QStringLiteral("LabeledEdit1"));
  LabeledEdit1->setGeometry(264, 280, 185, 21);
  LabeledEdit1Label->setBuddy(LabeledEdit1);

  dxButton4 = MakeButton(this, "dxButton4", QStringLiteral("Open/Edit"), QRect(8, 313, 89, 23));
  dxButton5 = MakeButton(this, "dxButton5", QStringLiteral("New"), QRect(104, 313, 89, 23));
  dxButton6 =
      MakeButton(this, "dxButton6", QStringLiteral("Save and Close"), QRect(330, 313, 119, 23));

  connect(dxButton3, &TdxButton::clicked, this, Guard([this] { dxButton3Click(); }));
  connect(ListBox1, &TListBox::DblClick, this, Guard([this] { ListBox1DblClick(); }));
  connect(dxButton2, &TdxButton::clicked, this, Guard([this] { dxButton2Click(); }));
  connect(dxButton1, &TdxButton::clicked, this, Guard([this] { dxButton1Click(); }));
  connect(ListBox2, &TListBox::DblClick, this, Guard([this] { ListBox2DblClick(); }));
  connect(dxButton4, &TdxButton::clicked, this, Guard([this] { dxButton4Click(); }));
  connect(dxButton5, &TdxButton::clicked, this, Guard([this] { dxButton5Click(); }));
  connect(dxButton6, &TdxButton::clicked, this, Guard([this] { dxButton6Click(); }));
}

void Tfrmnewedit::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  look::CentreOnScreen(this);
}

void Tfrmnewedit::OpenUserList(const QString& path) {
  quickcode::LoadListBox(ListBox2, path);
  LabeledEdit1->setText(path);
  LabeledEdit1->setEnabled(false);
}

void Tfrmnewedit::LoadSourceList(const QString& path) { quickcode::LoadListBox(ListBox1, path); }

void Tfrmnewedit::dxButton3Click() { forms::ShowModal(QStringLiteral("frmexcodlist1")); }
void Tfrmnewedit::dxButton4Click() { forms::ShowModal(QStringLiteral("frmoecodlist")); }

void Tfrmnewedit::ListBox1DblClick() { ListBox2->addItem(quickcode::SelectedEntry(ListBox1)); }

void Tfrmnewedit::dxButton2Click() { ListBox2->addItems(quickcode::ListBoxEntries(ListBox1)); }

void Tfrmnewedit::dxButton1Click() { ListBox2->addItem(Edit1->text()); }

void Tfrmnewedit::ListBox2DblClick() {
  const QList<QListWidgetItem*> items = ListBox2->selectedItems();
  if (!items.isEmpty()) delete items.first();
}

void Tfrmnewedit::dxButton5Click() {
  ListBox2->clear();
  LabeledEdit1->setEnabled(true);
  LabeledEdit1->clear();
}

void Tfrmnewedit::dxButton6Click() {
  QString path;
  if (LabeledEdit1->isEnabled()) {
    // A new list: the typed name, saved in the "qcode" folder.
    if (LabeledEdit1->text().isEmpty()) return;
    path = quickcode::UserListPath(LabeledEdit1->text());
  } else {
    path = LabeledEdit1->text();
  }
  quickcode::WriteListFile(path, quickcode::ListBoxEntries(ListBox2));
  hide();
}
