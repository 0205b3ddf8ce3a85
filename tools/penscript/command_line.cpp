#include "tools/penscript/command_line.h"

#include "playback/playback.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string_view>

namespace {

// "WxH" with each side 1 to MaxScreenSide.
bool ParseScreen(std::string_view text, standin::Options& screen) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) return false;
    auto side = [](std::string_view digits, int& value) {
        if (digits.empty() || digits.size() > 5) return false;
        value = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') return false;
            value = value * 10 + (c - '0');
        }
        return value >= 1 && value <= MaxScreenSide;
    };
    return side(text.substr(0, x), screen.width) && side(text.substr(x + 1), screen.height);
}

}  // namespace

std::optional<Invocation> ParseInvocation(int argc, char** argv, unsigned accepts, const char* usage) {
    Invocation invocation;
    bool haveFile = false;
    std::string problem;
    for (int i = 0; i < argc && problem.empty(); ++i) {
        const std::string_view word = argv[i];
        const bool hasValue = i + 1 < argc;
        if (word == "--screen" && (accepts & AcceptsScreen)) {
            if (!hasValue || !ParseScreen(argv[++i], invocation.screen))
                problem = "--screen takes WxH, each side 1 to " + std::to_string(MaxScreenSide);
        } else if (word == "--null-dc" && (accepts & AcceptsNullDC)) {
            invocation.screen.nullDC = true;
        } else if (word == "-o" && (accepts & NeedsOutput)) {
            if (!hasValue) problem = "-o takes a file name";
            else invocation.output = argv[++i];
        } else if (word.size() > 1 && word[0] == '-') {
            problem = "unknown option " + std::string(word);
        } else if (haveFile) {
            problem = "more than one drawing file";
        } else {
            invocation.file = word;
            haveFile = true;
        }
    }
    if (problem.empty() && (accepts & NeedsOutput) && invocation.output.empty()) problem = "-o OUT is required";
    if (!problem.empty()) {
        std::cerr << "penscript: " << problem << "\nusage: " << usage << '\n';
        return std::nullopt;
    }
    return invocation;
}

void PlayOnStandin(const DrawingScript& script, const standin::Options& screen) {
    standin::Reset(screen);
    PlayDrawing(script);
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".partial";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file) written = std::fclose(file) == 0 && written;
    if (written && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    std::cerr << path << ": cannot write: " << std::strerror(errno) << '\n';
    std::remove(temporary.c_str());
    return false;
}
