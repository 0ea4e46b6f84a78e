#include "html_scanner.h"

TqorHTMLRTF::TqorHTMLRTF() = default;
