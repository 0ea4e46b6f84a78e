#include "pascal_scanner.h"

TqorPasRTF::TqorPasRTF() = default;
