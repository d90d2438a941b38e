// The renderer takes only samples as long as their type says, and keeps the latest frame as
// top-down YUY2 whatever it was given.

#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>

#include <cstring>
#include <vector>

#include "media/CMyRenderer.h"
#include "media/ColourConversion.h"
#include "media/dshow/MemAllocator_CL.h"

namespace {
MediaType_CL Video(const GUID& subtype, LONG width, LONG height) {
    MediaType_CL type;
    type.majortype = MEDIATYPE_Video;
    type.subtype = subtype;
    type.formattype = FORMAT_VideoInfo;
    type.AllocateFormat(sizeof(VIDEOINFOHEADER));
    auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(type.pbFormat);
    vih->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih->bmiHeader.biWidth = width;
    vih->bmiHeader.biHeight = height;
    vih->AvgTimePerFrame = 400000;
    return type;
}

struct Sample {
    IMemAllocator* allocator = nullptr;
    IMediaSample* sample = nullptr;
    Sample(const std::vector<BYTE>& bytes, LONG length) {
        MemAllocator_CL::Create(&allocator);
        ALLOCATOR_PROPERTIES request{1, static_cast<LONG>(bytes.size()), 1, 0}, actual{};
        allocator->SetProperties(&request, &actual);
        allocator->Commit();
        allocator->GetBuffer(&sample, nullptr, nullptr, 0);
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        std::memcpy(data, bytes.data(), bytes.size());
        sample->SetActualDataLength(length);
        REFERENCE_TIME start = 0, stop = 400000;
        sample->SetTime(&start, &stop);
    }
    ~Sample() {
        sample->Release();
        allocator->Decommit();
        allocator->Release();
    }
};
}  // namespace

TEST(RendererSamples, ShortSamplesAreSkippedAndWholeOnesKept) {
    HRESULT hr;
    CMyRenderer* renderer = CMyRenderer::Create(&hr);
    ASSERT_NE(renderer, nullptr);
    ASSERT_EQ(renderer->CheckMediaType(Video(MEDIASUBTYPE_YUY2, 8, 4)), S_OK);
    ASSERT_EQ(renderer->SetMediaType(Video(MEDIASUBTYPE_YUY2, 8, 4)), S_OK);
    std::vector<BYTE> frame(8 * 4 * 2);
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<BYTE>(i);
    {
        Sample shortOne(frame, static_cast<LONG>(frame.size()) - 1);
        EXPECT_EQ(renderer->DoRenderSample(shortOne.sample), S_OK);
        EXPECT_TRUE(renderer->CopyFrame().empty());
    }
    {
        Sample whole(frame, static_cast<LONG>(frame.size()));
        EXPECT_EQ(renderer->DoRenderSample(whole.sample), S_OK);
        EXPECT_EQ(renderer->CopyFrame(), frame);
        EXPECT_EQ(renderer->Position(), 0);
    }
    renderer->Release();
}

TEST(RendererSamples, Rgb32IsKeptAsTopDownYuy2EitherWayUp) {
    HRESULT hr;
    CMyRenderer* renderer = CMyRenderer::Create(&hr);
    ASSERT_NE(renderer, nullptr);
    // Two rows: dark first in memory, bright second.
    std::vector<BYTE> rgb(2 * 2 * 4, 0);
    for (int i = 8; i < 16; ++i) rgb[i] = (i % 4 == 3) ? 0 : 200;
    for (LONG height : {2L, -2L}) {
        ASSERT_EQ(renderer->SetMediaType(Video(MEDIASUBTYPE_RGB32, 2, height)), S_OK);
        EXPECT_TRUE(renderer->IsRgb32());
        Sample sample(rgb, static_cast<LONG>(rgb.size()));
        ASSERT_EQ(renderer->DoRenderSample(sample.sample), S_OK);
        std::vector<uint8_t> yuy2 = renderer->CopyFrame();
        ASSERT_EQ(yuy2.size(), 8u);
        std::vector<uint8_t> expected(8);
        ConvertRgb32ToYuy2(rgb.data(), 2, 2, height > 0, expected.data());
        EXPECT_EQ(yuy2, expected) << height;
        // Bottom-up data shows its second row on top.
        EXPECT_EQ(yuy2[0] > yuy2[4], height > 0) << height;
    }
    renderer->Release();
}
