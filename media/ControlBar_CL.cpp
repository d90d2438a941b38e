#include "media/ControlBar_CL.h"

#include <algorithm>

namespace {

constexpr wchar_t kTipPlayPause[] = L"再生／ポーズ";
constexpr wchar_t kTipMute[] = L"ミュート／ミュート解除";
constexpr wchar_t kTipSlower[] = L"スロー／コマ戻し";
constexpr wchar_t kTipFaster[] = L"倍速再生／コマ送り";
constexpr wchar_t kTipOpenFile[] = L"ファイルを開く";
constexpr wchar_t kTipCapture[] = L"画面キャプチャー";
constexpr wchar_t kTipPlayList[] = L"プレイリスト";
constexpr wchar_t kTipExit[] = L"アプリ終了";
constexpr wchar_t kTipThumbnails[] = L"サムネイル表示／非表示";
constexpr wchar_t kTipSecondsUnit[] = L"秒";
constexpr wchar_t kTipBack[] = L"戻る";
constexpr wchar_t kTipForward[] = L"進む";

constexpr int kDefaultSkipSeconds = 10;
constexpr int kButtonPx = 48;

}  // namespace

ControlBar_CL::ControlBar_CL() {
    // Drawing order: the logo lies under everything, the knob over the slider.
    m_logo = Add(CMD_NO_ACTION, AtlasSprite::Logo, AtlasSprite::Logo, L"");
    Add(CMD_OPEN_FILE, AtlasSprite::OpenFile, AtlasSprite::OpenFile, kTipOpenFile);
    Add(CMD_SHOW_PLAY_LIST, AtlasSprite::PlayList, AtlasSprite::PlayList, kTipPlayList);
    Add(CMD_STOP, AtlasSprite::Stop, AtlasSprite::Stop, L"");
    Add(CMD_SLOWER, AtlasSprite::Slow, AtlasSprite::FrameBack, kTipSlower);
    m_skipBack = Add(CMD_PREVIOUS, AtlasSprite::SkipBack, AtlasSprite::SkipBack, L"");
    Add(CMD_PLAY_PAUSE, AtlasSprite::Play, AtlasSprite::Pause, kTipPlayPause);
    m_skipForward = Add(CMD_NEXT, AtlasSprite::SkipForward, AtlasSprite::SkipForward, L"");
    Add(CMD_FASTER, AtlasSprite::Fast, AtlasSprite::FrameForward, kTipFaster);
    Add(CMD_MUTE, AtlasSprite::SoundOn, AtlasSprite::Muted, kTipMute);
    Add(CMD_SHOW_HISTORY, AtlasSprite::History, AtlasSprite::History, L"");
    Add(CMD_CAPTURE, AtlasSprite::Capture, AtlasSprite::Capture, kTipCapture);
    Add(CMD_THUMBNAIL_STRIP, AtlasSprite::ThumbnailsShow, AtlasSprite::ThumbnailsHide, kTipThumbnails);
    Add(CMD_FULL_SCREEN, AtlasSprite::FullScreen, AtlasSprite::WindowMode, L"");
    Add(CMD_CLOSE, AtlasSprite::Exit, AtlasSprite::Exit, kTipExit);
    m_slider = Add(CMD_VOLUME_STEP, AtlasSprite::VolumeTrack, AtlasSprite::VolumeTrack, L"");
    m_knob = Add(CMD_VOLUME_KNOB, AtlasSprite::VolumeKnob, AtlasSprite::VolumeKnob, L"");
    SetSkipSeconds(kDefaultSkipSeconds, kDefaultSkipSeconds);
}

int ControlBar_CL::Add(UINT command, AtlasSprite sprite, AtlasSprite spriteOn, const wchar_t* tip) {
    ControlBarItem item;
    item.command = command;
    item.sprite = sprite;
    item.spriteOn = spriteOn;
    item.colourArgb = kDefaultColourArgb;
    item.tip = tip;
    m_items.push_back(item);
    return static_cast<int>(m_items.size()) - 1;
}

