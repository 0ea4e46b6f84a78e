// The XML highlighter.
#pragma once

#include "rtf_syntax.h"

class TqorXMLRTF : public TqorRTFSyntax {
 public:
  TqorXMLRTF();
};
