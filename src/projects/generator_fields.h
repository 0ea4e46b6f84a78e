// The fields of the code generator that the image dialog and the site chooser
// fill. The code generator implements this, so these dialogs need not know it.
#pragma once

class QString;

class TGeneratorFields {
 public:
  virtual ~TGeneratorFields() = default;

  // Puts a picture reference into the field that takes one on the page shown
  // now; a page without such a field is left as it is.
  virtual void SetPictureReference(const QString& reference) = 0;
  // Puts a link target into the link field.
  virtual void SetLinkTarget(const QString& target) = 0;
};
