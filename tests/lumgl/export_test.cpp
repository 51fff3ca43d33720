// Vector exports: the Windows metafile canvas and the WPG writer. Layout checks on the
// bytes, and conversions by readers nobody here wrote (wmf2svg, wpg2svg) when installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "Support.h"
#include "lumgl/Drawing.h"
#include "lumgl/WmfCanvas.h"
#include "lumgl/WpgExport.h"
#include "lumgl/lumgl.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

fs::path TempDir() {
    fs::path dir = fs::temp_directory_path() / ("lumgl_export_test_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir;
}

Bytes ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadText(const fs::path& path) {
    const Bytes b = ReadAll(path);
    return std::string(b.begin(), b.end());
}

unsigned U16(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8u);
}
std::uint32_t U32(const Bytes& b, std::size_t at) {
    return U16(b, at) | (U16(b, at + 2) << 16u);
}

bool HaveTool(const char* tool) {
    return std::system((std::string("command -v ") + tool + " > /dev/null 2>&1").c_str()) == 0;
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

SPlotInfo Diagram() {
    return spectra::LinearDiagram(800, 500, 200.0f, 800.0f, 0.0f, 15000.0f);
}

// ---------------------------------------------------------------- Windows metafile

struct WmfRecord {
    std::uint32_t size;  // words
    unsigned function;
    std::size_t at;  // byte offset of the record
};

std::vector<WmfRecord> WmfRecords(const Bytes& b) {
    std::vector<WmfRecord> records;
    std::size_t at = 22 + 18;
    while (at + 6 <= b.size()) {
        const WmfRecord r{U32(b, at), U16(b, at + 4), at};
        records.push_back(r);
        if (r.function == 0 || r.size < 3) break;
        at += 2 * static_cast<std::size_t>(r.size);
    }
    return records;
}

Bytes DiagramAsWmf(const fs::path& path) {
    SPlotInfo info = Diagram();
    lumgl::WmfCanvas canvas({0, 0, 800, 500});
    PlotDrawing(spectra::Generate(3000), info, canvas);
    EXPECT_TRUE(canvas.save(path.string()));
    return ReadAll(path);
}

TEST(WmfCanvas, HeadersAndRecordChain) {
    const Bytes b = DiagramAsWmf(TempDir() / "layout.wmf");
    ASSERT_GT(b.size(), 100u);
    EXPECT_EQ(U32(b, 0), 0x9AC6CDD7u);
    // Bounding box right and bottom, 96 units an inch; metafile header: type 1, 9 words,
    // version 3.0, total size in words.
    for (auto [at, value] :
         {std::pair{10, 800u}, {12, 500u}, {14, 96u}, {22, 1u}, {24, 9u}, {26, 0x300u}})
        EXPECT_EQ(U16(b, at), value) << at;
    unsigned checksum = 0;
    for (int i = 0; i < 10; ++i) checksum ^= U16(b, 2 * i);
    EXPECT_EQ(U16(b, 20), checksum);
    EXPECT_EQ(22u + 2u * U32(b, 28), b.size());

    const std::vector<WmfRecord> records = WmfRecords(b);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().function, 0u);
    EXPECT_EQ(records.back().at + 6, b.size());  // the chain ends exactly at the file's end
    std::uint32_t largest = 0;
    int fonts = 0, turned = 0, texts = 0, polylines = 0;
    for (const WmfRecord& r : records) {
        largest = std::max(largest, r.size);
        if (r.function == lumgl::WmfCanvas::kCreateFontIndirect) {
            ++fonts;
            turned += U16(b, r.at + 10) == 900;  // escapement
        }
        texts += r.function == lumgl::WmfCanvas::kTextOut;
        polylines += r.function == lumgl::WmfCanvas::kPolyline;
    }
    EXPECT_EQ(U32(b, 34), largest);  // the header's largest record
    EXPECT_GE(fonts, 2);
    EXPECT_EQ(turned, 1);  // the y title
    EXPECT_GT(texts, 10);
    EXPECT_GE(polylines, 1);  // the curve
    // Texts are Windows-1252: "Intensität" holds the single byte 0xE4.
    const std::string raw(b.begin(), b.end());
    EXPECT_NE(raw.find("Intensit\xE4t"), std::string::npos);
}

