#include "vbscript_scanner.h"

TqorVBScriptRTF::TqorVBScriptRTF() = default;
