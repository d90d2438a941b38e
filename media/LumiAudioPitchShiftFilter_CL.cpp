#include "media/LumiAudioPitchShiftFilter_CL.h"

#include <ks.h>
#include <ksmedia.h>
#include <mmreg.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>

#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"

namespace {
constexpr LONG kMinimumBufferBytes = 4096;
constexpr LONG kMinimumBuffers = 8;
constexpr DWORD kTransformTraceMs = 2000;
// Shared by every instance, as one trace line every two seconds is plenty.
std::atomic<DWORD> g_lastTraceTick{0};
std::atomic<bool> g_traced{false};

// Sample properties map S_OK to TRUE and S_FALSE to FALSE; anything else is an error.
bool MapFlag(HRESULT hr, BOOL* flag) {
    if (hr == S_OK) {
        *flag = TRUE;
        return true;
    }
    if (hr == S_FALSE) {
        *flag = FALSE;
        return true;
    }
    return false;
}
}  // namespace

LumiAudioPitchShiftFilter_CL* LumiAudioPitchShiftFilter_CL::Create(HRESULT* result) {
    auto* filter = new (std::nothrow) LumiAudioPitchShiftFilter_CL();
    if (result) *result = filter ? S_OK : E_OUTOFMEMORY;
    if (filter) filter->AddRef();
    return filter;
}

LumiAudioPitchShiftFilter_CL::LumiAudioPitchShiftFilter_CL()
    : TransformFilter_CL(L"", nullptr, CLSID_LumiAudioPitchShiftFilter) {}

LumiAudioPitchShiftFilter_CL::~LumiAudioPitchShiftFilter_CL() = default;

HRESULT STDMETHODCALLTYPE LumiAudioPitchShiftFilter_CL::NonDelegatingQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    return TransformFilter_CL::NonDelegatingQueryInterface(iid, out);
}

int LumiAudioPitchShiftFilter_CL::OversamplingFor(double rate, int quality) {
    int oversampling = rate < 0.5 ? 16 : (rate <= 2.0 ? 8 : (rate < 3.0 ? 4 : 2));
    return quality == 0 ? oversampling / 2 : oversampling;
}

DWORD LumiAudioPitchShiftFilter_CL::ChannelMask(WORD channels) {
    return channels >= 32 ? 0xFFFFFFFFu : ((1u << channels) - 1u);
}

