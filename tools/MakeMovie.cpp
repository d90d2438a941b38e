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
    AviMovieSpec movieSpec;
    double seconds = number(2, 10);
    movieSpec.width = static_cast<int>(number(3, 640));
    movieSpec.height = static_cast<int>(number(4, 360));
    movieSpec.frameRateNum = static_cast<int>(number(5, 30));
    movieSpec.frameRateDen = 1;
    movieSpec.frameCount = static_cast<int>(seconds * movieSpec.frameRateNum + 0.5);
    movieSpec.pixel = AviMovieSpec::Pixel::Yuy2;
    movieSpec.withAudio = true;
    movieSpec.toneHz = number(6, 440);
    movieSpec.amplitude = 0.3;
    movieSpec.title = "Lumikino demo";
    std::string error;
    if (!AviWriter_CL::Write(argv[1], movieSpec, &error)) {
        std::fprintf(stderr, "make_movie: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
