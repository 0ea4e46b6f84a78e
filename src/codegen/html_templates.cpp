#include "html_templates.h"

namespace codegen {

QString PageColorCode(const PageColorFields& f) {
  QString code = QStringLiteral("<body bgcolor=\"") + f.Back + QStringLiteral("\" text=\"") +
                 f.Text + QStringLiteral("\" link=\"") + f.Link + QStringLiteral("\" vlink=\"") +
                 f.VLink + QStringLiteral("\" alink=\"") + f.ALink + QStringLiteral("\"");
  if (!f.BackImage.isEmpty()) code += QStringLiteral(" background=\"") + f.BackImage + '"';
  return code + '>';
}

QString LinkCode(const LinkFields& f) {
  const QString open = QStringLiteral("<p align=\"") + f.Align + QStringLiteral("\"><a href=\"") +
                       f.Url + QStringLiteral("\">");
  const QString text = QStringLiteral("<font face=\"") + f.Font + QStringLiteral("\" size=\"") +
                       f.Size + QStringLiteral("\">") + f.Text;
  const QString close = QStringLiteral("</font></a></p>");
  if (f.Image.isEmpty()) return open + text + close;
  const QString image = QStringLiteral("<img src=\"") + f.Image + QStringLiteral("\">");
  // An image without text still ends with the text form's closing font tag;
  // browsers skip the stray tag, and the user sees it in the code field first.
  return f.Text.isEmpty() ? open + image + close : open + image + text + close;
}

QString TextCode(const TextFields& f) {
  return QStringLiteral("<p align=\"") + f.Align + QStringLiteral("\"><font face=\"") + f.Font +
         QStringLiteral("\" size=\"") + f.Size + QStringLiteral("\" color=\"") + f.Color +
         QStringLiteral("\">{To do: Insert your text with line breaks ++ here}</font></p>");
}

QString ImageCode(const ImageFields& f) {
  QString code =
      QStringLiteral("<p align=\"") + f.Align + QStringLiteral("\"><img src=\"") + f.Image + '"';
  if (!f.Comment.isEmpty()) code += QStringLiteral(" alt=\"") + f.Comment + '"';
  return code + QStringLiteral("></p>");
}

QString HeadlineCode(const HeadlineFields& f) {
  return QStringLiteral("<p align=\"") + f.Align + QStringLiteral("\"><a name=\"") + f.Title +
         QStringLiteral("\"><font face=\"") + f.Font + QStringLiteral("\" size=\"") + f.Size +
         QStringLiteral("\" color=\"") + f.Color + QStringLiteral("\">") + f.Title +
         QStringLiteral("</font></a></p>");
}

QString LineBreakCode() { return QStringLiteral("<br>"); }

QString HorizontalLineCode() { return QStringLiteral("<hr>"); }

namespace {

struct FormParts {
  const char* ResultsFile;
  const char* Tail;
};

FormParts PartsOf(FormField field) {
  switch (field) {
    case FormField::OneLineTextBox:
      return {"form_results.txt",
              "\"><p><input type=\"text\" name=\"T1\" size=\"20\"><input type=\"submit\" "
              "value=\"Submit\" name=\"B1\"><input type=\"reset\" value=\"Reset\" "
              "name=\"B2\"></p></center></div></form>"};
    case FormField::ScrollingTextBox:
      return {"form_results1.txt",
              "\"><p><textarea rows=\"2\" name=\"S1\" cols=\"20\"></textarea><input "
              "type=\"submit\" value=\"Submit\" name=\"B1\"><input type=\"reset\" "
              "value=\"Reset\" name=\"B2\"></p></div></form>"};
    case FormField::CheckBox:
      return {"form_results2.txt",
              "\"><p><input type=\"checkbox\" name=\"C1\" value=\"ON\"><input type=\"submit\" "
              "value=\"Submit\" name=\"B1\"><input type=\"reset\" value=\"Reset\" "
              "name=\"B2\"></p></div></form>"};
    case FormField::RadioButton:
      return {"form_results3.txt",
              "\"><p><input type=\"radio\" value=\"V1\" checked name=\"R1\"><input "
              "type=\"submit\" value=\"Submit\" name=\"B1\"><input type=\"reset\" "
              "value=\"Reset\" name=\"B2\"></p></div></form>"};
    case FormField::DropDownMenu:
      return {"form_results4.txt",
              "\"><p><select name=\"D1\" size=\"1\"></select><input type=\"submit\" "
              "value=\"Submit\" name=\"B1\"><input type=\"reset\" value=\"Reset\" "
              "name=\"B2\"></p></div></form>"};
    case FormField::PushButton:
      return {"form_results5.txt",
              "\"><p><input type=\"button\" value=\"Button\" name=\"B1\"></p></div></form>"};
  }
  return {"", ""};
}

}  // namespace

QString FormCode(FormField field, const QString& align) {
  const FormParts parts = PartsOf(field);
  return QStringLiteral(
             "<form method=\"POST\" action=\"--WEBBOT-SELF--\"><!--webbot bot=\"SaveResults\" "
             "U-File=\"private/") +
         QLatin1String(parts.ResultsFile) +
         QStringLiteral("\" S-Format=\"TEXT/CSV\" S-Label-Fields=\"TRUE\" --><div align=\"") +
         align + QLatin1String(parts.Tail);
}

}  // namespace codegen
