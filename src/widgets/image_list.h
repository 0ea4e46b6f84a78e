// The shared image list (ImageList1): the icons of the main window's actions,
// the preview window's menu and the manager's tool buttons, by index.
#pragma once

#include <QIcon>

namespace imagelist {

// Icon indexes in use.
// clang-format off
enum : int {
  kCut = 0, kCopy = 1, kPaste = 2, kNew = 6, kOpen = 7, kSave = 8, kCodeGenerator = 10,
  kShowPreview = 13, kShowManager = 16, kAlignLeft = 20, kAlignCenter = 21, kAlignRight = 22,
  kBold = 23, kItalic = 24, kUnderline = 25, kSaveAs = 30, kProjects = 42, kExit = 43,
  kFind = 45, kGraphicBrowser = 47, kThumbnailCreator = 48, kCount = 49
};
// clang-format on

QIcon Icon(int index);

}  // namespace imagelist
