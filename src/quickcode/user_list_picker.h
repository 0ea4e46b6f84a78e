// The user-list picker (frmoecodlist): loads a user list into the list
// editor's target list for changing; saving then writes back to it.
#pragma once

#include "list_picker.h"

class Tfrmoecodlist : public TListPicker {
  Q_OBJECT

 public:
  explicit Tfrmoecodlist(QWidget* parent = nullptr);

 protected:
  void TakePath(const QString& path) override;
};
