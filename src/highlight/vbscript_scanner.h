// The VBScript highlighter.
#pragma once

#include "rtf_syntax.h"

class TqorVBScriptRTF : public TqorRTFSyntax {
 public:
  TqorVBScriptRTF();
};