TEST(WmfCanvas, ObjectsAreDeletedOnlyAfterTheirSuccessorIsSelected) {
    lumgl::WmfCanvas canvas({0, 0, 100, 100});
    for (int i = 0; i < 50; ++i)
        canvas.setPen(SPenDesc{static_cast<TColor>(i), 1, PenStyle::Solid});
    const Bytes b = canvas.bytes();
    // pen, brush and font, and during a change one more pen: at most four slots.
    EXPECT_LE(U16(b, 22 + 10), 4u);
    int selected = -1;
    for (const WmfRecord& r : WmfRecords(b)) {
        if (r.function == lumgl::WmfCanvas::kSelectObject)
            selected = static_cast<int>(U16(b, r.at + 6));
        if (r.function == lumgl::WmfCanvas::kDeleteObject) {
            EXPECT_NE(static_cast<int>(U16(b, r.at + 6)), selected);
        }
    }
}

TEST(ExternalReaders, Wmf2svgReadsOurMetafile) {
    if (!HaveTool("wmf2svg")) GTEST_SKIP() << "wmf2svg (libwmf-bin) is not installed";
    const fs::path dir = TempDir();
    DiagramAsWmf(dir / "diagram.wmf");
    if (std::system(("wmf2svg -o " + (dir / "d.svg").string() + " " +
                     (dir / "diagram.wmf").string() + " > /dev/null 2>&1")
                        .c_str()) != 0) {
        // libwmf renders text with Type 1 fonts (Debian: fonts-urw-base35) and fails
        // without any; that is the machine, not our file.
        if (std::system("fc-list | grep -qi 'urw\\|nimbus'") != 0)
            GTEST_SKIP() << "wmf2svg finds no Type 1 fonts";
        FAIL() << "wmf2svg could not read " << (dir / "diagram.wmf");
    }
    const std::string svg = ReadText(dir / "d.svg");
    for (const char* text : {"Probe", "Wellenl", "700"})
        EXPECT_NE(svg.find(text), std::string::npos) << text;
    EXPECT_GT(Count(svg, "<polyline") + Count(svg, "<line") + Count(svg, "<path"), 20u);
}

// ---------------------------------------------------------------- WPG

struct WpgRecord {
    unsigned cls, type, extension, length;
    std::size_t at;
};

std::vector<WpgRecord> WpgRecords(const Bytes& b) {
    std::vector<WpgRecord> records;
    std::size_t at = lumgl::kWpgHeaderSize;
    while (at + 4 <= b.size()) {
        WpgRecord r{b[at], b[at + 1], b[at + 2], 0, at};
        std::size_t p = at + 3;
        if (r.extension == 0xFF) {
            r.extension = U16(b, p);
            p += 2;
        }
        r.length = b[p++];
        records.push_back(r);
        at = p + r.length;
        if (r.type == 2) break;
    }
    return records;
}

TEST(WpgExport, ScaleOfTheClientArea) {
    const lumgl::WpgScale s = lumgl::WpgScaleOf({0, 0, 1000, 600});
    EXPECT_EQ(s.sx, 12);
    EXPECT_EQ(s.sy, 14);
    const SPlotInfo w = lumgl::WpgPlotInfo({0, 0, 1000, 600}, [] {
        SPlotInfo i = Diagram();
        i.plotRect = {0, 0, 1000, 600};
        return i;
    }());
    // The whole client area is the whole picture; y grows upwards.
    EXPECT_EQ(w.plotRect, (SDeviceRect{600, 9321, 13431, 600}));
    // 600 + trunc(12831 * 0.16973), 600 + trunc(8721 * 0.13597)
    EXPECT_EQ(w.origin, (SDevicePoint{2777, 1785}));
    EXPECT_EQ(w.bottomRight, (SDevicePoint{2777 + 9410, 1785}));  // trunc(12831 * 0.73343)
    EXPECT_EQ(w.topLeft, (SDevicePoint{2777, 1785 + 7057}));      // trunc(8721 * 0.80931)
    EXPECT_EQ(w.margin, 140);
    EXPECT_GT(w.yScale, 0.0f);
}

