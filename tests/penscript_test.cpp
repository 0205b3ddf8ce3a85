// penscript as its users meet it: the commands' output, their errors, and
// the built-in drawing's facts.
#include <gif_lib.h>
#include <png.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Result {
    int status;
    std::string out;
    std::string err;
};

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Each test works in a folder of its own.
class Penscript : public testing::Test {
protected:
    void SetUp() override {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / ("penscript_test_" + std::to_string(getpid()) + "_" + test->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path File(const std::string& name, const std::string& text = {}) const {
        const fs::path path = dir_ / name;
        if (!text.empty()) std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // penscript with `arguments`, run in the test's folder.
    Result Run(const std::string& arguments) const {
        const std::string command = "cd '" + dir_.string() + "' && '" PENSCRIPT "' " + arguments + " >out.txt 2>err.txt";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(dir_ / "out.txt"), ReadText(dir_ / "err.txt")};
    }

    fs::path dir_;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST_F(Penscript, RefusesBadUsageAndBadInputWithNothingElse) {
    File("bad.rows", "# two good rows, then a bad one\n1 2 9 28\n3 4 9 28\n5 6 28 28\n");
    File("short.rows", "1 2 9 28\r\n3 4\r\n");
    struct Case {
        const char* arguments;
        const char* message;    // what standard error must say
        const char* unwritten;  // an output that must not appear
        int status = 2;         // bad usage and bad input
    };
    const Case cases[] = {
        {"", "usage: penscript COMMAND", nullptr},
        {"draw", "unknown command draw", nullptr},
        {"trace --screen 0x480", "usage: penscript trace [FILE] [--screen WxH] [--null-dc]", nullptr},
        {"trace --screen 640", "--screen takes WxH", nullptr},
        {"trace --screen 9000x10", "--screen takes WxH, each side 1 to 8192", nullptr},
        {"trace --fast", "unknown option --fast", nullptr},
        {"check a.rows b.rows", "more than one drawing file", nullptr},
        {"check --null-dc", "usage: penscript check [FILE]", nullptr},
        {"render", "usage: penscript render [FILE] [--screen WxH] -o OUT.png", nullptr},
        {"render -o", "-o takes a file name", nullptr},
        {"animate --screen 640x480 -o a.gif", "usage: penscript animate [FILE] -o OUT.gif", "a.gif"},
        {"trace missing.rows", "missing.rows: cannot read: No such file or directory", nullptr},
        {"trace bad.rows", "bad.rows:4: colour 28 is outside 0 to 27", nullptr},
        {"check short.rows", "short.rows:2: expected 4 integers (x y colour size), found 2 words", nullptr},
        {"render bad.rows -o out.png", "bad.rows:4: colour 28 is outside 0 to 27", "out.png"},
        {"animate bad.rows -o out.gif", "bad.rows:4: colour 28 is outside 0 to 27", "out.gif"},
        {"render -o no/such/folder/out.png", "no/such/folder/out.png: cannot write", nullptr, 1},
    };
    for (const Case& c : cases) {
        const Result result = Run(c.arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << c.arguments << "\nstderr: " << result.err;
        EXPECT_EQ(result.out, "") << c.arguments;
        if (c.unwritten) {
            EXPECT_FALSE(fs::exists(dir_ / c.unwritten)) << c.arguments;
        }
    }
    for (const auto& entry : fs::directory_iterator(dir_))
        EXPECT_EQ(entry.path().filename().string().find(".partial"), std::string::npos) << entry.path();
}

TEST_F(Penscript, TracePrintsEveryCallOfTheRun) {
    File("two.rows", "23 0 9 28\n0 0 1 31\n");
    struct Case {
        const char* arguments;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"trace two.rows",
         {"GetDC null -> dc", "GetSystemMetrics 0 -> 1920", "GetSystemMetrics 1 -> 1080",
          "CreatePen 0 1 0x000000 -> pen1", "SelectObject dc pen1 -> pen0", "CreateSolidBrush 0x000000 -> brush1",
          "SelectObject dc brush1 -> brush0", "Ellipse dc 605 311 633 339", "SetCursorPos 613 319",
          "SelectObject dc brush0 -> brush1", "DeleteObject brush1", "SelectObject dc pen0 -> pen1",
          "DeleteObject pen1", "Sleep 2", "CreatePen 0 1 0x0000C4 -> pen2", "SelectObject dc pen2 -> pen0",
          "CreateSolidBrush 0x0000C4 -> brush2", "SelectObject dc brush2 -> brush0",
          // a segment of 1-pixel dots to the filler row at (111, 111)
          "Ellipse dc 582 311 583 312", "SetCursorPos 590 319"}},
        {"trace two.rows --screen 640x480 --null-dc",
         {"GetDC null -> null", "GetSystemMetrics 0 -> 640", "GetSystemMetrics 1 -> 480",
          "CreatePen 0 1 0x000000 -> pen1", "SelectObject null pen1 -> null", "CreateSolidBrush 0x000000 -> brush1",
          "SelectObject null brush1 -> null", "Ellipse null -35 11 -7 39", "SetCursorPos -27 19",
          "SelectObject null null -> null", "DeleteObject brush1", "SelectObject null null -> null",
          "DeleteObject pen1", "Sleep 2"}},
    };
    for (const Case& c : cases) {
        const Result result = Run(c.arguments);
        ASSERT_EQ(result.status, 0) << c.arguments << '\n' << result.err;
        const std::vector<std::string> lines = Lines(result.out);
        ASSERT_GE(lines.size(), c.lines.size()) << c.arguments;
        EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + c.lines.size()), c.lines) << c.arguments;
        EXPECT_EQ(lines.back(), c.lines[0] == "GetDC null -> dc" ? "ReleaseDC null dc" : "ReleaseDC null null")
            << c.arguments;
    }
}

// The value of pixel (x, y) of an RGB PNG file as 0xRRGGBB, and its size.
struct Png {
    png_uint_32 width = 0, height = 0;
    std::vector<png_byte> rgb;
    unsigned At(int x, int y) const {
        const png_byte* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
        return p[0] << 16 | p[1] << 8 | p[2];
    }
};

Png ReadPng(const fs::path& path) {
    Png png;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return png;
    image.format = PNG_FORMAT_RGB;
    png.rgb.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, png.rgb.data(), 0, nullptr)) png.width = image.width, png.height = image.height;
    return png;
}

