// Vector exports: the Windows metafile canvas and the WPG writer. Their bytes record by
// record against goldens, and conversions by readers nobody here wrote (wmf2svg, wpg2svg)
// when installed.
#include <filesystem>

#include "ChildProcess.h"
#include "Support.h"
#include "lumcore/Printf.h"
#include "lumgl/Drawing.h"
#include "lumgl/WmfCanvas.h"
#include "lumgl/WpgExport.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const fs::path kDir =
    fs::temp_directory_path() / ("lumgl_export_test_" + std::to_string(::getpid()));
const SDeviceRect kClient{0, 0, 800, 500};

template <class T = Bytes>
T ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return T(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
unsigned U16(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8u);
}
std::uint32_t U32(const Bytes& b, std::size_t at) {
    return U16(b, at) | (U16(b, at + 2) << 16u);
}

std::string Hex(const Bytes& b, std::size_t from, std::size_t to, bool words) {
    std::string text;
    for (std::size_t at = from; at < to && at < b.size(); at += words ? 2 : 1)
        text += lumcore::strprintf(words ? " %04x" : " %02x", words ? U16(b, at) : b[at]);
    return text + "\n";
}

// A metafile as text: the placeable and the metafile header, then one record a line (size in
// words, function, parameters), all in 16-bit words; anything after the end record shows.
std::string WmfTrace(const Bytes& b) {
    std::string trace = "header" + Hex(b, 0, 40, true);
    for (std::size_t at = 40, size = 0; at + 6 <= b.size(); at += 2 * size) {
        size = std::max<std::size_t>(U32(b, at), 3);
        trace += lumcore::strprintf("%u", U32(b, at)) + Hex(b, at + 4, at + 2 * size, true);
        if (U16(b, at + 4) == 0)  // the end record
            return trace + (at + 2 * size == b.size() ? "" : "trailing bytes\n");
    }
    return trace + "no end record\n";
}

struct WpgRecord {
    unsigned type, extension;
    std::size_t at, data, end;
};

std::vector<WpgRecord> WpgRecords(const Bytes& b) {
    std::vector<WpgRecord> records;
    for (std::size_t at = lumgl::kWpgHeaderSize; at + 4 <= b.size();) {
        WpgRecord r{b[at + 1], b[at + 2], at, at + 3, 0};
        if (r.extension == 0xFF) {
            r.extension = U16(b, r.data);
            r.data += 2;
        }
        r.end = r.data + 1 + b[r.data];
        records.push_back(r);
        at = r.end;
        if (r.type == 2) break;
    }
    return records;
}

// A WPG file as text: the header, then one record a line (class, type, extension, length,
// data) in bytes; anything after the end record shows.
std::string WpgTrace(const Bytes& b) {
    std::string trace = "header" + Hex(b, 0, lumgl::kWpgHeaderSize, false);
    std::size_t end = lumgl::kWpgHeaderSize;
    for (const WpgRecord& r : WpgRecords(b)) {
        trace += lumcore::strprintf("%02x %02x %u", b[r.at], r.type, r.extension) +
                 Hex(b, r.data, r.end, false);
        end = r.end;
    }
    return trace + (end == b.size() ? "" : "trailing bytes\n");
}

SPlotInfo Diagram() {
    return spectra::LinearDiagram(800, 500, 200.0f, 800.0f, 0.0f, 15000.0f);
}

TLineArray MercuryLine(bool withLineOutside) {
    TLineArray lines;
    CLine line(546.07f, 12000.0f);
    line.speciesLabels = {"Hg I 546.07;0.8", "Xe II 546.04;0.1*"};
    lines.add(line);
    if (withLineOutside) lines.add(CLine(100.0f, 100.0f));  // outside the frame: no marker
    return lines;
}

