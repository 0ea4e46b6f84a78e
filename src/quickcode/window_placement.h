// Where the quick-code and project windows open: centred on the desktop.
#pragma once

class QWidget;

namespace placement {

void CentreOnScreen(QWidget* window);

}  // namespace placement
