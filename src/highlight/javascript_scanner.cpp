#include "javascript_scanner.h"

TqorJScriptRTF::TqorJScriptRTF() = default;