// A small diagram as metafile; fifty pen changes (an object is deleted only after its
// successor is selected, so at most four slots: pen, brush, font and one more pen); a new
// WPG picture of the diagram and the lines appended to it twice: each append replaces the
// end record and keeps the length in the header.
TEST(ExportGolden, MetafileAndWpgRecordByRecord) {
    fs::create_directories(kDir);
    SPlotInfo info = Diagram();
    lumgl::WmfCanvas wmf(kClient);
    PlotDrawing(spectra::Generate(40), info, wmf);
    golden::Expect("wmf_small_diagram", WmfTrace(wmf.bytes()));
    ASSERT_TRUE(wmf.save((kDir / "d.wmf").string()));
    EXPECT_EQ(ReadAll(kDir / "d.wmf"), wmf.bytes());
    lumgl::WmfCanvas pens({0, 0, 100, 100});
    for (int i = 0; i < 50; ++i) pens.setPen(SPenDesc{static_cast<TColor>(i), 1, PenStyle::Solid});
    golden::Expect("wmf_pen_changes", WmfTrace(pens.bytes()));

    const fs::path path = kDir / "d.wpg";
    ASSERT_TRUE(ExportPlotAsWPG(kClient, spectra::Generate(40), info, path.string(), 0));
    golden::Expect("wpg_small_diagram", WpgTrace(ReadAll(path)));
    ASSERT_TRUE(ExportLinesAsWPG(kClient, MercuryLine(true), info, path.string(), 16));
    ASSERT_TRUE(ExportLinesAsWPG(kClient, MercuryLine(true), info, path.string(), 32));
    const Bytes b = ReadAll(path);
    golden::Expect("wpg_appended_lines", WpgTrace(b));
    EXPECT_EQ(U32(b, 20), b.size());

    // An append that fails part-way (files limited to a few bytes more than the picture has)
    // leaves the picture byte for byte, with no temporary file beside it.
    const int status = lumtest::withFileSizeLimit(static_cast<rlim_t>(b.size() + 100), [&] {
        return ExportPlotAsWPG(kClient, spectra::Generate(500), info, path.string(), 1) ? 1 : 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadAll(path), b);
    for (const auto& entry : fs::directory_iterator(kDir))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos)
            << entry.path();
}

TEST(WpgExport, ScaleOfTheClientArea) {
    const lumgl::WpgScale s = lumgl::WpgScaleOf({0, 0, 1000, 600});
    EXPECT_EQ((std::pair{s.sx, s.sy}), (std::pair{12, 14}));
    SPlotInfo info = Diagram();
    info.plotRect = {0, 0, 1000, 600};
    const SPlotInfo w = lumgl::WpgPlotInfo({0, 0, 1000, 600}, info);
    // The whole client area is the whole picture; y grows upwards.
    EXPECT_EQ(w.plotRect, (SDeviceRect{600, 9321, 13431, 600}));
    // 600 + trunc(12831 * 0.16973), 600 + trunc(8721 * 0.13597)
    EXPECT_EQ(w.origin, (SDevicePoint{2777, 1785}));
    EXPECT_EQ(w.bottomRight, (SDevicePoint{2777 + 9410, 1785}));  // trunc(12831 * 0.73343)
    EXPECT_EQ(w.topLeft, (SDevicePoint{2777, 1785 + 7057}));      // trunc(8721 * 0.80931)
    EXPECT_EQ(w.margin, 140);
    EXPECT_GT(w.yScale, 0.0f);
}

TEST(WpgExport, SeventyThousandSegmentsMakeThreeGroups) {
    fs::create_directories(kDir);
    TPointList zigzag;
    for (int i = 0; i <= 70000; ++i)
        zigzag.push_back(TPointF{200.0f + 600.0f * i / 70000.0f, i % 2 ? 12000.0f : 3000.0f});
    SPlotInfo info = Diagram();
    info.drawFlags = kDrawXLinear | kDrawYLinear | kDrawCurve;
    ASSERT_TRUE(ExportPlotAsWPG(kClient, zigzag, info, (kDir / "groups.wpg").string(), 0));
    std::vector<unsigned> counts;
    unsigned lines = 0;
    for (const WpgRecord& r : WpgRecords(ReadAll(kDir / "groups.wpg"))) {
        if (r.type == 32) counts.push_back(r.extension);
        lines += r.type == 21;
    }
    EXPECT_EQ(lines, 70000u);
    EXPECT_EQ(counts, (std::vector<unsigned>{32767, 32767, 4466}));
}