HRESULT LumiAudioPitchShiftFilter_CL::CheckInputType(const MediaType_CL& type) {
    if (type.formattype != FORMAT_WaveFormatEx) return E_INVALIDARG;
    if (type.majortype != MEDIATYPE_Audio || type.subtype != MEDIASUBTYPE_PCM) return E_FAIL;
    // The format block is read below and by the output types: it must be whole and sensible.
    const WAVEFORMATEX* wave = type.FormatAs<WAVEFORMATEX>();
    if (!wave || wave->nChannels == 0 || wave->nSamplesPerSec == 0 || wave->wBitsPerSample == 0) {
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    return S_OK;
}

HRESULT LumiAudioPitchShiftFilter_CL::SetInputMediaType(const MediaType_CL& type) {
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    m_inputType = type;
    return S_OK;
}

bool LumiAudioPitchShiftFilter_CL::InputWave(WAVEFORMATEX* wave) {
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    const WAVEFORMATEX* in = m_inputType.FormatAs<WAVEFORMATEX>();
    if (!in) return false;
    *wave = *in;
    return true;
}

HRESULT LumiAudioPitchShiftFilter_CL::CheckTransform(const MediaType_CL& input, const MediaType_CL&) {
    return input.majortype == MEDIATYPE_Audio && input.subtype == MEDIASUBTYPE_PCM ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT LumiAudioPitchShiftFilter_CL::GetMediaType(int position, MediaType_CL* type) {
    if (!m_input.IsConnected()) return E_UNEXPECTED;
    if (position < 0) return E_INVALIDARG;
    if (position > 1) return VFW_S_NO_MORE_ITEMS;
    WAVEFORMATEX in{};
    if (!InputWave(&in)) return E_UNEXPECTED;
    WORD channels = in.nChannels, bits = in.wBitsPerSample;
    DWORD rate = in.nSamplesPerSec;
    type->Clear();
    type->majortype = MEDIATYPE_Audio;
    type->subtype = MEDIASUBTYPE_PCM;
    type->formattype = FORMAT_WaveFormatEx;
    type->bFixedSizeSamples = TRUE;
    type->bTemporalCompression = FALSE;
    type->lSampleSize = 1;
    if (!type->AllocateFormat(position == 0 ? sizeof(WAVEFORMATEXTENSIBLE) : sizeof(WAVEFORMATEX))) {
        return E_OUTOFMEMORY;
    }
    auto* wave = reinterpret_cast<WAVEFORMATEX*>(type->pbFormat);
    wave->nChannels = channels;
    wave->nSamplesPerSec = rate;
    wave->wBitsPerSample = bits;
    wave->nBlockAlign = static_cast<WORD>(bits * channels / 8);
    wave->nAvgBytesPerSec = static_cast<DWORD>(static_cast<uint64_t>(channels) * bits * rate / 8);
    if (position == 0) {
        auto* extensible = reinterpret_cast<WAVEFORMATEXTENSIBLE*>(type->pbFormat);
        wave->wFormatTag = WAVE_FORMAT_EXTENSIBLE;
        wave->cbSize = 22;
        extensible->Samples.wValidBitsPerSample = bits;
        extensible->dwChannelMask = ChannelMask(channels);
        extensible->SubFormat = KSDATAFORMAT_SUBTYPE_PCM;
    } else {
        wave->wFormatTag = WAVE_FORMAT_PCM;
        wave->cbSize = 0;
    }
    return S_OK;
}

HRESULT LumiAudioPitchShiftFilter_CL::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
    if (!m_input.IsConnected()) return E_UNEXPECTED;
    WAVEFORMATEX in{};
    LONG minimum = InputWave(&in) ? static_cast<LONG>(in.nAvgBytesPerSec / 50) : 0;  // 20 ms of audio
    minimum = std::max(minimum, kMinimumBufferBytes);
    // One output must hold a whole input (the pass-through copy) plus the frames carried
    // over from the sample before, so the buffers are also sized from the input's.
    IMemAllocator* upstream = nullptr;
    if (SUCCEEDED(m_input.GetAllocator(&upstream)) && upstream) {
        ALLOCATOR_PROPERTIES inputProps{};
        if (SUCCEEDED(upstream->GetProperties(&inputProps)) && inputProps.cbBuffer > 0) {
            minimum = std::max(minimum, inputProps.cbBuffer + kBlockOutputBytes);
        }
        upstream->Release();
    }
    ALLOCATOR_PROPERTIES wanted = *request;
    wanted.cBuffers = std::max(request->cBuffers, kMinimumBuffers);
    wanted.cbBuffer = std::max(request->cbBuffer, minimum);
    ALLOCATOR_PROPERTIES actual{};
    HRESULT hr = allocator->SetProperties(&wanted, &actual);
    if (FAILED(hr)) return hr;
    if (actual.cBuffers < wanted.cBuffers || actual.cbBuffer < wanted.cbBuffer) return E_FAIL;
    return S_OK;
}

void LumiAudioPitchShiftFilter_CL::Emit(const BYTE* bytes, size_t count, BYTE* out, LONG outSize, LONG* outLength) {
    if (m_pending.empty()) {
        size_t room = static_cast<size_t>(outSize - *outLength);
        size_t now = std::min(room, count);
        std::memcpy(out + *outLength, bytes, now);
        *outLength += static_cast<LONG>(now);
        bytes += now;
        count -= now;
    }
    // Whatever does not fit waits for the next output sample: no audio is dropped.
    if (count) m_pending.insert(m_pending.end(), bytes, bytes + count);
}

HRESULT LumiAudioPitchShiftFilter_CL::ProcessBlocks(IMediaSample* input, IMediaSample* output) {
    BYTE* in = nullptr;
    BYTE* out = nullptr;
    if (FAILED(input->GetPointer(&in)) || FAILED(output->GetPointer(&out))) return E_UNEXPECTED;
    const LONG inLength = std::max<LONG>(0, input->GetActualDataLength());
    const LONG outSize = output->GetSize();
    LONG outLength = 0;

    // A seek or a new start: nothing collected, carried or still sounding in the shifters
    // belongs to the audio that follows.
    if (m_restartPending.exchange(false)) ResetShifting();

    // What the last call could not deliver goes out first.
    if (!m_pending.empty()) {
        size_t now = std::min(m_pending.size(), static_cast<size_t>(outSize));
        std::memcpy(out, m_pending.data(), now);
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<ptrdiff_t>(now));
        outLength = static_cast<LONG>(now);
    }

    const double rate = m_rate.load();
    WAVEFORMATEX wave{};
    const bool known = InputWave(&wave);
    const bool shift = rate != 1.0 && known && wave.nChannels == 2 && wave.wBitsPerSample == 16;
    if (!shift) {
        Emit(in, static_cast<size_t>(inLength), out, outSize, &outLength);
        return output->SetActualDataLength(outLength);
    }
    const int oversampling = OversamplingFor(rate, m_quality.load());
    const float sampleRate = static_cast<float>(wave.nSamplesPerSec);
    const int frames = inLength / 4;
    const int16_t* samples = reinterpret_cast<const int16_t*>(in);
    for (int i = 0; i < frames; ++i) {
        m_left[m_fill] = samples[2 * i];
        m_right[m_fill] = samples[2 * i + 1];
        if (++m_fill < kBlockFrames) continue;
        // The renderer changes speed and with it the pitch; shifting by the inverse rate undoes that.
        m_shiftLeft.ProcessBlock(static_cast<float>(1.0 / m_rate.load()), oversampling, sampleRate, m_left, m_shifted);
        m_shiftRight.ProcessBlock(static_cast<float>(1.0 / m_rate.load()), oversampling, sampleRate, m_right,
                                  m_shifted + 1);
        Emit(reinterpret_cast<const BYTE*>(m_shifted), kBlockOutputBytes, out, outSize, &outLength);
        m_fill = 0;
    }
    return output->SetActualDataLength(outLength);
}

