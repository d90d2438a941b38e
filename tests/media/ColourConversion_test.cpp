// The renderer's colour conversions, the play-position rule, GUID names and the pitch
// filter's choices: pure logic, checked exactly.

#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>
#include <dvdmedia.h>

#include <array>
#include <vector>

#include "media/CMyRenderer.h"
#include "media/ColourConversion.h"
#include "media/GuidNames.h"
#include "media/LumiAudioPitchShiftFilter_CL.h"
#include "media/PlayPositionTracker_CL.h"
#include "media/dshow/MediaType_CL.h"

namespace {
std::vector<uint8_t> Pixels(std::initializer_list<std::array<uint8_t, 3>> bgr) {
    std::vector<uint8_t> bytes;
    for (const auto& p : bgr) bytes.insert(bytes.end(), {p[0], p[1], p[2], 0});
    return bytes;
}
}  // namespace

TEST(ColourConversion, FrameSizesAreCheckedAndComputedWide) {
    EXPECT_EQ(Yuy2FrameBytes(16384, 16384), 16384ull * 16384 * 2);
    EXPECT_EQ(Rgb32FrameBytes(16384, 16384), 16384ull * 16384 * 4);
    EXPECT_EQ(Yuy2FrameBytes(7, 5), 0u);  // no whole macropixels
    EXPECT_EQ(Rgb32FrameBytes(7, 5), 140u);
    EXPECT_EQ(Yuy2FrameBytes(0, 10), 0u);
    EXPECT_EQ(Yuy2FrameBytes(16386, 2), 0u);
    EXPECT_EQ(Rgb32FrameBytes(2, -4), 0u);
}

TEST(ColourConversion, SaturatedColoursKeepTheirHue) {
    // Pure blue and pure red stay inside the chroma range instead of wrapping round.
    std::vector<uint8_t> rgb = Pixels({{255, 0, 0}, {255, 0, 0}, {0, 0, 255}, {0, 0, 255}});
    std::vector<uint8_t> yuy2(8);
    ConvertRgb32ToYuy2(rgb.data(), 4, 1, false, yuy2.data());
    EXPECT_EQ(yuy2[1], 240);  // U of blue
    EXPECT_EQ(yuy2[7], 240);  // V of red
    std::vector<uint8_t> back(16);
    ConvertYuy2ToRgb32(yuy2.data(), 4, 1, back.data());
    EXPECT_GT(back[0], 250);  // still blue
    EXPECT_LT(back[2], 5);
    EXPECT_GT(back[14], 250);  // red stays red
    EXPECT_LT(back[12], 5);
}

TEST(ColourConversion, RgbComesBackAsItWentIn) {
    // Greys from black to white and colours inside the video gamut, through YUY2 and back:
    // the picture of an RGB32 movie must look like the movie, shadows included.
    const uint8_t greys[] = {0, 1, 16, 20, 40, 96, 128, 200, 235, 254, 255};
    const uint8_t colours[][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {80, 30, 16}, {16, 96, 40}, {200, 150, 90}};
    std::vector<std::array<uint8_t, 3>> cases;
    for (uint8_t grey : greys) cases.push_back({grey, grey, grey});
    for (const auto& colour : colours) cases.push_back({colour[0], colour[1], colour[2]});
    for (const auto& c : cases) {
        std::vector<uint8_t> rgb = Pixels({{c[2], c[1], c[0]}, {c[2], c[1], c[0]}});
        std::vector<uint8_t> yuy2(4), back(8);
        ConvertRgb32ToYuy2(rgb.data(), 2, 1, false, yuy2.data());
        ConvertYuy2ToRgb32(yuy2.data(), 2, 1, back.data());
        for (int channel = 0; channel < 3; ++channel) {
            EXPECT_NEAR(back[channel], rgb[channel], 2) << "rgb " << int(c[0]) << "," << int(c[1]) << "," << int(c[2])
                                                        << " channel " << channel;
        }
    }
}

