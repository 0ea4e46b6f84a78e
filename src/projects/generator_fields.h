// The fields of the code generator that the image dialog and the site chooser
// fill. The code generator implements this, so these dialogs need not know it.
#pragma once

class QLineEdit;

class TGeneratorFields {
 public:
  virtual ~TGeneratorFields() = default;

  // The field that takes a picture reference on the page shown now, or
  // nullptr when that page has none.
  virtual QLineEdit* PictureField() = 0;
  // The field that takes a link target.
  virtual QLineEdit* LinkTargetField() = 0;
};
