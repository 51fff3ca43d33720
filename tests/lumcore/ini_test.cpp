// The INI file with Windows profile semantics: lookup, number conversions, writes that keep
// every other line, Windows-1252 on disk and the refusal of text it cannot hold. The files
// read and expected lie in tests/lumcore/data.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "lumcore/IniFile.h"

using lumcore::IniFile;

std::string tempPath(const char* name) {
    return std::string(::testing::TempDir()) + name;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string data(const char* name) {
    const std::string text = readBytes(std::string(LUMORA_TEST_DATA) + "/lumcore/data/" + name);
    EXPECT_FALSE(text.empty()) << "missing tests/lumcore/data/" << name;
    return text;
}

TEST(IniFile, LookupIgnoresCaseTrimsAndUnquotes) {
    const IniFile ini = IniFile::fromText(data("ini_lookup.ini"));
    EXPECT_EQ(ini.getString("SEARCH VALUES", "searchrange"), "0.25");
    EXPECT_EQ(ini.getString("Search Values", "Title"), "  quoted  ");
    EXPECT_TRUE(ini.hasKey("Search Values", "empty"));
    EXPECT_EQ(ini.getString("Search Values", "empty", "x"), "");
    EXPECT_EQ(ini.getString("Search Values", "missing", "dflt"), "dflt");
    EXPECT_EQ(ini.getString("Other", "SearchRange", "dflt"), "dflt");
    EXPECT_EQ(ini.getInt("Search Values", "Dup", 0), 1);  // the first occurrence wins
    // Only the first section of a name is consulted.
    EXPECT_FALSE(ini.hasKey("Search Values", "OnlyHere"));
    // Case is ignored for the letters of Windows-1252 too.
    EXPECT_EQ(ini.getInt("GRÖße", "äQ", 0), 1);
    // A key before any section belongs to no section.
    EXPECT_FALSE(IniFile::fromText("a=1\n[s]\n").hasKey("", "a"));
}

TEST(IniFile, NumbersFollowTheProfileConversions) {
    for (const auto& [text, value] : {std::pair{"  42abc", 42},
                                      {"-7", -7},
                                      {"abc", 0},
                                      {"99999999999", 2147483647},
                                      {"-99999999999", -2147483647 - 1}})
        EXPECT_EQ(IniFile::toInt(text), value) << text;
    for (const auto& [text, value] : {std::pair{"1.5e2 nm", 150.0},
                                      {" +7.25 nm", 7.25},
                                      {"-.5", -0.5},
                                      {"x1", 0.0},
                                      {"--1", 0.0}})
        EXPECT_DOUBLE_EQ(IniFile::toDouble(text), value) << text;
    const IniFile ini = IniFile::fromText("[a]\nn=12.9\nbad=zz\n");
    EXPECT_EQ(ini.getInt("a", "n", 5), 12);
    EXPECT_EQ(ini.getInt("a", "bad", 5), 0);  // present but not a number: 0, not the default
    EXPECT_EQ(ini.getInt("a", "none", 5), 5);
    EXPECT_DOUBLE_EQ(ini.getDouble("a", "none", "10000"), 10000.0);
}

TEST(IniFile, WritingKeepsEveryOtherLine) {
    IniFile ini = IniFile::fromText(data("ini_edit_before.ini"));
    ini.setInt("initapp", "SIZE", 3);  // existing key: changed in place, spelling kept
    ini.setInt("InitApp", "Top", 10);  // new key: after the last line that is not blank
    ini.setDouble("Search Values", "LowerWavelength", 0.1);
    ini.setDouble("Search Values", "UpperWavelength", 1234567.0);
    ini.setString("Fremd", "Weg", "x");
    ini.removeKey("fremd", "weg");
    EXPECT_EQ(ini.toText(), data("ini_edit_after.ini"));
    // A file written on Unix keeps its line ends, also without a final one.
    IniFile unix = IniFile::fromText("[A]\nx=1");
    unix.setInt("A", "y", 2);
    EXPECT_EQ(unix.toText(), "[A]\nx=1\ny=2");
}

TEST(IniFile, DiskIsWindows1252AndAFailedSaveKeepsTheOldFile) {
    const std::string path = tempPath("lumcore_ini_cp1252.ini");
    IniFile ini;
    EXPECT_TRUE(ini.setString("Element Selection", "Äq", "1"));
    ini.setDouble("Search Values", "LowerIntensity", 1e-5);
    EXPECT_TRUE(ini.setString("Directories and Files", "LastDir", "/daten/Größe €"));
    ASSERT_TRUE(ini.save(path));
    const std::string written = data("ini_cp1252_written.ini");
    EXPECT_EQ(readBytes(path), written);
    const IniFile back = IniFile::load(path);
    EXPECT_EQ(back.getInt("element selection", "Äq", 0), 1);
    EXPECT_EQ(back.getString("Directories and Files", "LastDir"), "/daten/Größe €");

    // Text Windows-1252 cannot hold would come back as another path; line breaks would add
    // keys. Both are refused and leave the profile as it was.
    EXPECT_FALSE(ini.setString("Directories and Files", "LastDir", "/daten/光谱"));
    EXPECT_FALSE(ini.setString("Directories and Files", "LastDir", "a\r\nSize=3"));
    EXPECT_FALSE(ini.setString("Директории", "LastDir", "/x"));
    EXPECT_EQ(ini.getString("Directories and Files", "LastDir"), "/daten/Größe €");

    // A save that cannot complete leaves the old file byte for byte.
    const std::string blocked = tempPath("lumcore_ini_blocked");
    std::filesystem::create_directories(blocked + "/Lumora.ini");
    EXPECT_FALSE(ini.save(blocked + "/Lumora.ini"));
    EXPECT_FALSE(IniFile::load(blocked + "/Lumora.ini").hasKey("Search Values", "LowerIntensity"));
    EXPECT_FALSE(ini.save(tempPath("no_such_dir/x.ini")));
    EXPECT_EQ(readBytes(path), written);
    std::filesystem::remove_all(blocked);
    std::remove(path.c_str());
    EXPECT_FALSE(IniFile::load(tempPath("lumcore_ini_none.ini")).hasKey("Search Values", "x"));
}
