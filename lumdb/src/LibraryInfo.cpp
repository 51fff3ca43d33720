// The library's version string, shown by the program's about box.
#include "lumdb/lumdb.h"

const char* LumdbVersion() {
    return LUMORA_VERSION_STRING;
}
