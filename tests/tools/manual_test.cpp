// The user manual: every item of the menu bar has its section in the chapter of its menu, the
// built PDF lies where "Hilfe" looks for it and holds every picture the chapters show, and
// the install rules carry it along.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "TestFiles.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSourceDir = fs::path(LUMORA_TEST_DATA).parent_path();
const fs::path kChapters = kSourceDir / "docs" / "handbuch";
const fs::path kManual = fs::path(LUMORA_PROGRAM_DIR) / "Hilfe" / "Lumora Handbuch.pdf";
// A build without Qt has no manual tool and so no manual.
const bool kBuildsManual = fs::exists(fs::path(LUMORA_PROGRAM_DIR) / "lumora-manual");

using lumtest::haveTool;
using lumtest::readFile;

// A menu text as the menu shows it: without the mnemonic marks and outer blanks.
std::string shown(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size() && text[i + 1] != '&') continue;
        out += text[i];
    }
    const auto first = out.find_first_not_of(' ');
    const auto last = out.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : out.substr(first, last - first + 1);
}

// The menu bar as the program's menu table declares it: each menu title with its item texts,
// read from the table's source (the part before the commands outside the menus).
std::map<std::string, std::vector<std::string>> menuBar() {
    std::string code = readFile(kSourceDir / "source" / "app" / "MenuTable.cpp");
    code = code.substr(0, code.find("extraCommandTable"));
    std::map<std::string, std::vector<std::string>> menus;
    static const std::regex token(R"re(\{\s*"([^"]+)",\s*\{|item\(cmd::\w+,\s*"([^"]*)")re");
    std::string menu;
    for (std::sregex_iterator it(code.begin(), code.end(), token), end; it != end; ++it) {
        if ((*it)[1].matched)
            menu = shown((*it)[1]);
        else
            menus[menu].push_back(shown((*it)[2]));
    }
    return menus;
}

std::vector<std::string> headings(const std::string& chapter, const std::string& marks) {
    std::vector<std::string> out;
    const std::regex line("(^|\n)" + marks + " ([^\n]+)");
    for (std::sregex_iterator it(chapter.begin(), chapter.end(), line), end; it != end; ++it)
        out.push_back((*it)[2]);
    return out;
}

TEST(Manual, EveryMenuItemHasItsSectionInTheChapterOfItsMenu) {
    const auto menus = menuBar();
    ASSERT_EQ(menus.size(), 7u);
    std::size_t items = 0;
    std::map<std::string, std::string> chapters;  // menu title -> chapter text
    for (const auto& entry : fs::directory_iterator(kChapters)) {
        if (entry.path().extension() != ".md") continue;
        const std::string text = readFile(entry.path());
        for (const std::string& title : headings(text, "#"))
            if (title.rfind("Das Menü ", 0) == 0) chapters[title.substr(10)] = text;
    }
    for (const auto& [menu, texts] : menus) {
        SCOPED_TRACE(menu);
        ASSERT_TRUE(chapters.count(menu)) << "no chapter \"Das Menü " << menu << "\"";
        const std::vector<std::string> sections = headings(chapters[menu], "##");
        for (const std::string& text : texts) {
            EXPECT_NE(std::find(sections.begin(), sections.end(), text), sections.end())
                << "no section \"## " << text << "\"";
            ++items;
        }
    }
    // The table holds some sixty items; far fewer means it was not read.
    EXPECT_GE(items, 55u);
}

TEST(Manual, ThePdfLiesWhereHelpLooksAndHoldsEveryPicture) {
    if (!kBuildsManual) GTEST_SKIP() << "this build has no lumora-manual";
    ASSERT_TRUE(fs::is_regular_file(kManual)) << kManual;
    const std::string pdf = readFile(kManual);
    ASSERT_EQ(pdf.rfind("%PDF-", 0), 0u);

    std::set<std::string> pictures;
    static const std::regex picture(R"(!\[[^\]]*\]\(([^)\s]+)\))");
    for (const auto& entry : fs::directory_iterator(kChapters)) {
        if (entry.path().extension() != ".md") continue;
        const std::string text = readFile(entry.path());
        for (std::sregex_iterator it(text.begin(), text.end(), picture), end; it != end; ++it) {
            EXPECT_TRUE(fs::is_regular_file(kChapters / (*it)[1].str())) << (*it)[1];
            pictures.insert((*it)[1]);
        }
    }
    ASSERT_FALSE(pictures.empty());

    if (!haveTool("pdfimages")) GTEST_SKIP() << "pdfimages (poppler-utils) is not installed";
    const lumtest::Run images =
        lumtest::run("pdfimages -list '" + kManual.string() + "'", ::testing::TempDir());
    ASSERT_EQ(images.status, 0) << images.err;
    const std::string& list = images.out;
    // Rows "page num type width height color comp bpc enc interp object ID ...": one per
    // drawing of a picture; a picture drawn twice keeps its object number.
    std::set<std::string> objects;
    static const std::regex row(
        R"(\n\s*\d+\s+\d+\s+image\s+\d+\s+\d+\s+\S+\s+\d+\s+\d+\s+\S+\s+\S+\s+(\d+)\s)");
    for (std::sregex_iterator it(list.begin(), list.end(), row), end; it != end; ++it)
        objects.insert((*it)[1]);
    EXPECT_EQ(objects.size(), pictures.size()) << list;
}

TEST(Manual, IsInstalledBesideTheProgram) {
    if (!kBuildsManual) GTEST_SKIP() << "this build has no lumora-manual";
    if (!haveTool("cmake")) GTEST_SKIP() << "cmake is not on the path";
    const fs::path build = fs::path(LUMORA_PROGRAM_DIR).parent_path();
    const fs::path prefix = build / "manual-install-test";
    fs::remove_all(prefix);
    const lumtest::Run install =
        lumtest::run("cmake --install '" + build.string() + "' --prefix '" + prefix.string() + "'",
                     ::testing::TempDir());
    ASSERT_EQ(install.status, 0) << install.out << install.err;
    const fs::path installed = prefix / "Hilfe" / "Lumora Handbuch.pdf";
    ASSERT_TRUE(fs::is_regular_file(installed));
    EXPECT_EQ(fs::file_size(installed), fs::file_size(kManual));
    fs::remove_all(prefix);
}

}  // namespace
