// Writes a sample movie with the test-movie writer: uncompressed YUY2 frames that show their
// frame number, and a stereo tone.
//   make_movie OUT.avi [seconds=10] [width=640] [height=360] [fps=30] [toneHz=440]

#include <cstdio>
#include <cwchar>
#include <string>

#include "tests/support/AviWriter_CL.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: make_movie OUT.avi [seconds] [width] [height] [fps] [toneHz]\n");
        return 2;
    }
    auto number = [&](int index, double fallback) { return argc > index ? std::wcstod(argv[index], nullptr) : fallback; };
    AviMovieSpec spec;
    double seconds = number(2, 10);
    spec.width = static_cast<int>(number(3, 640));
    spec.height = static_cast<int>(number(4, 360));
    spec.frameRateNum = static_cast<int>(number(5, 30));
    spec.frameRateDen = 1;
    spec.frameCount = static_cast<int>(seconds * spec.frameRateNum + 0.5);
    spec.pixel = AviMovieSpec::Pixel::Yuy2;
    spec.withAudio = true;
    spec.toneHz = number(6, 440);
    spec.amplitude = 0.3;
    spec.title = "Lumikino demo";
    std::string error;
    if (!AviWriter_CL::Write(argv[1], spec, &error)) {
        std::fprintf(stderr, "make_movie: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