TEST(WpgExport, FileLayoutOfANewPicture) {
    const fs::path path = TempDir() / "layout.wpg";
    SPlotInfo info = Diagram();
    ASSERT_TRUE(ExportPlotAsWPG({0, 0, 800, 500}, spectra::Generate(2000), info, path.string(), 0));
    const Bytes b = ReadAll(path);
    const Bytes header = {0xFF, 'W', 'P', 'C', 26, 0, 0, 0, 1, 22, 2, 0, 0, 0, 0, 0, 3, 0, 0, 0};
    ASSERT_GT(b.size(), 200u);
    EXPECT_TRUE(std::equal(header.begin(), header.end(), b.begin()));
    EXPECT_EQ(U32(b, 20), b.size());
    const std::vector<WpgRecord> r = WpgRecords(b);
    const std::vector<table::Row> fixed = table::Read("wpg_start_records.tsv");
    ASSERT_GT(r.size(), fixed.size() + 3);
    for (std::size_t i = 0; i < fixed.size(); ++i) {
        const WpgRecord& x = r[i];
        EXPECT_EQ((std::vector<unsigned>{x.cls, x.type, x.extension, x.length}),
                  (std::vector<unsigned>{
                      unsigned(table::I(fixed[i][0])), unsigned(table::I(fixed[i][1])),
                      unsigned(table::I(fixed[i][2])), unsigned(table::I(fixed[i][3]))}))
            << i;
    }
    EXPECT_EQ(r[0].at, 26u);
    EXPECT_EQ(U16(b, 26 + 4), 1200u);
    EXPECT_EQ(U16(b, 26 + 4 + 5 + 4), 13431u);
    // Groups: ticks and frame, texts, curve; each count is the records up to the next group.
    std::vector<unsigned> counts;
    std::vector<unsigned> actual;
    for (std::size_t i = fixed.size(); i < r.size(); ++i) {
        if (r[i].type == 32) {
            counts.push_back(r[i].extension);
            actual.push_back(0);
        } else if (r[i].type != 2 && !actual.empty()) {
            ++actual.back();
        }
    }
    EXPECT_EQ(counts.size(), 3u);
    EXPECT_EQ(counts, actual);
    EXPECT_EQ(r.back().type, 2u);
    EXPECT_EQ(r.back().at + 4, b.size());
}

TEST(WpgExport, SeventyThousandSegmentsMakeThreeGroups) {
    const fs::path path = TempDir() / "groups.wpg";
    TPointList zigzag;
    for (int i = 0; i <= 70000; ++i)
        zigzag.push_back(TPointF{200.0f + 600.0f * i / 70000.0f, i % 2 ? 12000.0f : 3000.0f});
    SPlotInfo info = Diagram();
    info.drawFlags = kDrawXLinear | kDrawYLinear | kDrawCurve;
    ASSERT_TRUE(ExportPlotAsWPG({0, 0, 800, 500}, zigzag, info, path.string(), 0));
    const Bytes b = ReadAll(path);
    std::vector<unsigned> counts;
    unsigned lines = 0;
    for (const WpgRecord& r : WpgRecords(b)) {
        if (r.type == 32) counts.push_back(r.extension);
        lines += r.type == 21;
    }
    EXPECT_EQ(lines, 70000u);
    EXPECT_EQ(counts, (std::vector<unsigned>{32767, 32767, 4466}));
}

