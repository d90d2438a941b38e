// The pitch filter's output never goes past its buffer: what does not fit is carried to the
// next output sample, and nothing is lost.

#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>
#include <mmreg.h>

#include <cstring>
#include <vector>

#include "media/LumiAudioPitchShiftFilter_CL.h"
#include "media/dshow/MemAllocator_CL.h"

namespace {
MediaType_CL Pcm(WORD channels, WORD bits) {
    MediaType_CL type;
    type.majortype = MEDIATYPE_Audio;
    type.subtype = MEDIASUBTYPE_PCM;
    type.formattype = FORMAT_WaveFormatEx;
    type.AllocateFormat(sizeof(WAVEFORMATEX));
    auto* wave = reinterpret_cast<WAVEFORMATEX*>(type.pbFormat);
    wave->wFormatTag = WAVE_FORMAT_PCM;
    wave->nChannels = channels;
    wave->wBitsPerSample = bits;
    wave->nSamplesPerSec = 44100;
    wave->nBlockAlign = static_cast<WORD>(channels * bits / 8);
    wave->nAvgBytesPerSec = 44100u * wave->nBlockAlign;
    return type;
}

IMemAllocator* Allocator(LONG bytes) {
    IMemAllocator* allocator = nullptr;
    MemAllocator_CL::Create(&allocator);
    ALLOCATOR_PROPERTIES request{1, bytes, 1, 0}, actual{};
    allocator->SetProperties(&request, &actual);
    allocator->Commit();
    return allocator;
}

// Runs the input through Transform into 4096-byte outputs until nothing is pending.
std::vector<BYTE> Pump(LumiAudioPitchShiftFilter_CL* filter, const std::vector<BYTE>& input) {
    IMemAllocator* in = Allocator(static_cast<LONG>(input.size()));
    IMemAllocator* out = Allocator(4096);
    std::vector<BYTE> delivered;
    IMediaSample* source = nullptr;
    in->GetBuffer(&source, nullptr, nullptr, 0);
    BYTE* data = nullptr;
    source->GetPointer(&data);
    std::memcpy(data, input.data(), input.size());
    bool first = true;
    for (int guard = 0; guard < 1000 && (first || filter->PendingBytes() > 0); ++guard) {
        source->SetActualDataLength(first ? static_cast<LONG>(input.size()) : 0);
        IMediaSample* sample = nullptr;
        out->GetBuffer(&sample, nullptr, nullptr, 0);
        EXPECT_EQ(filter->Transform(source, sample), S_OK);
        EXPECT_LE(sample->GetActualDataLength(), sample->GetSize());
        BYTE* produced = nullptr;
        sample->GetPointer(&produced);
        delivered.insert(delivered.end(), produced, produced + sample->GetActualDataLength());
        sample->Release();
        first = false;
    }
    source->Release();
    in->Decommit();
    out->Decommit();
    in->Release();
    out->Release();
    return delivered;
}
}  // namespace

TEST(PitchFilterBuffers, PassThroughLargerThanTheOutputIsCarriedWhole) {
    HRESULT hr;
    LumiAudioPitchShiftFilter_CL* filter = LumiAudioPitchShiftFilter_CL::Create(&hr);
    ASSERT_EQ(filter->CheckInputType(Pcm(2, 16)), S_OK);
    std::vector<BYTE> input(10000);
    for (size_t i = 0; i < input.size(); ++i) input[i] = static_cast<BYTE>(i * 7);
    EXPECT_EQ(Pump(filter, input), input);  // rate 1.0: the same bytes, in order, none lost
    filter->Release();
}

TEST(PitchFilterBuffers, ShiftedBlocksThatDoNotFitWaitForTheNextSample) {
    HRESULT hr;
    LumiAudioPitchShiftFilter_CL* filter = LumiAudioPitchShiftFilter_CL::Create(&hr);
    ASSERT_EQ(filter->CheckInputType(Pcm(2, 16)), S_OK);
    filter->SetRate(2.0);
    std::vector<BYTE> input(3 * 4096 + 400, 0);  // three whole blocks and a part
    std::vector<BYTE> output = Pump(filter, input);
    EXPECT_EQ(output.size(), 3u * LumiAudioPitchShiftFilter_CL::kBlockOutputBytes);
    EXPECT_EQ(filter->CollectedFrames(), 100);
    filter->Release();
}

TEST(PitchFilterBuffers, BrokenInputTypesAreRefused) {
    HRESULT hr;
    LumiAudioPitchShiftFilter_CL* filter = LumiAudioPitchShiftFilter_CL::Create(&hr);
    EXPECT_EQ(filter->CheckInputType(Pcm(0, 16)), VFW_E_TYPE_NOT_ACCEPTED);
    EXPECT_EQ(filter->CheckInputType(Pcm(2, 0)), VFW_E_TYPE_NOT_ACCEPTED);
    MediaType_CL shortBlock = Pcm(2, 16);
    shortBlock.cbFormat = 10;  // shorter than a WAVEFORMATEX
    EXPECT_EQ(filter->CheckInputType(shortBlock), VFW_E_TYPE_NOT_ACCEPTED);
    shortBlock.cbFormat = sizeof(WAVEFORMATEX);
    MediaType_CL video = Pcm(2, 16);
    video.majortype = MEDIATYPE_Video;
    EXPECT_EQ(filter->CheckInputType(video), E_FAIL);
    MediaType_CL noFormat = Pcm(2, 16);
    noFormat.formattype = FORMAT_None;
    EXPECT_EQ(filter->CheckInputType(noFormat), E_INVALIDARG);
    filter->Release();
}
