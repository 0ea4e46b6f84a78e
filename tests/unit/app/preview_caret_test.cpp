#include "preview_caret.h"

#include <gtest/gtest.h>

#include <QJsonDocument>

#include "ini_file.h"

namespace {

QJsonArray Json(const char* text) { return QJsonDocument::fromJson(text).array(); }

TEST(PreviewCaret, PathsCrossToThePageAndBack) {
  const pagetree::TPath path = {{0, "html"}, {1, "body"}, {3, "foreignobject"}};
  const QJsonArray json = previewcaret::PathToJson(path);
  EXPECT_EQ(QJsonDocument(json).toJson(QJsonDocument::Compact),
            QByteArray(R"([[0,"html"],[1,"body"],[3,"foreignobject"]])"));
  EXPECT_EQ(previewcaret::PathFromJson(json), path);
}

TEST(PreviewCaret, AMalformedPathFromThePageIsNoPath) {
  for (const char* text :
       {R"([[0,"html"],[1]])", R"([[0,"html"],["1","body"]])", R"([[0,"html"],[1,2]])",
        R"([[0,"html"],{"i":1}])", R"([[0,"html"],[1,"body","x"]])"}) {
    EXPECT_TRUE(previewcaret::PathFromJson(Json(text)).empty()) << text;
  }
  EXPECT_TRUE(previewcaret::PathFromJson(QJsonArray()).empty());
}

TEST(PreviewCaret, TheSwitchIsOnUnlessItsKeySaysOtherwise) {
  const struct {
    const char* File;
    bool On;
  } cases[] = {
      {"", true},
      {"[Vexa Preview Caret]\r\nOutline=1\r\n", true},
      {"[Vexa Preview Caret]\r\nOutline=0\r\n", false},
      {"[Vexa Preview Caret]\r\nOutline=yes\r\n", false},
      {"[Vexa options]\r\nOutline=0\r\n", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(previewcaret::ReadOutlineSwitch(IniFile("/nonexistent/vexapro.ini", c.File)), c.On)
        << c.File;
  }
  IniFile ini("/nonexistent/vexapro.ini", "[Vexa options]\r\nWord Wrap=1\r\n");
  previewcaret::WriteOutlineSwitch(ini, false);
  EXPECT_FALSE(previewcaret::ReadOutlineSwitch(ini));
  previewcaret::WriteOutlineSwitch(ini, true);
  EXPECT_TRUE(previewcaret::ReadOutlineSwitch(ini));
}

}  // namespace
