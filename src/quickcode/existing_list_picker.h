// The existing-list picker (frmexcodlist1): loads a shipped or user list into
// the list editor's source list.
#pragma once

#include "list_picker.h"

class Tfrmexcodlist1 : public TListPicker {
  Q_OBJECT

 public:
  explicit Tfrmexcodlist1(QWidget* parent = nullptr);

 protected:
  void TakePath(const QString& path) override;
};
