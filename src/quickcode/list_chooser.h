// The "Open List1/List2" window (frmopenlists): the two list files the
// manager shows, chosen through the list-file picker and loaded on "Ok".
#pragma once

#include "list_hosts.h"

#include <QDialog>

class QLineEdit;
class TdxButton;

class Tfrmopenlists : public QDialog, public TListChoice {
  Q_OBJECT

 public:
  explicit Tfrmopenlists(QWidget* parent = nullptr);

  // Handlers.
  void FormShow();
  void dxButton1Click();  // Browse for List 1
  void dxButton2Click();  // Browse for List 2
  void dxButton3Click();  // Ok

  // TListChoice
  QString ListPath(int list) const override;
  void SetListPath(int list, const QString& path) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Browse(int list);

  // The program's record of the lists the manager shows (full paths).
  QLineEdit* Edit1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  TdxButton* dxButton1 = nullptr;
  TdxButton* dxButton2 = nullptr;
  TdxButton* dxButton3 = nullptr;
};
