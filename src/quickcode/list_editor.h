// The "New/Edit Quick Code Window" (frmnewedit): builds a user list from
// entries of an existing list and typed entries, and saves it.
#pragma once

#include "list_hosts.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class TListBox;
class TdxButton;

class Tfrmnewedit : public QDialog, public TListSource {
  Q_OBJECT

 public:
  explicit Tfrmnewedit(QWidget* parent = nullptr);

  // Loads a user list into the target list for changing: the name field then
  // holds its full path and is disabled, and saving writes back to it.
  void OpenUserList(const QString& path) override;
  void LoadSourceList(const QString& path) override;

  // Handlers.
  void dxButton3Click();  // Open
  void ListBox1DblClick();
  void dxButton2Click();  // All >>
  void dxButton1Click();  // >>
  void ListBox2DblClick();
  void dxButton4Click();  // Open/Edit
  void dxButton5Click();  // New
  void dxButton6Click();  // Save and Close

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TListBox* ListBox1 = nullptr;  // the source list
  QLineEdit* Edit1 = nullptr;    // a typed entry
  TListBox* ListBox2 = nullptr;  // the list being built
  QLabel* LabeledEdit1Label = nullptr;
  QLineEdit* LabeledEdit1 = nullptr;
  TdxButton* dxButton3 = nullptr;
  TdxButton* dxButton1 = nullptr;
  TdxButton* dxButton2 = nullptr;
  TdxButton* dxButton4 = nullptr;
  TdxButton* dxButton5 = nullptr;
  TdxButton* dxButton6 = nullptr;
};
