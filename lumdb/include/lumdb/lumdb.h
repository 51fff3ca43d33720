// lumdb: analysis and line database. The entry points are exported under their plain names.
#pragma once

#include "lumdb/Analysis.h"
#include "lumdb/Combine.h"
#include "lumdb/Database.h"
#include "lumdb/Records.h"
#include "lumdb/RunHost.h"
#include "lumdb/lumdb_export.h"

LUMDB_EXPORT const char* LumdbVersion();
