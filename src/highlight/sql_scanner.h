// The SQL highlighter.
#pragma once

#include "rtf_syntax.h"

class TqorSQLRTF : public TqorRTFSyntax {
 public:
  TqorSQLRTF();
};
