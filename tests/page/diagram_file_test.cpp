// Runs `brevix-cli diagram` as a script would and reads the page back: the
// PDF's text layer must hold everything a cutter needs from the sheet, on the
// page, in the right places; the PNG and SVG are the same page.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "design/design_text.h"
#include "design/measures.h"
#include "design/sample_designs.h"
#include "document/design_io.h"
#include "files/asc_format.h"
#include "kernel/stone.h"
#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string quoted(const std::string& text) { return "'" + text + "'"; }

const std::string ROUND_BRILLIANT = std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant.asc";

// Runs of blanks (the tab stops of the page) become one space; ends trimmed.
std::string squeezed(std::string_view line) {
    std::string out;
    for (char c : line) {
        const bool blank = c == ' ' || c == '\t' || c == '\f' || c == '\r';
        if (blank) {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += c;
        }
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

class DiagramFile : public ::testing::Test {
protected:
    struct Run {
        int code = -1;
        std::string err;
    };

    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("brevix-page-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    // BREVIX_KEEP_PAGES=1 keeps the pages for a person to look at.
    void TearDown() override {
        if (!std::getenv("BREVIX_KEEP_PAGES")) fs::remove_all(folder_);
    }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    Run run(const std::string& arguments) {
        const std::string err = path("stderr");
        const std::string command = quoted(BREVIX_CLI) + " " + arguments + " >/dev/null 2>" +
                                    quoted(err) + " </dev/null";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(err)};
    }

    std::string tool(const std::string& program, const std::string& arguments) {
        const std::string out = path("tool-output");
        const std::string command = quoted(program) + " " + arguments + " >" + quoted(out) + " 2>/dev/null";
        if (std::system(command.c_str()) != 0) return {};
        return readFile(out);
    }

    // The page's text, line by line as it stands on the sheet, blanks squeezed.
    std::vector<std::string> pdfLines(const std::string& pdf) {
        std::vector<std::string> result;
        for (const std::string& line : lines(tool(PDFTOTEXT, "-layout " + quoted(pdf) + " -")))
            result.push_back(squeezed(line));
        return result;
    }

    fs::path folder_;
};

// Whether some line of the page holds `wanted` (itself squeezed).
bool onPage(const std::vector<std::string>& page, std::string_view wanted) {
    const std::string w = squeezed(wanted);
    for (const std::string& line : page)
        if (line.find(w) != std::string::npos) return true;
    return false;
}

// Text in pictures needs fonts, fonts need an application; one for the
// whole test program, never torn down.
void guiForRendering() {
    if (QCoreApplication::instance()) return;
    static int argc = 3;
    static char name[] = "test_page", option[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    new QGuiApplication(argc, argv);
}

std::unique_ptr<brevix::Stone> load(const std::string& file) {
    brevix::RecordingSink quiet;
    brevix::ScopedMessageSink guard(quiet);
    brevix::DesignRead read = brevix::readDesignFile(file, brevix::FileType::Asc, 8, 1);
    return std::move(read.stone);
}

TEST_F(DiagramFile, RoundBrilliantPdfHoldsHeadingStatisticsEveryRowAndTheTitle) {
    const std::string pdf = path("round.pdf");
    const Run r = run("diagram " + quoted(ROUND_BRILLIANT) + " " + quoted(pdf));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");

    const std::string info = tool(PDFINFO, quoted(pdf));
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
    EXPECT_NE(info.find("612 x 792 pts (letter)"), std::string::npos) << info;
    // Lines and text only: a page drawn as a picture would hold an image.
    const std::string images = tool(PDFIMAGES, "-list " + quoted(pdf));
    EXPECT_EQ(lines(images).size(), 2u) << images;  // the list's two heading lines

    auto stone = load(ROUND_BRILLIANT);
    ASSERT_TRUE(stone);
    brevix::computeBounds(*stone);
    const std::vector<std::string> page = pdfLines(pdf);
    ASSERT_FALSE(page.empty());

    // Heading and statistics, line for line.
    int headingLines = 0;
    for (const std::string& line : lines(brevix::cp1252ToUtf8(brevix::statisticsText(*stone)))) {
        if (squeezed(line).empty()) continue;
        EXPECT_TRUE(onPage(page, line)) << "statistics line missing: " << line;
        ++headingLines;
    }
    EXPECT_GE(headingLines, 5);

    // The brilliant fits in one column at full size, which lays the rows out
    // for 72 characters: the same rows the clipboard copy has.
    brevix::InstructionText text;
    int count = 0;
    brevix::instructionText(*stone, 864 / 12, count, text);
    int rows = 0;
    for (const std::string& line : lines(brevix::cp1252ToUtf8(text.instructions))) {
        if (squeezed(line).empty()) continue;
        EXPECT_TRUE(onPage(page, line)) << "instruction row missing: " << line;
        ++rows;
    }
    EXPECT_GE(rows, 8);
    EXPECT_TRUE(onPage(page, "round_brilliant.asc")) << "the title ends the page";
}

TEST_F(DiagramFile, EveryWordStandsOnThePageInItsBand) {
    // A transform that flips or shifts the page puts text off the sheet or
    // on top of the views; the instructions belong below the views, the
    // heading beside the end view.
    const std::string pdf = path("round.pdf");
    ASSERT_EQ(run("diagram " + quoted(ROUND_BRILLIANT) + " " + quoted(pdf)).code, 0);
    const std::string boxes = tool(PDFTOTEXT, "-bbox " + quoted(pdf) + " -");
    const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    int words = 0;
    bool sawTitle = false, sawCrown = false;
    for (auto it = std::sregex_iterator(boxes.begin(), boxes.end(), word); it != std::sregex_iterator();
         ++it) {
        const double x0 = std::stod((*it)[1]), y0 = std::stod((*it)[2]);
        const double x1 = std::stod((*it)[3]), y1 = std::stod((*it)[4]);
        const std::string text = (*it)[5];
        ++words;
        EXPECT_GE(x0, 0) << text;
        EXPECT_GE(y0, 0) << text;
        EXPECT_LE(x1, 612) << text;
        EXPECT_LE(y1, 792) << text;
        if (text == "round_brilliant.asc") {
            sawTitle = true;
            // Below the views (which end 2/3 of 7 in below the top margin).
            EXPECT_GT(y0, (0.25 + 0.5 + 7 * 2.0 / 3) * 72);
        }
        if (text == "CROWN") {
            sawCrown = true;
            EXPECT_GT(y0, (0.25 + 0.5 + 7 * 2.0 / 3) * 72);
            EXPECT_LT(x0, 2 * 72);
        }
    }
    EXPECT_GT(words, 50);
    EXPECT_TRUE(sawTitle);
    EXPECT_TRUE(sawCrown);
}

TEST_F(DiagramFile, LongInstructionsShrinkIntoTwoColumnsAndKeepEveryTier) {
    // Forty named tiers do not fit at full size: the page goes to two
    // columns of smaller type, and no tier may be lost at the column break
    // or below the page.
    std::vector<brevix::TierSetting> tiers;
    for (int k = 0; k < 40; ++k) {
        // Each girdle facet its own tier: a depth of its own.
        tiers.push_back({"X" + std::to_string(k), 90, 1.0 - 0.0004 * k, {2.0 * k},
                         "Step " + std::to_string(k)});
    }
    for (const brevix::TierSetting& tier : brevix::roundBrilliantTiers())
        if (tier.name == "P1" || tier.name == "C1" || tier.name == "T") tiers.push_back(tier);
    brevix::RecordingSink quiet;
    brevix::ScopedMessageSink guard(quiet);
    brevix::Stone stone = brevix::makeDesign(tiers, "Forty steps", 1, 0);
    const std::string design = path("long.asc");
    brevix::Diagnostics notes;
    ASSERT_TRUE(brevix::writeAscFile(stone, design, notes));

    const std::string pdf = path("long.pdf");
    const Run r = run("diagram " + quoted(design) + " " + quoted(pdf));
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<std::string> page = pdfLines(pdf);
    EXPECT_TRUE(onPage(page, "Forty steps"));
    // Whole words: "Step 1" must not be found in "Step 10".
    auto hasWords = [&](const std::string& words) {
        for (const std::string& line : page)
            if ((" " + line + " ").find(" " + words + " ") != std::string::npos) return true;
        return false;
    };
    for (const brevix::TierSetting& tier : tiers) {
        EXPECT_TRUE(hasWords(tier.name)) << "tier missing: " << tier.name;
        EXPECT_TRUE(hasWords(tier.instruction)) << "instruction missing: " << tier.instruction;
    }
    // The second column starts at the crown's heading, level with the first
    // column's top.
    std::string all;
    for (const std::string& line : page) all += line + "\n";
    EXPECT_TRUE(std::regex_search(all, std::regex("PAVILION CROWN\n"))) << all;
    // In smaller type than the heading, which is always printed at full size.
    const std::string boxes = tool(PDFTOTEXT, "-bbox " + quoted(pdf) + " -");
    const std::regex word(R"re(<word xMin="[0-9.]+" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="([0-9.]+)">(\w+)</word>)re");
    double rowHeight = 0, headingHeight = 0;
    for (auto it = std::sregex_iterator(boxes.begin(), boxes.end(), word); it != std::sregex_iterator(); ++it) {
        const double height = std::stod((*it)[2]) - std::stod((*it)[1]);
        if ((*it)[3] == "Step") rowHeight = height;
        if ((*it)[3] == "Angles") headingHeight = height;
    }
    EXPECT_GT(rowHeight, 0);
    EXPECT_LT(rowHeight, headingHeight * 0.95);
    EXPECT_TRUE(onPage(page, "long.asc"));
}

TEST_F(DiagramFile, A4PngAndSvgAreTheSamePage) {
    const std::string a4 = path("round-a4.pdf");
    ASSERT_EQ(run("diagram --page a4 " + quoted(ROUND_BRILLIANT) + " " + quoted(a4)).code, 0);
    const std::string info = tool(PDFINFO, quoted(a4));
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;

    const std::string png = path("round.png");
    ASSERT_EQ(run("diagram " + quoted(ROUND_BRILLIANT) + " " + quoted(png) + " --dpi=72").code, 0);
    QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 612);
    EXPECT_EQ(image.height(), 792);
    EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 72, 0.5);
    // Ink in the row of views and in the instructions, none in the margins.
    auto inkIn = [&](QRect box) {
        int dark = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (qGray(image.pixel(x, y)) < 128) ++dark;
        return dark;
    };
    EXPECT_GT(inkIn(QRect(54, 54, 504, 168)), 500) << "the views";
    EXPECT_GT(inkIn(QRect(54, 400, 504, 300)), 500) << "the instructions";
    EXPECT_EQ(inkIn(QRect(0, 0, 612, 30)), 0) << "top margin";
    EXPECT_EQ(inkIn(QRect(0, 0, 30, 792)), 0) << "left margin";

    const std::string svg = path("round.svg");
    ASSERT_EQ(run("diagram " + quoted(ROUND_BRILLIANT) + " " + quoted(svg)).code, 0);
    const std::string vector = readFile(svg);
    EXPECT_NE(vector.find("width=\"215.9mm\""), std::string::npos);
    EXPECT_NE(vector.find("round_brilliant.asc"), std::string::npos);
    // Drawn again at 72 dpi, the SVG puts its ink where the PNG has it.
    guiForRendering();
    QSvgRenderer renderer(QByteArray::fromStdString(vector));
    ASSERT_TRUE(renderer.isValid());
    QImage drawn(612, 792, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    {
        QPainter painter(&drawn);
        renderer.render(&painter);
    }
    drawn.save(QString::fromStdString(path("round-svg.png")));
    image = drawn;
    EXPECT_GT(inkIn(QRect(54, 54, 504, 168)), 500) << "the views";
    EXPECT_GT(inkIn(QRect(54, 400, 504, 300)), 500) << "the instructions";
    EXPECT_EQ(inkIn(QRect(0, 0, 612, 30)), 0) << "top margin";
    EXPECT_EQ(inkIn(QRect(0, 0, 30, 792)), 0) << "left margin";
}

TEST_F(DiagramFile, FailuresSayWhyAndLeaveEarlierFilesAlone) {
    const std::string earlier = path("earlier.pdf");
    std::ofstream(earlier) << "keep me";

    Run missing = run("diagram " + quoted(path("missing.asc")) + " " + quoted(earlier));
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("missing.asc"), std::string::npos) << missing.err;
    EXPECT_EQ(readFile(earlier), "keep me");

    Run noFolder = run("diagram " + quoted(ROUND_BRILLIANT) + " " + quoted(path("no/such/out.pdf")));
    EXPECT_EQ(noFolder.code, 1);
    EXPECT_NE(noFolder.err.find("Cannot open"), std::string::npos) << noFolder.err;

    Run text = run("diagram " + quoted(ROUND_BRILLIANT) + " " + quoted(path("out.txt")));
    EXPECT_EQ(text.code, 2);
    EXPECT_NE(text.err.find(".pdf, .svg or .png"), std::string::npos) << text.err;
    EXPECT_FALSE(fs::exists(path("out.txt")));

    for (const char* bad : {"--page legal", "--dpi 5", "--dpi 100x", "--dpi", "--colour red"}) {
        Run r = run("diagram " + quoted(ROUND_BRILLIANT) + " " + quoted(path("o.png")) + " " + bad);
        EXPECT_EQ(r.code, 2) << bad;
        EXPECT_FALSE(fs::exists(path("o.png"))) << bad;
    }
    EXPECT_EQ(run("diagram " + quoted(ROUND_BRILLIANT)).code, 2);
}

}  // namespace
