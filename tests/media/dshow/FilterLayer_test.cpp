// Our filter layer: the allocator, type negotiation, state changes with and without data
// flowing, flushing a blocked receive, end of stream during pause, and reference counts.

#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>

#include <atomic>
#include <future>
#include <thread>

#include "media/dshow/ComObject.h"
#include "media/dshow/MemAllocator_CL.h"
#include "tests/media/dshow/TestFilters.h"
#include "tests/support/PlayerProcess_CL.h"

namespace {
class ComTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        m_liveBefore = ComObject_CL::LiveObjects();
    }
    void TearDown() override {
        EXPECT_EQ(ComObject_CL::LiveObjects(), m_liveBefore) << "objects of the filter layer leaked";
        ::CoUninitialize();
    }
    LONG m_liveBefore = 0;
};

std::vector<BYTE> Bytes(size_t count, BYTE first) {
    std::vector<BYTE> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<BYTE>(first + i);
    return bytes;
}

// A source and a renderer connected directly, without a graph.
struct DirectPair {
    PushSourceFilter* source = PushSourceFilter::Create();
    RecordingRenderer* renderer = RecordingRenderer::Create();
    DirectPair() { source->Pin().offered = {TestVideoType(16, 8, MEDIASUBTYPE_RGB24), TestVideoType(16, 8)}; }
    HRESULT Connect() { return source->Pin().Connect(&renderer->InputPin(), nullptr); }
    void PauseBoth() {
        renderer->Pause();
        source->Pause();
    }
    ~DirectPair() {
        source->Stop();
        renderer->Stop();
        source->Pin().Disconnect();
        renderer->InputPin().Disconnect();
        source->Release();
        renderer->Release();
    }
};
}  // namespace

using Allocator = ComTest;

TEST_F(Allocator, RefusesBadPropertiesAndUncommittedUse) {
    IMemAllocator* allocator = nullptr;
    ASSERT_EQ(MemAllocator_CL::Create(&allocator), S_OK);
    ALLOCATOR_PROPERTIES actual{};
    ALLOCATOR_PROPERTIES badAlign{2, 100, 3, 0};
    EXPECT_EQ(allocator->SetProperties(&badAlign, &actual), VFW_E_BADALIGN);
    ALLOCATOR_PROPERTIES none{0, 100, 1, 0};
    EXPECT_EQ(allocator->SetProperties(&none, &actual), E_INVALIDARG);
    ALLOCATOR_PROPERTIES huge{2, 0x7FFFFFFF, 1, 0};
    EXPECT_EQ(allocator->SetProperties(&huge, &actual), E_INVALIDARG);
    EXPECT_EQ(allocator->Commit(), VFW_E_SIZENOTSET);
    IMediaSample* sample = nullptr;
    EXPECT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), VFW_E_NOT_COMMITTED);
    EXPECT_EQ(sample, nullptr);
    allocator->Release();
}

TEST_F(Allocator, HandsOutAlignedBuffersAndBlocksUntilOneComesBack) {
    IMemAllocator* allocator = nullptr;
    ASSERT_EQ(MemAllocator_CL::Create(&allocator), S_OK);
    ALLOCATOR_PROPERTIES request{1, 1000, 64, 0}, actual{};
    ASSERT_EQ(allocator->SetProperties(&request, &actual), S_OK);
    EXPECT_GE(actual.cbBuffer, 1000);
    ASSERT_EQ(allocator->Commit(), S_OK);

    IMediaSample* first = nullptr;
    ASSERT_EQ(allocator->GetBuffer(&first, nullptr, nullptr, 0), S_OK);
    BYTE* data = nullptr;
    first->GetPointer(&data);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(data) % 64, 0u);
    EXPECT_EQ(first->SetActualDataLength(first->GetSize() + 1), VFW_E_BUFFER_OVERFLOW);
    IMediaSample* second = nullptr;
    EXPECT_EQ(allocator->GetBuffer(&second, nullptr, nullptr, AM_GBF_NOWAIT), VFW_E_TIMEOUT);

    auto waiting = std::async(std::launch::async, [&] {
        IMediaSample* s = nullptr;
        HRESULT hr = allocator->GetBuffer(&s, nullptr, nullptr, 0);
        if (s) s->Release();
        return hr;
    });
    EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    first->Release();  // gives the buffer back: the waiter gets it
    EXPECT_EQ(waiting.get(), S_OK);

    // A decommit releases a waiter with an error instead of a buffer.
    ASSERT_EQ(allocator->GetBuffer(&first, nullptr, nullptr, 0), S_OK);
    auto released = std::async(std::launch::async, [&] {
        IMediaSample* s = nullptr;
        return allocator->GetBuffer(&s, nullptr, nullptr, 0);
    });
    EXPECT_EQ(released.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    allocator->Decommit();
    EXPECT_EQ(released.get(), VFW_E_NOT_COMMITTED);
    first->Release();  // a sample out during the decommit comes back later
    allocator->Release();
}

