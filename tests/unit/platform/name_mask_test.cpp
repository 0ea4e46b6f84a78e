#include "name_mask.h"

#include <gtest/gtest.h>

namespace {

TEST(NameMask, ManagerMaskTakesItsExtensionsOnly) {
  const NameMask mask("*.htm;*.html;*.php?;*.asp;*.java;*.vbs;*.xml;*.pas;*.txt;*.js");
  for (const char* name : {"index.htm", "a.html", "a.php", "a.php3", "x.asp", "Main.java", "s.vbs",
                           "d.xml", "u.pas", "readme.txt", "app.js", ".htm", "two.dots.htm"}) {
    EXPECT_TRUE(mask.Matches(name)) << name;
  }
  for (const char* name : {"a.php34", "a.htmx", "a.jsx", "htm", "a.ph", "a.htm.bak", "a.js ", ""}) {
    EXPECT_FALSE(mask.Matches(name)) << name;
  }
}

TEST(NameMask, LettersMatchWithoutRegardToCase) {
  const NameMask pictures("*.jpg;*.jpeg;*.bmp;*.gif;*.png");
  for (const char* name : {"CAMERA.JPG", "a.Jpeg", "X.PNG", "b.gIf"}) {
    EXPECT_TRUE(pictures.Matches(name)) << name;
  }
  EXPECT_FALSE(pictures.Matches("CAMERA.JPGX"));
  EXPECT_TRUE(NameMask("*.htm;*.php?").Matches("PAGE.HTM"));
  EXPECT_TRUE(NameMask("*.php?").Matches("A.PHP3"));
  EXPECT_TRUE(NameMask("Read*.*").Matches("README"));
  // Code page 1252 letters beyond ASCII fold too; signs and digits do not.
  EXPECT_TRUE(NameMask("\xe9t\xe9.txt").Matches("\xc9T\xc9.TXT"));
  EXPECT_TRUE(NameMask("\x9a*").Matches("\x8a.txt"));
  EXPECT_TRUE(NameMask("\xff*").Matches("\x9f.txt"));
  EXPECT_FALSE(NameMask("\xf7*").Matches("\xd7.txt"));
  EXPECT_FALSE(NameMask("[*").Matches("{.txt"));
}

TEST(NameMask, QuestionMarks) {
  const NameMask middle("a?c.txt");
  EXPECT_TRUE(middle.Matches("abc.txt"));
  EXPECT_FALSE(middle.Matches("ac.txt"));
  EXPECT_FALSE(middle.Matches("abbc.txt"));
  // Each "?" that ends a pattern takes one character or none.
  const NameMask tail("f.x??");
  EXPECT_TRUE(tail.Matches("f.x"));
  EXPECT_TRUE(tail.Matches("f.x1"));
  EXPECT_TRUE(tail.Matches("f.x12"));
  EXPECT_FALSE(tail.Matches("f.x123"));
  EXPECT_FALSE(tail.Matches("f."));
}

TEST(NameMask, StarsBacktrack) {
  const NameMask mask("*a*b*.t?t");
  EXPECT_TRUE(mask.Matches("xaxxbyy.txt"));
  EXPECT_TRUE(mask.Matches("ab.t_t"));
  EXPECT_FALSE(mask.Matches("ab.tt"));
  EXPECT_TRUE(mask.Matches("aab.b.t.t"));
  EXPECT_FALSE(mask.Matches("ba.txt"));
  EXPECT_TRUE(NameMask("*").Matches("anything at all"));
  EXPECT_TRUE(NameMask("**.jpg").Matches("p.jpg"));
  EXPECT_FALSE(NameMask("*.jpg").Matches("p.jpeg"));
  // File names may hold stars and question marks of their own.
  EXPECT_TRUE(NameMask("*").Matches("*cb?c"));
  EXPECT_TRUE(NameMask("*.htm").Matches("*new*.htm"));
  EXPECT_TRUE(NameMask("*.*").Matches("*"));
}

TEST(NameMask, DotStarAlsoTakesNamesWithoutADot) {
  const NameMask all("*.*");
  EXPECT_TRUE(all.Matches("Makefile"));
  EXPECT_TRUE(all.Matches("a.b.c"));
  EXPECT_TRUE(all.Matches(".hidden"));
  const NameMask prefixed("read*.*");
  EXPECT_TRUE(prefixed.Matches("readme"));
  EXPECT_TRUE(prefixed.Matches("readme.txt"));
  EXPECT_FALSE(prefixed.Matches("notes"));
}

TEST(NameMask, PatternListEdges) {
  EXPECT_FALSE(NameMask("").Matches("a.htm"));
  EXPECT_FALSE(NameMask(";;").Matches("a.htm"));
  const NameMask spaced(" *.jpg ; *.png;;*.gif;");
  EXPECT_TRUE(spaced.Matches("a.jpg"));
  EXPECT_TRUE(spaced.Matches("a.png"));
  EXPECT_TRUE(spaced.Matches("a.gif"));
  EXPECT_FALSE(spaced.Matches("a.bmp"));
  EXPECT_FALSE(NameMask().Matches("a"));
}

}  // namespace
