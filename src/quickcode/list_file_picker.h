// The list-file picker (frmopenlist1list2): picks the file for List 1 or
// List 2 of the list chooser, by its caption "Open List1" or "Open List2".
#pragma once

#include "list_picker.h"

class Tfrmopenlist1list2 : public TListPicker {
  Q_OBJECT

 public:
  explicit Tfrmopenlist1list2(QWidget* parent = nullptr);

 protected:
  void TakePath(const QString& path) override;
};
