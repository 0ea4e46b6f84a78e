#include "tools.h"

#include "main_window.h"

namespace tools {

void Detect(TForm1&) {}
void StartGraphicBrowser(TForm1&) {}
void StartThumbnailCreator(TForm1&) {}

}  // namespace tools
