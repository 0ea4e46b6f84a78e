// The main window's start-up sequence (when it is first shown) and its close.
#pragma once

class TForm1;

namespace startup {

void FormShow(TForm1& form);
void FormClose(TForm1& form);

}  // namespace startup
