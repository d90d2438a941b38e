// The pitch filter driven sample by sample, without a graph: its output never goes past its
// buffer (what does not fit is carried to the next output sample, and nothing is lost); it
// streams with the type its input was given, not with types it was only asked about; and after
// a flush, a new segment or a new start nothing from before is heard.

#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>
#include <mmreg.h>

#include <cmath>
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

// What a connection does with a type: the pin is asked, then the type is set.
HRESULT Accept(LumiAudioPitchShiftFilter_CL* filter, const MediaType_CL& type) {
    HRESULT hr = filter->InputPin().QueryAccept(&type);
    if (hr != S_OK) return hr;
    return filter->InputPin().SetMediaType(type);
}

// 16-bit stereo: a loud 440 Hz tone at 44100 Hz, or silence.
std::vector<BYTE> StereoTone(int frames, double amplitude) {
    std::vector<BYTE> bytes(static_cast<size_t>(frames) * 4);
    for (int i = 0; i < frames; ++i) {
        auto value = static_cast<int16_t>(std::lround(amplitude * 32767 * std::sin(6.283185307179586 * 440 * i / 44100)));
        std::memcpy(&bytes[i * 4], &value, 2);
        std::memcpy(&bytes[i * 4 + 2], &value, 2);
    }
    return bytes;
}

size_t NonZeroBytes(const std::vector<BYTE>& bytes) {
    size_t count = 0;
    for (BYTE b : bytes) count += b != 0;
    return count;
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
    ASSERT_EQ(Accept(filter, Pcm(2, 16)), S_OK);
    std::vector<BYTE> input(10000);
    for (size_t i = 0; i < input.size(); ++i) input[i] = static_cast<BYTE>(i * 7);
    EXPECT_EQ(Pump(filter, input), input);  // rate 1.0: the same bytes, in order, none lost
    filter->Release();
}

TEST(PitchFilterBuffers, ShiftedBlocksThatDoNotFitWaitForTheNextSample) {
    HRESULT hr;
    LumiAudioPitchShiftFilter_CL* filter = LumiAudioPitchShiftFilter_CL::Create(&hr);
    ASSERT_EQ(Accept(filter, Pcm(2, 16)), S_OK);
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

TEST(PitchFilterBuffers, ATypeOnlyAskedAboutChangesNothing) {
    HRESULT hr;
    LumiAudioPitchShiftFilter_CL* filter = LumiAudioPitchShiftFilter_CL::Create(&hr);
    ASSERT_EQ(Accept(filter, Pcm(2, 16)), S_OK);
    filter->SetRate(2.0);
    // 8-bit mono would pass through unshifted; it is acceptable, but nobody set it.
    MediaType_CL mono8 = Pcm(1, 8);
    EXPECT_EQ(filter->InputPin().QueryAccept(&mono8), S_OK);
    EXPECT_EQ(filter->CheckInputType(mono8), S_OK);
    std::vector<BYTE> input = StereoTone(3 * 1024 + 100, 0.5);
    std::vector<BYTE> output = Pump(filter, input);
    // Still shifted as 16-bit stereo: whole blocks out, the rest collected.
    EXPECT_EQ(output.size(), 3u * LumiAudioPitchShiftFilter_CL::kBlockOutputBytes);
    EXPECT_EQ(filter->CollectedFrames(), 100);
    EXPECT_NE(std::vector<BYTE>(input.begin(), input.begin() + output.size()), output);
    filter->Release();
}

// What comes between a loud tone and silence; after each of them the silence must come out
// silent, with nothing of the tone left in the block buffers, the carried output or the
// shifters' overlap.
enum class Restart { Flush, NewSegment, StreamingStartsAgain };

class PitchFilterRestart : public ::testing::TestWithParam<Restart> {};

TEST_P(PitchFilterRestart, SilenceAfterItIsSilent) {
    HRESULT hr;
    LumiAudioPitchShiftFilter_CL* filter = LumiAudioPitchShiftFilter_CL::Create(&hr);
    ASSERT_EQ(Accept(filter, Pcm(2, 16)), S_OK);
    filter->SetRate(1.5);
    // Five blocks and a part: the shifters sound and 300 frames wait for the next block.
    std::vector<BYTE> tone = Pump(filter, StereoTone(5 * 1024 + 300, 0.9));
    ASSERT_EQ(tone.size(), 5u * LumiAudioPitchShiftFilter_CL::kBlockOutputBytes);
    ASSERT_GT(NonZeroBytes(tone), tone.size() / 2);
    ASSERT_EQ(filter->CollectedFrames(), 300);

    switch (GetParam()) {
    case Restart::Flush:  // a seek of a running or paused graph
        EXPECT_EQ(filter->InputPin().BeginFlush(), S_OK);
        EXPECT_EQ(filter->InputPin().EndFlush(), S_OK);
        break;
    case Restart::NewSegment:  // a seek the source makes without a flush
        EXPECT_EQ(filter->InputPin().NewSegment(20'000'000, 40'000'000, 1.0), S_OK);
        break;
    case Restart::StreamingStartsAgain:  // stopped, sought, started
        EXPECT_EQ(filter->StopStreaming(), S_OK);
        EXPECT_EQ(filter->StartStreaming(), S_OK);
        break;
    }

    std::vector<BYTE> after = Pump(filter, StereoTone(4 * 1024, 0.0));
    EXPECT_EQ(after.size(), 4u * LumiAudioPitchShiftFilter_CL::kBlockOutputBytes);
    EXPECT_EQ(NonZeroBytes(after), 0u);
    EXPECT_EQ(filter->CollectedFrames(), 0);
    filter->Release();
}

INSTANTIATE_TEST_SUITE_P(Events, PitchFilterRestart,
                         ::testing::Values(Restart::Flush, Restart::NewSegment, Restart::StreamingStartsAgain),
                         [](const ::testing::TestParamInfo<Restart>& info) {
                             switch (info.param) {
                             case Restart::Flush: return "Flush";
                             case Restart::NewSegment: return "NewSegment";
                             default: return "StreamingStartsAgain";
                             }
                         });

TEST(PitchFilterBuffers, WithoutARestartTheToneStillSounds) {
    // The counterpart of the restarts above: the same silence straight after the tone carries
    // the tone's tail, so their silence is the restart's doing.
    HRESULT hr;
    LumiAudioPitchShiftFilter_CL* filter = LumiAudioPitchShiftFilter_CL::Create(&hr);
    ASSERT_EQ(Accept(filter, Pcm(2, 16)), S_OK);
    filter->SetRate(1.5);
    Pump(filter, StereoTone(5 * 1024 + 300, 0.9));
    std::vector<BYTE> after = Pump(filter, StereoTone(4 * 1024, 0.0));
    EXPECT_GT(NonZeroBytes(after), 0u);
    filter->Release();
}
