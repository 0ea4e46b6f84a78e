#include "xml_scanner.h"

TqorXMLRTF::TqorXMLRTF() = default;
