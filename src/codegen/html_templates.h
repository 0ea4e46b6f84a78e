// The HTML fragments of the code generator, built from the texts of its fields.
// Field texts go in exactly as typed: nothing is trimmed, escaped or checked,
// so the user can put any markup into an attribute on purpose.
#pragma once

#include <QString>

namespace codegen {

struct PageColorFields {
  QString Back;       // colorback
  QString Text;       // colortext
  QString Link;       // colorlink
  QString VLink;      // colorvlink
  QString ALink;      // coloralink
  QString BackImage;  // backimage1; empty leaves out the background attribute
};
QString PageColorCode(const PageColorFields& f);

struct LinkFields {
  QString Font;   // facefontlink
  QString Size;   // facesize
  QString Align;  // linkalign
  QString Text;   // linktext
  QString Image;  // imagelink
  QString Url;    // linkurl
};
// A link around an image, around text, or around an image followed by text.
QString LinkCode(const LinkFields& f);

struct TextFields {
  QString Font;   // intextfonts
  QString Size;   // intextsize
  QString Color;  // intextcolor
  QString Align;  // intextalign
};
QString TextCode(const TextFields& f);

struct ImageFields {
  QString Align;    // inimagealign
  QString Image;    // inimage
  QString Comment;  // inimagecom; empty leaves out the alt attribute
};
QString ImageCode(const ImageFields& f);

struct HeadlineFields {
  QString Font;   // headfonts
  QString Size;   // headsize
  QString Color;  // headcolor
  QString Align;  // headalign
  QString Title;  // headtitle: the bookmark's name and the visible headline
};
QString HeadlineCode(const HeadlineFields& f);

QString LineBreakCode();       // "Line Break"
QString HorizontalLineCode();  // "Horizontal Line"

// The six form fields; each form posts to itself and saves its results to a
// text file of its own in the site's "private" folder.
enum class FormField {
  OneLineTextBox,
  ScrollingTextBox,
  CheckBox,
  RadioButton,
  DropDownMenu,
  PushButton
};
QString FormCode(FormField field, const QString& align);

}  // namespace codegen