TEST(WpgExport, RefusesToAppendToAForeignFile) {
    fs::create_directories(kDir);
    SPlotInfo info = Diagram();
    auto write = [&](const char* name, int mode) {
        return ExportPlotAsWPG(kClient, spectra::Generate(100), info, (kDir / name).string(), mode);
    };
    // A text; a WPG file of ours cut short (the stored length no longer matches); shorter than
    // a header; and missing.
    ASSERT_TRUE(write("cut.wpg", 0));
    const std::string ours = ReadAll<std::string>(kDir / "cut.wpg");
    for (const auto& [name, bytes] :
         {std::pair{"notes.wpg", std::string("Kein Bild, nur ein Text, lang genug.\n")},
          {"cut.wpg", ours.substr(0, ours.size() - 10)},
          {"tiny.wpg", std::string("\xFFWPC")}}) {
        std::ofstream(kDir / name, std::ios::binary) << bytes;
        EXPECT_FALSE(write(name, 1)) << name;
        EXPECT_FALSE(
            ExportLinesAsWPG(kClient, MercuryLine(false), info, (kDir / name).string(), 16));
        EXPECT_EQ(ReadAll<std::string>(kDir / name), bytes) << name;
    }
    EXPECT_FALSE(write("none.wpg", 1));
    EXPECT_FALSE(fs::exists(kDir / "none.wpg"));
}

TEST(WpgExport, GermanLettersAndBlanksGetWordPerfectCodes) {
    EXPECT_EQ(
        lumgl::WpgCharacters("Ä ä Ö ö Ü ü ß"),
        (Bytes{0x06, 0x80, 0x05, 0x80, 0x1B, 0x80, 0x1A, 0x80, 0x1D, 0x80, 0x1C, 0x80, 0x20}));
    EXPECT_EQ(lumgl::WpgCharacters("nm;[%]"), (Bytes{'n', 'm', ';', '[', '%', ']'}));
    // Bytes from 0x80 up are function codes to a reader: never written for a character.
    EXPECT_EQ(lumgl::WpgCharacters("µ€\t"), (Bytes{'?', '?', '?'}));
}

// The converted picture holds the title, a tick label, the axis titles and a species label
// (the metafile's texts are Windows-1252), and the lines of frame, ticks and curve.
TEST(ExternalReaders, Wmf2svgAndWpg2svgReadOurFiles) {
    fs::create_directories(kDir);
    SPlotInfo info = Diagram();
    lumgl::WmfCanvas wmf(kClient);
    PlotDrawing(spectra::Generate(3000), info, wmf);
    ASSERT_TRUE(wmf.save((kDir / "d.wmf").string()));
    ASSERT_TRUE(
        ExportPlotAsWPG(kClient, spectra::Generate(3000), info, (kDir / "d.wpg").string(), 0));
    ASSERT_TRUE(ExportLinesAsWPG(kClient, MercuryLine(false), info, (kDir / "d.wpg").string(), 48));
    for (const table::Row& r : table::Read("external_readers.tsv")) {
        if (std::system(("command -v " + r[0] + " > /dev/null").c_str()) != 0) continue;
        fs::remove(kDir / "d.svg");
        if (std::system(("cd " + kDir.string() + " && " + r[1] + " 2> /dev/null").c_str())) {
            // libwmf renders text with Type 1 fonts (Debian: fonts-urw-base35) and fails
            // without any; that is the machine, not our file.
            if (r[0] == "wmf2svg" && std::system("fc-list | grep -qi 'urw\\|nimbus'") != 0)
                continue;
            ADD_FAILURE() << r[0] << " could not read our file";
        }
        const std::string svg = ReadAll<std::string>(kDir / "d.svg");
        for (std::size_t i = 3; i < r.size(); ++i)
            EXPECT_NE(svg.find(r[i]), std::string::npos) << r[0] << ": " << r[i];
        std::size_t lines = 0;
        for (const char* tag : {"<line", "<polyline", "<path", "<svg:line", "<svg:path"}) {
            for (std::size_t at = svg.find(tag); at != std::string::npos;
                 at = svg.find(tag, at + 1))
                ++lines;
        }
        EXPECT_GT(lines, std::stoul(r[2])) << r[0];
    }
}
