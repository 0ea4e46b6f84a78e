// The JavaScript highlighter.
#pragma once

#include "rtf_syntax.h"

class TqorJScriptRTF : public TqorRTFSyntax {
 public:
  TqorJScriptRTF();
};
