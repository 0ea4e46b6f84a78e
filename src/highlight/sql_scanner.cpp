#include "sql_scanner.h"

TqorSQLRTF::TqorSQLRTF() = default;