TEST_F(Allocator, SamplesCarryTheirProperties) {
    IMemAllocator* allocator = nullptr;
    ASSERT_EQ(MemAllocator_CL::Create(&allocator), S_OK);
    ALLOCATOR_PROPERTIES request{1, 16, 1, 0}, actual{};
    ASSERT_EQ(allocator->SetProperties(&request, &actual), S_OK);
    ASSERT_EQ(allocator->Commit(), S_OK);
    IMediaSample* sample = nullptr;
    ASSERT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
    REFERENCE_TIME start = 10, stop = 20;
    EXPECT_EQ(sample->GetTime(&start, &stop), VFW_E_SAMPLE_TIME_NOT_SET);
    start = 10;
    sample->SetTime(&start, nullptr);
    EXPECT_EQ(sample->GetTime(&start, &stop), VFW_S_NO_STOP_TIME);
    stop = 20;
    sample->SetTime(&start, &stop);
    REFERENCE_TIME a = 0, b = 0;
    EXPECT_EQ(sample->GetTime(&a, &b), S_OK);
    EXPECT_EQ(a, 10);
    EXPECT_EQ(b, 20);
    sample->SetSyncPoint(TRUE);
    sample->SetDiscontinuity(TRUE);
    EXPECT_EQ(sample->IsSyncPoint(), S_OK);
    EXPECT_EQ(sample->IsPreroll(), S_FALSE);
    MediaType_CL type = TestVideoType(2, 2);
    sample->SetMediaType(&type);
    sample->Release();
    // The next use of the buffer starts clean.
    ASSERT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(sample->IsSyncPoint(), S_FALSE);
    EXPECT_EQ(sample->IsDiscontinuity(), S_FALSE);
    EXPECT_EQ(sample->GetTime(&a, &b), VFW_E_SAMPLE_TIME_NOT_SET);
    AM_MEDIA_TYPE* noType = nullptr;
    EXPECT_EQ(sample->GetMediaType(&noType), S_FALSE);
    sample->Release();
    allocator->Decommit();
    allocator->Release();
}

using Negotiation = ComTest;

TEST_F(Negotiation, PicksTheFirstTypeBothSidesAccept) {
    DirectPair pair;
    ASSERT_EQ(pair.Connect(), S_OK);
    AM_MEDIA_TYPE type{};
    ASSERT_EQ(pair.renderer->InputPin().ConnectionMediaType(&type), S_OK);
    EXPECT_EQ(type.subtype, MEDIASUBTYPE_YUY2);
    MediaType_CL::FreeContents(type);
    IPin* peer = nullptr;
    ASSERT_EQ(pair.renderer->InputPin().ConnectedTo(&peer), S_OK);
    EXPECT_EQ(peer, static_cast<IPin*>(&pair.source->Pin()));
    peer->Release();
    EXPECT_EQ(pair.Connect(), VFW_E_ALREADY_CONNECTED);
    // No disconnecting while the filters stream.
    pair.PauseBoth();
    EXPECT_EQ(pair.renderer->InputPin().Disconnect(), VFW_E_NOT_STOPPED);
}

