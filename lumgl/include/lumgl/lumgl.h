// lumgl: plot description, scaling and coordinate mapping, drawing. The entry points are
// exported under their plain names.
#pragma once

#include "lumgl/PlotInfo.h"
#include "lumgl/lumgl_export.h"

LUMGL_EXPORT const char* LumglVersion();
