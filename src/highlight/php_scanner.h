// The PHP highlighter.
#pragma once

#include "rtf_syntax.h"

class TqorPHPRTF : public TqorRTFSyntax {
 public:
  TqorPHPRTF();
};