TEST(WpgExport, LinesAppendToThePicture) {
    const fs::path path = TempDir() / "append.wpg";
    SPlotInfo info = Diagram();
    ASSERT_TRUE(ExportPlotAsWPG({0, 0, 800, 500}, spectra::Generate(500), info, path.string(), 0));
    const std::size_t plotOnly = ReadAll(path).size();
    TLineArray lines;
    CLine line(546.07f, 12000.0f);
    line.speciesLabels = {"Hg I 546.07;0.8", "Xe II 546.04;0.1*"};
    lines.add(line);
    lines.add(CLine(100.0f, 100.0f));  // outside the frame: no marker
    ASSERT_TRUE(ExportLinesAsWPG({0, 0, 800, 500}, lines, info, path.string(), 16));
    ASSERT_TRUE(ExportLinesAsWPG({0, 0, 800, 500}, lines, info, path.string(), 32));
    const Bytes b = ReadAll(path);
    EXPECT_EQ(U32(b, 20), b.size());
    const std::vector<WpgRecord> r = WpgRecords(b);
    EXPECT_EQ(r.back().at + 4, b.size());  // one end record, at the end
    for (unsigned type : {1u, 2u})         // one start, one end
        EXPECT_EQ(
            std::count_if(r.begin(), r.end(), [&](const WpgRecord& x) { return x.type == type; }),
            1)
            << type;
    // Each append replaces the end record. Markers: a group (18 bytes) and one line (18);
    // labels: a group, two text records (20) with 15 and 17 characters (4 + 2n).
    EXPECT_EQ(b.size(), plotOnly + (18 + 18) + (18 + 20 + 34 + 20 + 38));

    // An append that fails part-way (files limited to a few bytes more than the picture has)
    // leaves the picture byte for byte, with no temporary file beside it.
    const auto limit = static_cast<rlim_t>(b.size() + 100);
    const int status = lumtest::withFileSizeLimit(limit, [&] {
        return ExportPlotAsWPG({0, 0, 800, 500}, spectra::Generate(500), info, path.string(), 1)
                   ? 1
                   : 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadAll(path), b);
    for (const auto& entry : fs::directory_iterator(path.parent_path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos)
            << entry.path();
}

TEST(WpgExport, RefusesToAppendToAForeignFile) {
    const fs::path dir = TempDir();
    SPlotInfo info = Diagram();
    auto append = [&](const fs::path& path) {
        return ExportPlotAsWPG({0, 0, 800, 500}, spectra::Generate(100), info, path.string(), 1);
    };
    auto write = [](const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    };
    const std::string text = "Dies ist keine Graphikdatei, nur ein Text, der lang genug ist.\n";
    write(dir / "notes.wpg", text);
    EXPECT_FALSE(append(dir / "notes.wpg"));
    EXPECT_FALSE(
        ExportLinesAsWPG({0, 0, 800, 500}, TLineArray{}, info, (dir / "notes.wpg").string(), 16));
    EXPECT_EQ(ReadText(dir / "notes.wpg"), text);

    // A WPG file of ours cut short: the stored length no longer matches.
    ASSERT_TRUE(ExportPlotAsWPG({0, 0, 800, 500}, spectra::Generate(100), info,
                                (dir / "cut.wpg").string(), 0));
    const std::string cut =
        ReadText(dir / "cut.wpg").substr(0, fs::file_size(dir / "cut.wpg") - 10);
    write(dir / "cut.wpg", cut);
    EXPECT_FALSE(append(dir / "cut.wpg"));
    EXPECT_EQ(ReadText(dir / "cut.wpg"), cut);

    // Shorter than a header, and missing.
    write(dir / "tiny.wpg", "\xFFWPC");
    EXPECT_FALSE(append(dir / "tiny.wpg"));
    EXPECT_EQ(ReadText(dir / "tiny.wpg"), "\xFFWPC");
    EXPECT_FALSE(append(dir / "none.wpg"));
    EXPECT_FALSE(fs::exists(dir / "none.wpg"));
}

TEST(WpgExport, GermanLettersAndBlanksGetWordPerfectCodes) {
    EXPECT_EQ(lumgl::WpgCharacters("Ä ä Ö ö Ü ü ß"),
              (std::vector<std::uint8_t>{0x06, 0x80, 0x05, 0x80, 0x1B, 0x80, 0x1A, 0x80, 0x1D, 0x80,
                                         0x1C, 0x80, 0x20}));
    EXPECT_EQ(lumgl::WpgCharacters("nm;[%]"),
              (std::vector<std::uint8_t>{'n', 'm', ';', '[', '%', ']'}));
    // Bytes from 0x80 up are function codes to a reader: never written for a character.
    EXPECT_EQ(lumgl::WpgCharacters("µ€\t"), (std::vector<std::uint8_t>{'?', '?', '?'}));
}

TEST(ExternalReaders, Wpg2svgReadsOurPicture) {
    if (!HaveTool("wpg2svg")) GTEST_SKIP() << "wpg2svg (libwpg-tools) is not installed";
    const fs::path dir = TempDir();
    SPlotInfo info = Diagram();
    ASSERT_TRUE(ExportPlotAsWPG({0, 0, 800, 500}, spectra::Generate(3000), info,
                                (dir / "d.wpg").string(), 0));
    TLineArray lines;
    CLine line(546.07f, 12000.0f);
    line.speciesLabels = {"Hg I 546.07;0.8"};
    lines.add(line);
    ASSERT_TRUE(ExportLinesAsWPG({0, 0, 800, 500}, lines, info, (dir / "d.wpg").string(), 48));
    const std::string command =
        "wpg2svg " + (dir / "d.wpg").string() + " > " + (dir / "d.svg").string() + " 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string svg = ReadText(dir / "d.svg");
    EXPECT_GT(Count(svg, "<svg:line") + Count(svg, "<line") + Count(svg, "<svg:path") +
                  Count(svg, "<path"),
              100u)
        << svg.substr(0, 2000);
    // The title, a tick label, the axis titles and a species label.
    for (const char* text :
         {">\nProbe<", ">\n700<", "Wellenlänge [nm]", "Intensität", "Hg I 546.07;0.8"})
        EXPECT_NE(svg.find(text), std::string::npos) << text;
}

}  // namespace
