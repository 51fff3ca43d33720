// The library's version string, shown by the program's about box.
#include "lumgl/lumgl.h"

const char* LumglVersion() {
    return LUMORA_VERSION_STRING;
}