HRESULT LumiAudioPitchShiftFilter_CL::Transform(IMediaSample* input, IMediaSample* output) {
    DWORD started = ::GetTickCount();
    HRESULT hr = ProcessBlocks(input, output);
    if (FAILED(hr)) return hr;

    REFERENCE_TIME start = 0, stop = 0;
    HRESULT timeResult = input->GetTime(&start, &stop);
    DWORD last = g_lastTraceTick.load();
    if (!g_traced.load() || started - last >= kTransformTraceMs) {
        DWORD delta = g_traced.exchange(true) ? started - last : 0;
        g_lastTraceTick.store(started);
        if (ProcessLogSwitches().log_detail_audio) {
            LogPrintf(L"PitchFilter::Transform inDeltaMs=%u procMs=%u inSize=%ld outSize=%ld outBuf=%ld rate=%.3f "
                      L"hrCopy=0x%08x tsHr=0x%08x t0=%lld t1=%lld",
                      delta, ::GetTickCount() - started, input->GetActualDataLength(), output->GetActualDataLength(),
                      output->GetSize(), m_rate.load(), 0u, static_cast<unsigned>(timeResult),
                      static_cast<long long>(start), static_cast<long long>(stop));
        }
    }

    // The output carries the input's stamps; it lags by the buffering, which is not rescaled.
    if (timeResult == S_OK) output->SetTime(&start, &stop);
    LONGLONG mediaStart = 0, mediaStop = 0;
    if (input->GetMediaTime(&mediaStart, &mediaStop) == S_OK) output->SetMediaTime(&mediaStart, &mediaStop);
    BOOL flag = FALSE;
    if (!MapFlag(input->IsSyncPoint(), &flag)) return E_UNEXPECTED;
    output->SetSyncPoint(flag);
    AM_MEDIA_TYPE* type = nullptr;
    if (input->GetMediaType(&type) == S_OK && type) {
        output->SetMediaType(type);
        MediaType_CL::DeleteMediaType(type);
    }
    if (!MapFlag(input->IsPreroll(), &flag)) return E_UNEXPECTED;
    output->SetPreroll(flag);
    if (!MapFlag(input->IsDiscontinuity(), &flag)) return E_UNEXPECTED;
    output->SetDiscontinuity(flag);
    return S_OK;
}

HRESULT LumiAudioPitchShiftFilter_CL::StartStreaming() {
    // Room for a few blocks of carried output, so carrying rarely allocates while streaming.
    m_pending.reserve(16 * kBlockOutputBytes);
    // The player seeks with the graph stopped under Wine, and a stopped source seeks without
    // a flush: what the shifters hold from before the stop must not sound after it. Cleared
    // by the streaming side, as a last Transform from before the stop may not have left yet.
    m_restartPending.store(true);
    if (ProcessLogSwitches().log_detail_audio) {
        LogPrintf(L"PitchFilter::StartStreaming rate=%.3f quality=%d", m_rate.load(), m_quality.load());
    }
    return S_OK;
}

HRESULT LumiAudioPitchShiftFilter_CL::StopStreaming() {
    if (ProcessLogSwitches().log_detail_audio) LogPrintf(L"PitchFilter::StopStreaming rate=%.3f", m_rate.load());
    return S_OK;
}

void LumiAudioPitchShiftFilter_CL::ResetShifting() {
    m_shiftLeft.Reset();
    m_shiftRight.Reset();
    m_fill = 0;
    m_pending.clear();
}

HRESULT LumiAudioPitchShiftFilter_CL::BeginFlush() {
    // Downstream first: that releases a delivery blocked there, and with it our receive lock.
    HRESULT hr = TransformFilter_CL::BeginFlush();
    // A seek or stop: what was collected or carried belongs to the old position.
    std::lock_guard<std::mutex> lock(m_receiveLock);
    ResetShifting();
    return hr;
}

HRESULT LumiAudioPitchShiftFilter_CL::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    // A source announces the audio after a seek with a new segment, flushed or not. It may
    // call from its seeking thread while a sample of ours waits downstream holding the
    // receive lock, so the streaming side does the clearing before its next sample.
    m_restartPending.store(true);
    return TransformFilter_CL::NewSegment(start, stop, rate);
}