TEST(ColourConversion, RowsComeOutTopDown) {
    // Two rows of two pixels: bottom-up input holds the lower row first.
    std::vector<uint8_t> rgb = Pixels({{20, 20, 20}, {20, 20, 20}, {200, 200, 200}, {200, 200, 200}});
    std::vector<uint8_t> yuy2(8);
    ConvertRgb32ToYuy2(rgb.data(), 2, 2, true, yuy2.data());
    // Y = ((66R + 129G + 25B + 128) >> 8) + 16: 188 for grey 200, 33 for grey 20.
    EXPECT_EQ(yuy2[0], 188);
    EXPECT_EQ(yuy2[2], 188);
    EXPECT_EQ(yuy2[4], 33);
    EXPECT_EQ(yuy2[1], 128);  // grey has no colour
    EXPECT_EQ(yuy2[3], 128);
    std::vector<uint8_t> topDown(8);
    ConvertRgb32ToYuy2(rgb.data(), 2, 2, false, topDown.data());
    EXPECT_EQ(topDown[0], yuy2[4]);  // a negative height is read in order
    EXPECT_EQ(topDown[4], yuy2[0]);
}

TEST(ColourConversion, YuyToRgbFollowsTheIntegerFormula) {
    const uint8_t yuy2[4] = {235, 16, 16, 240};
    uint8_t rgb[8];
    ConvertYuy2ToRgb32(yuy2, 2, 1, rgb);
    // y' = 219, u' = -112, v' = 112 for the first pixel.
    EXPECT_EQ(rgb[0], (298 * 219 - 516 * 112 + 128) >> 8);            // B = 29
    EXPECT_EQ(rgb[1], (298 * 219 + 100 * 112 - 208 * 112 + 128) >> 8);  // G = 208
    EXPECT_EQ(rgb[2], 255);                                            // R clamped from 434
    EXPECT_EQ(rgb[3], 0);
    EXPECT_EQ(rgb[4], 0);  // Y = 16 (y' = 0): B clamped from below
    EXPECT_EQ(rgb[6], (409 * 112 + 128) >> 8);
}

TEST(PlayPosition, FollowsStampsAndCountsWhereTheyFail) {
    PlayPositionTracker_CL t;
    t.OnFrame(400000, true, 0, 0);
    EXPECT_EQ(t.Position(), 0);
    t.OnFrame(400000, true, 400000, 0);
    EXPECT_EQ(t.Position(), 400000);
    t.OnFrame(400000, false, 0, 0);  // no stamp: one frame time on
    EXPECT_EQ(t.Position(), 800000);
    t.OnFrame(0, false, 0, 0);  // and 1/30 s when the type has no frame time
    EXPECT_EQ(t.Position(), 800000 + 333333);
    t.OnFrame(400000, true, 1200000, 0);  // within the step limit of the last accepted start
    EXPECT_EQ(t.Position(), 1200000);
    t.OnFrame(400000, true, 100000000, 0);  // a jump of more than 5 s is not followed
    EXPECT_EQ(t.Position(), 1600000);
    t.OnFrame(400000, true, 1200000 + 3200000 + 1, 0);  // past 8 frame times: not followed
    EXPECT_EQ(t.Position(), 2000000);
    t.OnFrame(400000, true, -5, 0);  // a negative stamp counts as none
    EXPECT_EQ(t.Position(), 2400000);
}

TEST(PlayPosition, TheStepLimitIsAtLeastTwoTenthsOfASecond) {
    PlayPositionTracker_CL t;
    t.OnFrame(10000, true, 1000000, 0);
    t.OnFrame(10000, true, 1000000 + 2000000, 0);  // 8 x 1 ms would be too little
    EXPECT_EQ(t.Position(), 3000000);
}

TEST(GuidNames, KnownGuidsCarryTheirLabels) {
    EXPECT_EQ(GuidName(MEDIASUBTYPE_YUY2), L"32595559-0000-0010-8000-00aa00389b71(MEDIASUBTYPE_YUY2)");
    EXPECT_EQ(GuidName(FORMAT_VideoInfo2), L"f72a76a0-eb0a-11d0-ace4-0000c0cc16ba(FORMAT_VideoInfo2)");
    EXPECT_EQ(GuidName(GUID_NULL), L"00000000-0000-0000-0000-000000000000(GUID_NULL)");
    EXPECT_NE(GuidName(MEDIASUBTYPE_NV12).find(L"(MEDIASUBTYPE_NV12)"), std::wstring::npos);
    EXPECT_NE(GuidName(MEDIASUBTYPE_RGB32).find(L"(MEDIASUBTYPE_RGB32)"), std::wstring::npos);
    EXPECT_EQ(GuidName(MEDIATYPE_Audio).find(L"("), std::wstring::npos);
}

struct RateCase {
    double rate;
    int normal, low;
};
class PitchOversampling : public ::testing::TestWithParam<RateCase> {};

