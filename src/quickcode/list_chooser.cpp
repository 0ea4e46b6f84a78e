#include "list_chooser.h"

#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>

#include "error_guard.h"
#include "flat_button.h"
#include "form_registry.h"
#include "list_box.h"
#include "list_file_picker.h"
#include "list_files.h"
#include "manager_window.h"
#include "window_look.h"

Tfrmopenlists::Tfrmopenlists(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmopenlists"));
  setWindowTitle(QStringLiteral("Open List1/List2"));
  setFixedSize(345, 128);

  auto* label1 = new QLabel(QStringLiteral("List 1"), this);
  label1->setGeometry(8, 8, 249, 16);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setReadOnly(true);
  Edit1->setGeometry(8, 24, 249, 21);
  dxButton1 = new TdxButton(QStringLiteral("Browse"), this);
  dxButton1->setObjectName(QStringLiteral("dxButton1"));
  dxButton1->setGeometry(264, 24, 73, 21);

  auto* label2 = new QLabel(QStringLiteral("List 2"), this);
  label2->setGeometry(8, 52, 249, 16);
  Edit2 = new QLineEdit(this);
  Edit2->setObjectName(QStringLiteral("Edit2"));
  Edit2->setReadOnly(true);
  Edit2->setGeometry(8, 68, 249, 21);
  dxButton2 = new TdxButton(QStringLiteral("Browse"), this);
  dxButton2->setObjectName(QStringLiteral("dxButton2"));
  dxButton2->setGeometry(264, 68, 73, 21);

  dxButton3 = new TdxButton(QStringLiteral("Ok"), this);
  dxButton3->setObjectName(QStringLiteral("dxButton3"));
  dxButton3->setGeometry(264, 99, 73, 23);

  connect(dxButton1, &TdxButton::clicked, this, Guard([this] { dxButton1Click(); }));
  connect(dxButton2, &TdxButton::clicked, this, Guard([this] { dxButton2Click(); }));
  connect(dxButton3, &TdxButton::clicked, this, Guard([this] { dxButton3Click(); }));
}

void Tfrmopenlists::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  look::CentreOnScreen(this);
  RunGuarded([this] { FormShow(); });
}

void Tfrmopenlists::FormShow() {
  if (Edit1->text().isEmpty()) Edit1->setText(quickcode::DefaultList1Path());
  if (Edit2->text().isEmpty()) Edit2->setText(quickcode::DefaultList2Path());
}

void Tfrmopenlists::Browse(const QString& caption) {
  if (auto* picker = forms::Get<Tfrmopenlist1list2>(QStringLiteral("frmopenlist1list2"))) {
    picker->setWindowTitle(caption);
    picker->exec();
  }
}

void Tfrmopenlists::dxButton1Click() { Browse(QStringLiteral("Open List1")); }
void Tfrmopenlists::dxButton2Click() { Browse(QStringLiteral("Open List2")); }

void Tfrmopenlists::dxButton3Click() {
  // Both lists are read again, List 1 first; a list that cannot be read keeps
  // its entries and leaves the chooser open.
  if (auto* manager = forms::Get<Tfrmmanager>(QStringLiteral("frmmanager"))) {
    quickcode::LoadListBox(manager->ListBox1, Edit1->text());
    quickcode::LoadListBox(manager->ListBox2, Edit2->text());
  }
  hide();
}
