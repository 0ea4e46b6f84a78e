#include "list_chooser.h"

#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>

#include "error_guard.h"
#include "flat_button.h"
#include "form_registry.h"
#include "list_file_picker.h"
#include "list_files.h"
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

QString Tfrmopenlists::ListPath(int list) const { return (list == 1 ? Edit1 : Edit2)->text(); }

void Tfrmopenlists::SetListPath(int list, const QString& path) {
  (list == 1 ? Edit1 : Edit2)->setText(path);
}

void Tfrmopenlists::Browse(int list) {
  if (auto* picker = forms::Get<Tfrmopenlist1list2>(QStringLiteral("frmopenlist1list2"))) {
    picker->PickFor(list);
  }
}

void Tfrmopenlists::dxButton1Click() { Browse(1); }
void Tfrmopenlists::dxButton2Click() { Browse(2); }

void Tfrmopenlists::dxButton3Click() {
  // Both lists are read again, List 1 first; a list that cannot be read keeps
  // its entries and leaves the chooser open.
  if (auto* manager = forms::As<TQuickCodeLists>(QStringLiteral("frmmanager"))) {
    manager->LoadList(1, ListPath(1));
    manager->LoadList(2, ListPath(2));
  }
  hide();
}
