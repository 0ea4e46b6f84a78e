// The list-file picker (frmopenlist1list2): picks the file for List 1 or
// List 2 of the list chooser; its caption says which ("Open List1").
#pragma once

#include "list_picker.h"

class Tfrmopenlist1list2 : public TListPicker {
  Q_OBJECT

 public:
  explicit Tfrmopenlist1list2(QWidget* parent = nullptr);

  // Shows the picker modally for list 1 or 2.
  void PickFor(int list);

 protected:
  void TakePath(const QString& path) override;

 private:
  int List_ = 1;
};
