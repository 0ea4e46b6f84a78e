#include "html_templates.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace codegen;

std::string S(const QString& s) { return s.toStdString(); }

PageColorFields DefaultPageColors() { return {"White", "Black", "Blue", "Darkblue", "Yellow", ""}; }

LinkFields DefaultLink() { return {"Arial", "10", "Left", "", "", ""}; }

TEST(HtmlTemplates, PageColorsWithAndWithoutBackgroundImage) {
  PageColorFields f = DefaultPageColors();
  EXPECT_EQ(S(PageColorCode(f)),
            R"(<body bgcolor="White" text="Black" link="Blue" vlink="Darkblue" alink="Yellow">)");
  f.BackImage = "images/My Back.GIF";
  EXPECT_EQ(S(PageColorCode(f)),
            R"(<body bgcolor="White" text="Black" link="Blue" vlink="Darkblue" alink="Yellow" )"
            R"(background="images/My Back.GIF">)");
  // Each field lands in its own attribute.
  f = {"a", "b", "c", "d", "e", "f"};
  EXPECT_EQ(S(PageColorCode(f)),
            R"(<body bgcolor="a" text="b" link="c" vlink="d" alink="e" background="f">)");
}

TEST(HtmlTemplates, LinkCodeItsThreeForms) {
  LinkFields f = DefaultLink();
  EXPECT_EQ(S(LinkCode(f)),
            R"(<p align="Left"><a href=""><font face="Arial" size="10"></font></a></p>)");

  f.Text = "Home";
  f.Url = "index.htm";
  EXPECT_EQ(
      S(LinkCode(f)),
      R"(<p align="Left"><a href="index.htm"><font face="Arial" size="10">Home</font></a></p>)");

  f.Image = "images/home.png";
  EXPECT_EQ(S(LinkCode(f)), R"(<p align="Left"><a href="index.htm"><img src="images/home.png">)"
                            R"(<font face="Arial" size="10">Home</font></a></p>)");

  // Without text the font and size are left out, the closing tag stays.
  f.Text.clear();
  f.Font = "Courier";
  f.Size = "7";
  EXPECT_EQ(S(LinkCode(f)),
            R"(<p align="Left"><a href="index.htm"><img src="images/home.png"></font></a></p>)");
}

TEST(HtmlTemplates, TextCodeKeepsItsPlaceholder) {
  EXPECT_EQ(S(TextCode({"Arial", "10", "White", "Left"})),
            R"(<p align="Left"><font face="Arial" size="10" color="White">)"
            R"({To do: Insert your text with line breaks ++ here}</font></p>)");
  EXPECT_EQ(S(TextCode({"Times New Roman", "3", "#FF0000", "center"})),
            R"(<p align="center"><font face="Times New Roman" size="3" color="#FF0000">)"
            R"({To do: Insert your text with line breaks ++ here}</font></p>)");
}

TEST(HtmlTemplates, ImageCodeWithAndWithoutComment) {
  ImageFields f{"Left", "", ""};
  EXPECT_EQ(S(ImageCode(f)), R"(<p align="Left"><img src=""></p>)");
  f = {"right", "images/a b.JPG", "A view"};
  EXPECT_EQ(S(ImageCode(f)), R"(<p align="right"><img src="images/a b.JPG" alt="A view"></p>)");
  f.Comment.clear();
  EXPECT_EQ(S(ImageCode(f)), R"(<p align="right"><img src="images/a b.JPG"></p>)");
}

TEST(HtmlTemplates, HeadlineUsesTheTitleTwice) {
  EXPECT_EQ(
      S(HeadlineCode({"Arial", "10", "Black", "Left", ""})),
      R"(<p align="Left"><a name=""><font face="Arial" size="10" color="Black"></font></a></p>)");
  EXPECT_EQ(S(HeadlineCode({"Verdana", "5", "Navy", "center", "Prices"})),
            R"(<p align="center"><a name="Prices"><font face="Verdana" size="5" color="Navy">)"
            R"(Prices</font></a></p>)");
}

TEST(HtmlTemplates, LineCodes) {
  EXPECT_EQ(S(LineBreakCode()), "<br>");
  EXPECT_EQ(S(HorizontalLineCode()), "<hr>");
}

TEST(HtmlTemplates, FormCodesWithTheirResultsFilesAndTails) {
  const std::string head =
      R"(<form method="POST" action="--WEBBOT-SELF--"><!--webbot bot="SaveResults" U-File="private/)";
  const std::string mid = R"(" S-Format="TEXT/CSV" S-Label-Fields="TRUE" --><div align=")";
  const std::string buttons =
      R"(<input type="submit" value="Submit" name="B1"><input type="reset" value="Reset" name="B2">)";
  struct Case {
    FormField Field;
    std::string File;
    std::string Tail;
  };
  const Case cases[] = {
      {FormField::OneLineTextBox, "form_results.txt",
       R"("><p><input type="text" name="T1" size="20">)" + buttons + "</p></center></div></form>"},
      {FormField::ScrollingTextBox, "form_results1.txt",
       R"("><p><textarea rows="2" name="S1" cols="20"></textarea>)" + buttons +
           "</p></div></form>"},
      {FormField::CheckBox, "form_results2.txt",
       R"("><p><input type="checkbox" name="C1" value="ON">)" + buttons + "</p></div></form>"},
      {FormField::RadioButton, "form_results3.txt",
       R"("><p><input type="radio" value="V1" checked name="R1">)" + buttons + "</p></div></form>"},
      {FormField::DropDownMenu, "form_results4.txt",
       R"("><p><select name="D1" size="1"></select>)" + buttons + "</p></div></form>"},
      {FormField::PushButton, "form_results5.txt",
       R"("><p><input type="button" value="Button" name="B1"></p></div></form>)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(S(FormCode(c.Field, "Left")), head + c.File + mid + "Left" + c.Tail);
    EXPECT_EQ(S(FormCode(c.Field, "center")), head + c.File + mid + "center" + c.Tail);
  }
}

TEST(HtmlTemplates, FieldTextsGoInUnchanged) {
  // Blanks, quotes, markup and characters beyond ASCII are neither trimmed nor escaped.
  EXPECT_EQ(ImageCode({" Left ", "a\"b", QString::fromUtf8("<b>&amp;€")}),
            QString::fromUtf8(R"(<p align=" Left "><img src="a"b" alt="<b>&amp;€"></p>)"));
}

}  // namespace