void ControlBar_CL::Layout(const RECT& client, const ControlBarState& state) {
    const LONG t = client.top;
    const LONG r = client.right;
    const LONG b = client.bottom;
    const LONG g = (r - kButtonPx) / 2;   // left of the middle button of the bottom row
    const LONG row = b - 49;              // top of the bottom row
    const LONG upperRow = b - 108;        // the three buttons above the volume slider
    const int volume = std::clamp(state.volumeStep, 0, kVolumeSteps);
    const bool playing = state.contentLoaded && state.playbackStarted && !state.paused;
    // F7/F8 step by half a second while paused and change speed otherwise.
    const bool stepping = state.playbackStarted && state.paused;

    for (ControlBarItem& item : m_items) {
        LONG x = 0;
        LONG y = row;
        bool on = false;
        switch (item.command) {
        case CMD_NO_ACTION:
            x = (r - AtlasRectOf(AtlasSprite::Logo).width) / 2;
            y = (b - AtlasRectOf(AtlasSprite::Logo).height) / 2;
            break;
        case CMD_OPEN_FILE: x = 24; break;
        case CMD_SHOW_PLAY_LIST: x = 88; break;
        case CMD_STOP: x = g - 208; break;
        case CMD_SLOWER: x = g - 136; on = stepping; break;
        case CMD_PREVIOUS: x = g - 72; break;
        case CMD_PLAY_PAUSE: x = g; on = playing; break;
        case CMD_NEXT: x = g + 72; break;
        case CMD_FASTER: x = g + 136; on = stepping; break;
        case CMD_MUTE: x = r - 184; on = state.muted; break;
        case CMD_SHOW_HISTORY: x = r - 192; y = upperRow; break;
        case CMD_CAPTURE: x = r - 128; y = upperRow; break;
        case CMD_THUMBNAIL_STRIP: x = r - 64; y = upperRow; on = state.thumbnailsShown; break;
        case CMD_FULL_SCREEN: x = r - 128; y = t + 1; on = state.fullScreen; break;
        case CMD_CLOSE: x = r - 48; y = t + 1; break;
        case CMD_VOLUME_STEP: x = r - 120; y = b - 27; break;
        case CMD_VOLUME_KNOB: x = volume * kVolumeSpanPx / kVolumeSteps + r - 124; y = b - 37; break;
        default: break;
        }
        item.left = static_cast<float>(x);
        item.top = static_cast<float>(y);
        item.on = on;
    }

    // The logo greets an empty or stopped player and steps aside once the picture plays.
    ControlBarItem& logo = m_items[static_cast<size_t>(m_logo)];
    logo.hidden = state.contentLoaded && state.playbackStarted;
    if (!logo.hidden) logo.colourArgb = kLitColourArgb;
}

void ControlBar_CL::SetSkipSeconds(int backSeconds, int forwardSeconds) {
    m_items[static_cast<size_t>(m_skipBack)].tip = SkipTip(backSeconds, false);
    m_items[static_cast<size_t>(m_skipForward)].tip = SkipTip(forwardSeconds, true);
}

std::wstring ControlBar_CL::SkipTip(int seconds, bool forward) {
    std::wstring tip;
    for (wchar_t c : std::to_wstring(seconds)) {
        tip += static_cast<wchar_t>(c + 0xFEE0);   // ASCII digit (or minus) to its full-width form
    }
    tip += kTipSecondsUnit;
    tip += forward ? kTipForward : kTipBack;
    return tip;
}

RECT ControlBar_CL::SourceRect(size_t index) const {
    const ControlBarItem& item = m_items[index];
    const AtlasRect& a = AtlasRectOf(item.on ? item.spriteOn : item.sprite);
    return RECT{a.left, a.top, a.left + a.width, a.top + a.height};
}

RECT ControlBar_CL::WindowRect(size_t index) const {
    const ControlBarItem& item = m_items[index];
    const AtlasRect& a = AtlasRectOf(item.on ? item.spriteOn : item.sprite);
    const LONG left = static_cast<LONG>(item.left);
    const LONG top = static_cast<LONG>(item.top);
    return RECT{left, top, left + a.width, top + a.height};
}

int ControlBar_CL::HitTest(POINT pt) const {
    for (size_t i = m_items.size(); i-- > 0;) {
        if (m_items[i].hidden) continue;
        const RECT rc = WindowRect(i);
        if (pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int ControlBar_CL::IndexOf(UINT command) const {
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].command == command) return static_cast<int>(i);
    }
    return -1;
}

int ControlBar_CL::VolumeStepAt(LONG x, LONG sliderLeft) {
    const int step = static_cast<int>((x - sliderLeft) * kVolumeSteps / kVolumeSpanPx);
    return std::clamp(step, 0, kVolumeSteps);
}

ControlBarVolumeHit ControlBar_CL::HitVolume(POINT pt) {
    ControlBarVolumeHit hit;
    hit.index = HitTest(pt);
    if (hit.index < 0) return hit;
    if (hit.index == m_knob) {
        hit.index = m_slider;
        m_items[static_cast<size_t>(m_slider)].colourArgb = kLitColourArgb;
    }
    if (hit.index == m_slider) {
        hit.setsVolume = true;
        hit.volumeStep = VolumeStepAt(pt.x, WindowRect(static_cast<size_t>(m_slider)).left);
    }
    return hit;
}

int ControlBar_CL::UpdateHover(POINT pt, bool volumeDrag, ControlBarVolumeHit* volume) {
    for (ControlBarItem& item : m_items) item.colourArgb = kIdleColourArgb;
    ControlBarVolumeHit hit;
    if (volumeDrag) {
        hit = HitVolume(pt);
    } else {
        hit.index = HitTest(pt);
    }
    if (volume != nullptr) *volume = hit;
    if (hit.index >= 0) m_items[static_cast<size_t>(hit.index)].colourArgb = kLitColourArgb;
    return hit.index;
}
