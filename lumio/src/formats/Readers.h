// The readers of the individual formats, reached through the format table.
#pragma once

#include <string_view>

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
void readOceanText(ReadContext& ctx);  // SpectraSuite, OceanView and Jaz text exports

// Content checks on the first bytes of a file (see ContentChecks.cpp).
bool looksNative(std::string_view head);
bool looksAscii(std::string_view head);
bool looks4Spec(std::string_view head);
bool looksMaps(std::string_view head);
bool looksDaVis(std::string_view head);
bool looksOOIBase(std::string_view head);
bool looksOOILibs(std::string_view head);
bool looksGrams(std::string_view head);
bool looksWinSpec(std::string_view head);
bool looksAvaSoft(std::string_view head);
bool looksOceanText(std::string_view head);

}  // namespace lumio::detail
