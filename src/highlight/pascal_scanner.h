// The Pascal (Delphi script) highlighter.
#pragma once

#include "rtf_syntax.h"

class TqorPasRTF : public TqorRTFSyntax {
 public:
  TqorPasRTF();
};
