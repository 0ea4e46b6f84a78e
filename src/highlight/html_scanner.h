// The HTML highlighter.
#pragma once

#include "rtf_syntax.h"

class TqorHTMLRTF : public TqorRTFSyntax {
 public:
  TqorHTMLRTF();
};
