// The two optional external tools: detected by marker files in the shared
// folder, started from the Tools menu.
#pragma once

class TForm1;

namespace tools {

void Detect(TForm1& form);
void StartGraphicBrowser(TForm1& form);
void StartThumbnailCreator(TForm1& form);

}  // namespace tools