TEST_F(Penscript, RenderShowsTheScreenAfterTheRun) {
    File("dots.rows", "40 0 9 28\n100 50 10 5\n");
    ASSERT_EQ(Run("render dots.rows --screen 640x480 -o screen.png").status, 0);
    const Png png = ReadPng(dir_ / "screen.png");
    ASSERT_EQ(png.width, 640u);
    ASSERT_EQ(png.height, 480u);
    struct Case {
        int x, y;
        unsigned rgb;
        const char* what;
    };
    // The frame's corner is at (-58, 11): the first dot's box is (-18, 11) to (10, 39).
    const Case cases[] = {
        {0, 0, 0xFFFFFF, "the ground"},
        {0, 25, 0x000000, "the first dot, clipped at the left edge"},
        {9, 25, 0x000000, "the first dot's right rim"},
        {10, 25, 0xFFFFFF, "right of the first dot's box"},
        {0, 11, 0xFFFFFF, "outside the first dot's disc"},
        {44, 63, 0xFF0000, "the centre of the bright red dot"},
        {47, 63, 0xFFFFFF, "right of the red dot's box"},
    };
    for (const Case& c : cases) EXPECT_EQ(png.At(c.x, c.y), c.rgb) << c.what << " at (" << c.x << ", " << c.y << ')';
}

TEST_F(Penscript, AnimateKeepsTheProgramsPace) {
    std::string rows;
    for (int i = 0; i < 250; ++i) rows += std::to_string(100 + i) + " 200 9 28\n";
    File("line.rows", rows);
    ASSERT_EQ(Run("animate line.rows -o line.gif").status, 0);
    int error = 0;
    GifFileType* gif = DGifOpenFileName((dir_ / "line.gif").c_str(), &error);
    ASSERT_NE(gif, nullptr);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    EXPECT_EQ(gif->SWidth, 756 + 24) << "the frame and a margin";
    EXPECT_EQ(gif->SHeight, 458 + 24);
    int playing = 0, last = 0;
    for (int i = 0; i < gif->ImageCount; ++i) {
        GraphicsControlBlock control;
        ASSERT_EQ(DGifSavedExtensionToGCB(gif, i, &control), GIF_OK) << "frame " << i;
        EXPECT_GE(control.DelayTime, 2) << "frame " << i << ": browsers slow down shorter delays";
        (i + 1 < gif->ImageCount ? playing : last) += control.DelayTime;
    }
    EXPECT_EQ(playing, 250 * 2 / 10) << "hundredths of a second: 250 pauses of 2 ms";
    EXPECT_GE(last, 100) << "the finished drawing holds";
    DGifCloseFile(gif, &error);
}

TEST_F(Penscript, CheckPrintsTheBuiltInDrawingsFacts) {
    const Result result = Run("check");
    ASSERT_EQ(result.status, 0) << result.err;
    for (const char* line : {
             "rows played: 2553 (rows 2554 to 6000 are filler)",
             "cycles: 2553",
             "row kinds: 2553 small dot, 0 offset dot, 0 segment",
             "points: x 1 to 717, y 0 to 423",
             "dots painted: 2553",
             "dots cover: (1, 0) to (745, 451), inside the 756 by 458 frame",
             "runs of touching dots: 13",
             "colour 9 (0x000000): 2553 rows",
             "size code 28: 2553 rows",
             "last cursor: (725, 329) from the frame's top-left corner",
         })
        EXPECT_NE(result.out.find(std::string(line) + '\n'), std::string::npos) << "missing: " << line;

    int jumps = 0, shortest = 0, longest = 0;
    std::map<int, int> steps;  // step -> rows
    for (const std::string& line : Lines(result.out)) {
        std::sscanf(line.c_str(), "jumps between runs: %d, of %d to %d pixels", &jumps, &shortest, &longest);
        if (int step, rows; std::sscanf(line.c_str(), "  step %d: %d #", &step, &rows) == 2) steps[step] = rows;
    }
    EXPECT_EQ(jumps, 12);
    EXPECT_GE(shortest, 36);
    EXPECT_LE(longest, 470);
    int shortSweeps = 0, jumpSteps = 0, other = 0;
    for (const auto& [step, rows] : steps) {
        if (step >= 5 && step <= 12) shortSweeps += rows;
        else if (step >= 36 && step <= 470) jumpSteps += rows;
        else if (step > 4) other += rows;
    }
    EXPECT_EQ(steps[0], 1) << "the one repeated point";
    EXPECT_EQ(steps[1], 1517);
    EXPECT_EQ(steps[2], 664);
    EXPECT_EQ(steps[3], 249);
    EXPECT_EQ(steps[4], 52);
    EXPECT_EQ(shortSweeps, 57) << "steps of 5 to 12";
    EXPECT_EQ(jumpSteps, 12) << "jumps of 36 to 470";
    EXPECT_EQ(other, 0) << "steps of any other size";
}

}  // namespace