TEST_F(Negotiation, RefusesWhatNeitherSideCanAgreeOn) {
    DirectPair pair;
    pair.renderer->acceptedSubtype = MEDIASUBTYPE_NV12;
    EXPECT_EQ(pair.Connect(), VFW_E_NO_ACCEPTABLE_TYPES);
    EXPECT_FALSE(pair.source->Pin().IsConnected());
    EXPECT_FALSE(pair.renderer->InputPin().IsConnected());
    IPin* peer = reinterpret_cast<IPin*>(1);
    EXPECT_EQ(pair.renderer->InputPin().ConnectedTo(&peer), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(peer, nullptr);
    // A fully given type that the renderer refuses is not traded for another.
    pair.renderer->acceptedSubtype = MEDIASUBTYPE_YUY2;
    MediaType_CL rgb = TestVideoType(16, 8, MEDIASUBTYPE_RGB24);
    EXPECT_TRUE(FAILED(pair.source->Pin().Connect(&pair.renderer->InputPin(), &rgb)));
    EXPECT_FALSE(pair.renderer->InputPin().IsConnected());
    // Two outputs cannot connect.
    PushSourceFilter* other = PushSourceFilter::Create();
    EXPECT_EQ(pair.source->Pin().Connect(&other->Pin(), nullptr), VFW_E_INVALID_DIRECTION);
    other->Release();
    // The pin enumerations list what the filters have.
    IEnumPins* pins = nullptr;
    ASSERT_EQ(pair.renderer->EnumPins(&pins), S_OK);
    IPin* pin[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(pins->Next(2, pin, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 1u);
    pin[0]->Release();
    pins->Release();
    IEnumMediaTypes* types = nullptr;
    ASSERT_EQ(pair.source->Pin().EnumMediaTypes(&types), S_OK);
    AM_MEDIA_TYPE* offered[3] = {};
    EXPECT_EQ(types->Next(3, offered, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 2u);
    for (ULONG i = 0; i < fetched; ++i) MediaType_CL::DeleteMediaType(offered[i]);
    types->Release();
}

using TypeChanges = ComTest;

namespace {
// The frame width of a pin's connection type as ConnectionMediaType gives it, after checking
// that the copy is whole: a format block of its size whose frame agrees with the sample size.
LONG WholeConnectionWidth(IPin* pin) {
    AM_MEDIA_TYPE type{};
    if (pin->ConnectionMediaType(&type) != S_OK) return -1;
    LONG width = -2;
    if (type.cbFormat == sizeof(VIDEOINFOHEADER) && type.pbFormat) {
        const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
        if (static_cast<ULONG>(vih->bmiHeader.biWidth * vih->bmiHeader.biHeight * 2) == type.lSampleSize) {
            width = vih->bmiHeader.biWidth;
        }
    }
    MediaType_CL::FreeContents(type);
    return width;
}
}  // namespace

TEST_F(TypeChanges, ATypeCarriedByASampleIsTakenWholeUnderTheFilterLock) {
    DirectPair pair;
    ASSERT_EQ(pair.Connect(), S_OK);  // 16 x 8
    pair.PauseBoth();
    pair.renderer->Run(0);
    pair.renderer->HoldTypes(true);
    const MediaType_CL wider = TestVideoType(32, 8);
    auto push = std::async(std::launch::async, [&] { return pair.source->Push(Bytes(8, 0), 0, 1, true, &wider); });
    ASSERT_EQ(::WaitForSingleObject(pair.renderer->TypeEntered(), 5000), WAIT_OBJECT_0);

    // The graph's thread asks for the type while the streaming thread is taking the new one:
    // it must wait for the change to finish, not read it halfway.
    auto reader = std::async(std::launch::async, [&] { return WholeConnectionWidth(&pair.renderer->InputPin()); });
    EXPECT_EQ(reader.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
    pair.renderer->ReleaseType();
    EXPECT_EQ(reader.get(), 32);
    EXPECT_EQ(push.get(), S_OK);
    pair.renderer->HoldTypes(false);
    EXPECT_EQ(pair.renderer->Rendered().size(), 1u);

    // A carried type the renderer refuses rejects the sample and leaves the connection's.
    const MediaType_CL refused = TestVideoType(32, 8, MEDIASUBTYPE_NV12);
    EXPECT_EQ(pair.source->Push(Bytes(8, 0), 0, 1, true, &refused), VFW_E_INVALIDMEDIATYPE);
    EXPECT_EQ(WholeConnectionWidth(&pair.renderer->InputPin()), 32);
    EXPECT_EQ(pair.renderer->WidthsSet(), (std::vector<LONG>{16, 32}));
}

TEST_F(TypeChanges, ReadersAndStateChangesDuringManyChangesSeeWholeTypes) {
    DirectPair pair;
    ASSERT_EQ(pair.Connect(), S_OK);
    pair.PauseBoth();
    pair.renderer->Run(0);
    constexpr int kChanges = 5000;
    const MediaType_CL types[2] = {TestVideoType(16, 8), TestVideoType(48, 4)};
    std::atomic<bool> done{false};
    KernelHandle_CL reading(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    auto pusher = std::async(std::launch::async, [&] {
        ::WaitForSingleObject(reading.Get(), 5000);
        HRESULT result = S_OK;
        for (int i = 0; i < kChanges && result == S_OK; ++i) {
            result = pair.source->Push(Bytes(8, 0), i, i + 1, true, &types[i % 2]);
        }
        done = true;
        return result;
    });
    // Meanwhile the graph's thread reads the type and pauses and runs the renderer: every copy
    // must be one of the two types, whole, and nothing may deadlock.
    int reads = 0, torn = 0;
    const ULONGLONG deadline = ::GetTickCount64() + 30000;
    for (int round = 0; !done && ::GetTickCount64() < deadline; ++round) {
        LONG width = WholeConnectionWidth(&pair.renderer->InputPin());
        if (width != 16 && width != 48) ++torn;
        if (++reads == 1) ::SetEvent(reading.Get());
        if (round % 50 == 25) {
            pair.renderer->Pause();
            pair.renderer->Run(0);
        }
    }
    ASSERT_EQ(pusher.wait_for(std::chrono::seconds(30)), std::future_status::ready) << "streaming thread stuck";
    EXPECT_EQ(pusher.get(), S_OK);
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    EXPECT_GT(reads, 1);
    EXPECT_EQ(pair.renderer->WidthsSet().size(), static_cast<size_t>(kChanges) + 1);  // the connection's too
    EXPECT_EQ(WholeConnectionWidth(&pair.renderer->InputPin()), 48);
}

using RendererStates = ComTest;

TEST_F(RendererStates, PauseWaitsForAPictureAndRunRendersIt) {
    DirectPair pair;
    ASSERT_EQ(pair.Connect(), S_OK);
    pair.PauseBoth();
    FILTER_STATE state;
    EXPECT_EQ(pair.renderer->GetState(0, &state), VFW_S_STATE_INTERMEDIATE);
    EXPECT_EQ(state, State_Paused);

    auto push = std::async(std::launch::async, [&] { return pair.source->Push(Bytes(64, 1), 0, 1); });
    ASSERT_TRUE(WaitUntil([&] { return pair.renderer->FirstSamples() == 1; }, 5000));
    EXPECT_EQ(pair.renderer->GetState(1000, &state), S_OK);
    EXPECT_EQ(push.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);  // held while paused
    EXPECT_TRUE(pair.renderer->Rendered().empty());

    pair.renderer->Run(0);  // no clock: due at once
    EXPECT_EQ(push.get(), S_OK);
    ASSERT_EQ(pair.renderer->Rendered().size(), 1u);
    EXPECT_EQ(pair.renderer->Rendered()[0].bytes, Bytes(64, 1));
    EXPECT_EQ(pair.renderer->GetState(0, &state), S_OK);
    EXPECT_EQ(state, State_Running);
}

TEST_F(RendererStates, AFlushOrAStopReleasesABlockedReceive) {
    DirectPair pair;
    ASSERT_EQ(pair.Connect(), S_OK);
    pair.PauseBoth();
    auto push = std::async(std::launch::async, [&] { return pair.source->Push(Bytes(8, 0), 0, 1); });
    ASSERT_TRUE(WaitUntil([&] { return pair.renderer->FirstSamples() == 1; }, 5000));
    pair.renderer->InputPin().BeginFlush();
    EXPECT_EQ(push.get(), S_OK);
    // While flushing, samples are refused without blocking.
    EXPECT_EQ(pair.source->Push(Bytes(8, 0), 0, 1), S_FALSE);
    pair.renderer->InputPin().EndFlush();
    FILTER_STATE state;
    EXPECT_EQ(pair.renderer->GetState(0, &state), VFW_S_STATE_INTERMEDIATE);  // a new picture is due
    EXPECT_TRUE(pair.renderer->Rendered().empty());

    auto again = std::async(std::launch::async, [&] { return pair.source->Push(Bytes(8, 0), 0, 1); });
    ASSERT_TRUE(WaitUntil([&] { return pair.renderer->FirstSamples() == 2; }, 5000));
    pair.renderer->Stop();
    EXPECT_EQ(again.get(), S_OK);
    // The stop decommitted the buffers: the source cannot even get one.
    EXPECT_EQ(pair.source->Push(Bytes(8, 0), 0, 1), VFW_E_NOT_COMMITTED);
}

TEST_F(RendererStates, EndOfStreamCompletesAPauseAndRejectsLaterSamples) {
    DirectPair pair;
    ASSERT_EQ(pair.Connect(), S_OK);
    pair.PauseBoth();
    ASSERT_EQ(pair.source->Pin().DeliverEndOfStream(), S_OK);
    FILTER_STATE state;
    EXPECT_EQ(pair.renderer->GetState(0, &state), S_OK);
    EXPECT_EQ(pair.source->Push(Bytes(8, 0), 0, 1), VFW_E_SAMPLE_REJECTED_EOS);
}

TEST_F(RendererStates, LateFramesAreDroppedAndCounted) {
    DirectPair pair;
    ASSERT_EQ(pair.Connect(), S_OK);
    IReferenceClock* clock = nullptr;
    ASSERT_EQ(::CoCreateInstance(CLSID_SystemClock, nullptr, CLSCTX_INPROC_SERVER, IID_IReferenceClock,
                                 reinterpret_cast<void**>(&clock)), S_OK);
    pair.renderer->SetSyncSource(clock);
    REFERENCE_TIME now = 0;
    clock->GetTime(&now);
    pair.PauseBoth();
    pair.renderer->Run(now);  // stream time 0 is now
    // One second late: dropped. 200 ms ahead: waits for its time, then rendered.
    EXPECT_EQ(pair.source->Push(Bytes(8, 1), -10'000'000, -9'600'000), S_OK);
    ULONGLONG before = ::GetTickCount64();
    EXPECT_EQ(pair.source->Push(Bytes(8, 2), 2'000'000, 2'400'000), S_OK);
    EXPECT_GE(::GetTickCount64() - before, 150u);
    EXPECT_EQ(pair.renderer->FramesDropped(), 1);
    EXPECT_EQ(pair.renderer->FramesRendered(), 1);
    ASSERT_EQ(pair.renderer->Rendered().size(), 1u);
    EXPECT_EQ(pair.renderer->Rendered()[0].bytes, Bytes(8, 2));
    pair.renderer->Stop();
    pair.renderer->SetSyncSource(nullptr);
    clock->Release();
}

using InAGraph = ComTest;

TEST_F(InAGraph, ATransformBetweenDeliversInOrderAndTheGraphHearsTheEnd) {
    IGraphBuilder* graph = nullptr;
    ASSERT_EQ(::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                 reinterpret_cast<void**>(&graph)), S_OK);
    PushSourceFilter* source = PushSourceFilter::Create();
    source->Pin().offered = {TestVideoType(16, 8)};
    InvertTransform* invert = InvertTransform::Create();
    RecordingRenderer* renderer = RecordingRenderer::Create();
    renderer->SetDropLateFrames(false);
    ASSERT_EQ(graph->AddFilter(source, L"source"), S_OK);
    ASSERT_EQ(graph->AddFilter(invert, L"invert"), S_OK);
    ASSERT_EQ(graph->AddFilter(renderer, L"renderer"), S_OK);
    ASSERT_EQ(graph->ConnectDirect(&source->Pin(), &invert->InputPin(), nullptr), S_OK);
    ASSERT_EQ(graph->ConnectDirect(&invert->OutputPin(), &renderer->InputPin(), nullptr), S_OK);

    IMediaControl* control = nullptr;
    IMediaEvent* events = nullptr;
    graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
    graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&events));
    ASSERT_TRUE(control && events);
    ASSERT_TRUE(SUCCEEDED(control->Run()));
    EXPECT_EQ(invert->startCount, 1);

    for (BYTE i = 0; i < 3; ++i) EXPECT_EQ(source->Push(Bytes(32, i * 10), i * 10000, i * 10000 + 1), S_OK);
    EXPECT_EQ(source->Push(Bytes(1, 0), 40000, 40001), S_OK);  // dropped by the transform
    EXPECT_EQ(source->Pin().DeliverEndOfStream(), S_OK);
    long code = 0;
    EXPECT_EQ(events->WaitForCompletion(5000, &code), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);

    std::vector<RecordingRenderer::Seen> seen = renderer->Rendered();
    ASSERT_EQ(seen.size(), 3u);
    for (BYTE i = 0; i < 3; ++i) {
        std::vector<BYTE> expected = Bytes(32, i * 10);
        for (BYTE& b : expected) b = static_cast<BYTE>(~b);
        EXPECT_EQ(seen[i].bytes, expected) << int(i);
        EXPECT_EQ(seen[i].start, i * 10000);
    }
    invert->InputPin().BeginFlush();
    invert->InputPin().EndFlush();
    EXPECT_EQ(invert->flushCount, 1);

    control->Stop();
    EXPECT_EQ(invert->stopCount, 1);
    control->Release();
    events->Release();
    graph->RemoveFilter(renderer);
    graph->RemoveFilter(invert);
    graph->RemoveFilter(source);
    graph->Release();
    source->Release();
    invert->Release();
    renderer->Release();
}
