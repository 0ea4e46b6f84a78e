#include "php_scanner.h"

TqorPHPRTF::TqorPHPRTF() = default;
