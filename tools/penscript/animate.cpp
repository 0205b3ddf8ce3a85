// penscript animate: the run as an animated GIF at the program's own pace,
// cropped to the frame, with the mouse cursor where the program puts it.
#include "playback/playback.h"
#include "tools/penscript/command_line.h"
#include "tools/penscript/commands.h"
#include "tools/penscript/drawing_file.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int Margin = 12;                  // pixels of screen around the frame
constexpr int FrameDelay = 2;               // hundredths of a second; browsers slow anything shorter
constexpr int CyclesPerFrame = FrameDelay * 10 / static_cast<int>(CyclePause);  // so the GIF keeps the run's pace
constexpr int HoldDelay = 400;              // hundredths of a second on the finished drawing

// The arrow cursor, its hot spot at the top-left: 'X' outline, '#' body.
constexpr std::array<const char*, 17> Arrow = {
    "X..........", "XX.........", "X#X........", "X##X.......", "X###X......", "X####X.....",
    "X#####X....", "X######X...", "X#######X..", "X########X.", "X#####XXXXX", "X##X##X....",
    "X#X.X##X...", "XX..X##X...", "X....X##X..", ".....X##X..", "......XX...",
};
constexpr COLORREF ArrowOutline = 0x000000, ArrowBody = 0xFFFFFF;

struct Area {
    int left, top, width, height;
};

// Frames are kept as the picture a viewer sees (screen plus cursor); each one
// is written as the rectangle that changed since the one before.
class GifRecorder {
public:
    explicit GifRecorder(Area area) : area_(area), shown_(static_cast<std::size_t>(area.width) * area.height, ~0u) {}

    void Capture(int delay) {
        std::vector<COLORREF> picture = Compose();
        int x0 = area_.width, y0 = area_.height, x1 = -1, y1 = -1;
        for (int y = 0; y < area_.height; ++y)
            for (int x = 0; x < area_.width; ++x)
                if (picture[Index(x, y)] != shown_[Index(x, y)]) {
                    x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
                }
        if (x1 < 0) {  // nothing changed: the previous frame just lasts longer
            if (!frames_.empty()) frames_.back().delay += delay;
            return;
        }
        Frame frame{x0, y0, x1 - x0 + 1, y1 - y0 + 1, delay, {}};
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) frame.indices.push_back(PaletteIndex(picture[Index(x, y)]));
        frames_.push_back(std::move(frame));
        shown_ = std::move(picture);
    }

    void HoldLastFrame(int delay) {
        if (!frames_.empty()) frames_.back().delay = delay;
    }

    // The whole GIF, looping, or an empty string if giflib failed.
    std::string Encode() {
        std::string bytes;
        int error = 0;
        GifFileType* gif = EGifOpen(&bytes, Append, &error);
        if (!gif) return {};
        std::vector<GifColorType> colours(256, GifColorType{0, 0, 0});
        for (std::size_t i = 0; i < colours_.size(); ++i)
            colours[i] = {static_cast<GifByteType>(colours_[i] & 0xFF), static_cast<GifByteType>(colours_[i] >> 8 & 0xFF),
                          static_cast<GifByteType>(colours_[i] >> 16 & 0xFF)};
        ColorMapObject* map = GifMakeMapObject(256, colours.data());
        bool ok = map && EGifPutScreenDesc(gif, area_.width, area_.height, 8, 0, map) == GIF_OK;
        ok = ok && PutLoopForever(gif);
        for (Frame& frame : frames_) {
            GraphicsControlBlock control{DISPOSE_DO_NOT, false, frame.delay, NO_TRANSPARENT_COLOR};
            GifByteType extension[4];
            EGifGCBToExtension(&control, extension);
            ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, sizeof extension, extension) == GIF_OK;
            ok = ok && EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, false, nullptr) == GIF_OK;
            for (int row = 0; ok && row < frame.height; ++row)
                ok = EGifPutLine(gif, &frame.indices[static_cast<std::size_t>(row) * frame.width],
                                 frame.width) == GIF_OK;
        }
        GifFreeMapObject(map);
        ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
        return ok ? bytes : std::string();
    }

    std::size_t FrameCount() const { return frames_.size(); }

private:
    struct Frame {
        int left, top, width, height, delay;
        std::vector<GifPixelType> indices;
    };

    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * area_.width + x; }

    std::vector<COLORREF> Compose() const {
        std::vector<COLORREF> picture(shown_.size());
        for (int y = 0; y < area_.height; ++y)
            for (int x = 0; x < area_.width; ++x) picture[Index(x, y)] = standin::PixelAt(area_.left + x, area_.top + y);
        const standin::Point cursor = standin::Cursor();
        for (int row = 0; row < static_cast<int>(Arrow.size()); ++row)
            for (int column = 0; Arrow[row][column]; ++column) {
                const int x = cursor.x - area_.left + column, y = cursor.y - area_.top + row;
                const char c = Arrow[row][column];
                if (c == '.' || x < 0 || y < 0 || x >= area_.width || y >= area_.height) continue;
                picture[Index(x, y)] = c == 'X' ? ArrowOutline : ArrowBody;
            }
        return picture;
    }

    // The drawing has at most the palette, the ground and the cursor's colours.
    GifPixelType PaletteIndex(COLORREF colour) {
        const auto found = std::find(colours_.begin(), colours_.end(), colour);
        if (found != colours_.end()) return static_cast<GifPixelType>(found - colours_.begin());
        colours_.push_back(colour);
        return static_cast<GifPixelType>(colours_.size() - 1);
    }

    static int Append(GifFileType* gif, const GifByteType* data, int length) {
        static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
        return length;
    }

    static bool PutLoopForever(GifFileType* gif) {
        static const GifByteType application[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
        static const GifByteType loop[] = {1, 0, 0};  // sub-block 1: repeat forever
        return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
               EGifPutExtensionBlock(gif, sizeof application, application) == GIF_OK &&
               EGifPutExtensionBlock(gif, sizeof loop, loop) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
    }

    Area area_;
    std::vector<COLORREF> shown_;
    std::vector<COLORREF> colours_;
    std::vector<Frame> frames_;
};

}  // namespace

int RunAnimate(int argc, char** argv) {
    const auto invocation = ParseInvocation(argc, argv, NeedsOutput, "penscript animate [FILE] -o OUT.gif");
    if (!invocation) return BadInput;
    const auto script = LoadDrawing(invocation->file);
    if (!script) return BadInput;

    const standin::Options& screen = invocation->screen;
    const Area area{screen.width / 2 - FrameHalfWidth - Margin, screen.height / 2 - FrameHalfHeight - Margin,
                    2 * (FrameHalfWidth + Margin), 2 * (FrameHalfHeight + Margin)};
    GifRecorder recorder(area);
    standin::Reset(screen);
    recorder.Capture(FrameDelay);  // the screen before the first dot
    int cycles = 0;
    standin::OnSleep([&] {
        if (++cycles % CyclesPerFrame == 0) recorder.Capture(FrameDelay);
    });
    PlayDrawing(*script);
    recorder.Capture(FrameDelay);  // the cycles after the last full frame, if any
    recorder.HoldLastFrame(HoldDelay);

    const std::string gif = recorder.Encode();
    if (gif.empty()) {
        std::cerr << invocation->output << ": cannot encode the GIF\n";
        return 1;
    }
    return WriteWholeFile(invocation->output, gif) ? 0 : 1;
}
