// The readers of the individual formats, reached through the format table.
#pragma once

#include "ReadContext.h"

namespace lumio::detail {

void readNative(ReadContext& ctx);    // Lumora-Datei
void readAscii(ReadContext& ctx);     // .asc/.txt: pre-check, then x,y or y
void readAsciiXY(ReadContext& ctx);   // ASCII x,y
void readAsciiY(ReadContext& ctx);    // ASCII y only
void readBinary(ReadContext& ctx);    // .bin: pre-check, then x,y or y by analysis
void readBinaryXY(ReadContext& ctx);  // binary x,y
void readBinaryY(ReadContext& ctx);   // binary y only
void read4Spec(ReadContext& ctx);
void readMaps(ReadContext& ctx);
void readDaVis(ReadContext& ctx);
void readOOIBase(ReadContext& ctx);
void readOOILibs(ReadContext& ctx);
void readGrams(ReadContext& ctx);  // .spc: new or old format by the file's version byte
void readGramsNew(ReadContext& ctx);
void readGramsOld(ReadContext& ctx);
void readWinSpec(ReadContext& ctx);
void readAvaSoft(ReadContext& ctx);

}  // namespace lumio::detail