TEST_P(PitchOversampling, FollowsTheRateAndHalvesAtLowQuality) {
    EXPECT_EQ(LumiAudioPitchShiftFilter_CL::OversamplingFor(GetParam().rate, 1), GetParam().normal);
    EXPECT_EQ(LumiAudioPitchShiftFilter_CL::OversamplingFor(GetParam().rate, 0), GetParam().low);
}

INSTANTIATE_TEST_SUITE_P(Rates, PitchOversampling,
                         ::testing::Values(RateCase{0.1, 16, 8}, RateCase{0.49, 16, 8}, RateCase{0.5, 8, 4},
                                           RateCase{2.0, 8, 4}, RateCase{2.01, 4, 2}, RateCase{2.99, 4, 2},
                                           RateCase{3.0, 2, 1}, RateCase{10.0, 2, 1}));

TEST(PitchFilterFormat, ChannelMaskStaysDefined) {
    EXPECT_EQ(LumiAudioPitchShiftFilter_CL::ChannelMask(1), 1u);
    EXPECT_EQ(LumiAudioPitchShiftFilter_CL::ChannelMask(2), 3u);
    EXPECT_EQ(LumiAudioPitchShiftFilter_CL::ChannelMask(31), 0x7FFFFFFFu);
    EXPECT_EQ(LumiAudioPitchShiftFilter_CL::ChannelMask(32), 0xFFFFFFFFu);
    EXPECT_EQ(LumiAudioPitchShiftFilter_CL::ChannelMask(65535), 0xFFFFFFFFu);
}

namespace {
MediaType_CL VideoType(const GUID& format, ULONG blockBytes, LONG width, LONG height) {
    MediaType_CL type;
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_YUY2;
    type.formattype = format;
    type.AllocateFormat(blockBytes);
    BITMAPINFOHEADER* bmi = format == FORMAT_VideoInfo2
                                ? &reinterpret_cast<VIDEOINFOHEADER2*>(type.pbFormat)->bmiHeader
                                : &reinterpret_cast<VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
    if (blockBytes >= (format == FORMAT_VideoInfo2 ? sizeof(VIDEOINFOHEADER2) : sizeof(VIDEOINFOHEADER))) {
        bmi->biWidth = width;
        bmi->biHeight = height;
    }
    return type;
}
}  // namespace

TEST(RendererTypes, HeadersAreTrustedOnlyWhenWholeAndSensible) {
    VIDEOINFOHEADER2 header{};
    EXPECT_TRUE(CMyRenderer::ReadVideoHeader(VideoType(FORMAT_VideoInfo, sizeof(VIDEOINFOHEADER), 320, 240), &header));
    EXPECT_EQ(header.dwPictAspectRatioX, 4u);  // widened with a 4:3 picture
    EXPECT_EQ(header.bmiHeader.biWidth, 320);
    EXPECT_TRUE(CMyRenderer::ReadVideoHeader(VideoType(FORMAT_VideoInfo2, sizeof(VIDEOINFOHEADER2), 1920, -1080), &header));
    EXPECT_FALSE(CMyRenderer::ReadVideoHeader(VideoType(FORMAT_VideoInfo, sizeof(VIDEOINFOHEADER) - 1, 320, 240), &header));
    EXPECT_FALSE(CMyRenderer::ReadVideoHeader(VideoType(FORMAT_VideoInfo2, 100, 320, 240), &header));
    EXPECT_FALSE(CMyRenderer::ReadVideoHeader(VideoType(FORMAT_VideoInfo, sizeof(VIDEOINFOHEADER), 0, 240), &header));
    EXPECT_FALSE(CMyRenderer::ReadVideoHeader(VideoType(FORMAT_VideoInfo, sizeof(VIDEOINFOHEADER), 7, 5), &header));
    EXPECT_FALSE(CMyRenderer::ReadVideoHeader(VideoType(FORMAT_VideoInfo, sizeof(VIDEOINFOHEADER), 16386, 2), &header));
    EXPECT_FALSE(CMyRenderer::ReadVideoHeader(VideoType(FORMAT_VideoInfo, sizeof(VIDEOINFOHEADER), 320, -16385), &header));
    EXPECT_FALSE(CMyRenderer::ReadVideoHeader(VideoType(FORMAT_MPEGVideo, 400, 320, 240), &header));
    MediaType_CL noBlock = VideoType(FORMAT_VideoInfo, 0, 320, 240);
    noBlock.cbFormat = sizeof(VIDEOINFOHEADER);  // claims a block it does not have
    EXPECT_FALSE(CMyRenderer::ReadVideoHeader(noBlock, &header));
    noBlock.cbFormat = 0;
}
