// The library's version string, shown by the program's about box.
#include "lumio/lumio.h"

const char* LumioVersion() {
    return LUMORA_VERSION_STRING;
}
