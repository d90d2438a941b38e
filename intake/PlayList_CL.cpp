#include "intake/PlayList_CL.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <utility>

#include "intake/FileExtension.h"
#include "intake/NaturalOrder.h"

namespace {

template <typename T>
int CompareValues(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

int CompareOrdinal(const std::wstring& a, const std::wstring& b) {
    int order = a.compare(b);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

bool IsNetworkPath(const std::wstring& path) {
    return path.size() >= 2 && ::PathIsUNCW(path.c_str());
}

}  // namespace

void PlayList_CL::AppendPath(const std::wstring& path) {
    PlayListItem item;
    item.path = path;
    item.displayName = DisplayNameOf(path);
    item.extension = ExtensionOf(path);
    Append(std::move(item));
}

void PlayList_CL::Append(PlayListItem item) {
    m_items.push_back(std::move(item));
    m_changed = true;
}

void PlayList_CL::Clear() {
    m_items.clear();
    m_items.shrink_to_fit();
    m_nextIndex = 0;
    m_source = false;
    m_severalItems = false;
    m_changed = true;
}

void PlayList_CL::ReplaceItems(std::vector<PlayListItem> items) {
    m_items = std::move(items);
    ClampNextIndex();
    Reanchor();
}

void PlayList_CL::ClampNextIndex() {
    int count = static_cast<int>(m_items.size());
    if (m_nextIndex >= count) m_nextIndex = count > 0 ? count - 1 : 0;
    if (m_nextIndex < 0) m_nextIndex = 0;
}

bool PlayList_CL::TakeNextEntry(PlayListItem* entry) {
    if (m_items.empty()) return false;
    if (m_nextIndex < 0 || m_nextIndex >= static_cast<int>(m_items.size())) m_nextIndex = 0;
    if (entry) *entry = m_items[static_cast<size_t>(m_nextIndex)];
    ++m_nextIndex;
    return true;
}

bool PlayList_CL::PrepareContinuation() {
    if (m_items.empty()) return false;
    if (m_nextIndex >= 0 && m_nextIndex < static_cast<int>(m_items.size())) return true;
    if (m_source && m_repeat) {
        m_nextIndex = 0;
        return true;
    }
    return false;
}

int PlayList_CL::PreviousPlayIndex() const {
    if (m_items.empty()) return -1;
    int index = m_nextIndex - 2;
    int count = static_cast<int>(m_items.size());
    if (index < 0) return count - 1;
    // An index left beyond the list (the list shrank) plays the last entry.
    return index < count ? index : count - 1;
}

int PlayList_CL::NextPlayIndex() const {
    if (m_items.empty()) return -1;
    if (m_nextIndex >= 0 && m_nextIndex < static_cast<int>(m_items.size())) return m_nextIndex;
    return 0;
}

bool PlayList_CL::TakeChanged() {
    bool changed = m_changed;
    m_changed = false;
    return changed;
}

void PlayList_CL::Anchor() {
    if (m_items.empty()) return;
    // Only one entry may carry the mark, or the re-anchoring could settle on a stale one.
    for (PlayListItem& item : m_items) item.anchorMark = 0;
    int count = static_cast<int>(m_items.size());
    int anchor;
    if (m_nextIndex <= 0) {
        anchor = count - 1;
        m_nextIndex = count - 1;
    } else {
        anchor = std::min(m_nextIndex - 1, count - 1);
    }
    m_items[static_cast<size_t>(anchor)].anchorMark = 1;
}

void PlayList_CL::Reanchor() {
    m_changed = true;
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].anchorMark == 0) continue;
        m_items[i].anchorMark = 0;
        m_nextIndex = static_cast<int>(i) + 1;
        if (m_nextIndex >= static_cast<int>(m_items.size())) m_nextIndex = 0;
        return;
    }
}

int PlayList_CL::CompareByColumn(const PlayListItem& a, const PlayListItem& b, int column) {
    switch (column) {
        case kColumnName: return NaturalCompare(a.displayName, b.displayName);
        case kColumnExtension: return CompareOrdinal(a.extension, b.extension);
        case kColumnStars: return CompareValues(a.starCount, b.starCount);
        case kColumnSize: return CompareValues(a.fileSize, b.fileSize);
        case kColumnModified: return CompareValues(a.modifiedFileTime, b.modifiedFileTime);
        case kColumnFolder: return CompareOrdinal(FolderOf(a.path), FolderOf(b.path));
        default: return 0;
    }
}

PlayList_CL::Order PlayList_CL::Sort(int column, int direction) {
    if (column < 0 || column >= kColumnCount) return Order();
    if (direction != kSortAscending && direction != kSortDescending) return Order();
    Anchor();
    const bool descending = direction == kSortDescending;
    Order order(m_items.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [this, column, descending](size_t a, size_t b) {
        int compared = CompareByColumn(m_items[a], m_items[b], column);
        return descending ? compared > 0 : compared < 0;
    });
    ApplyOrder(order);
    m_sortColumn = column;
    m_sortDirection = direction;
    Reanchor();
    return order;
}

PlayList_CL::Order PlayList_CL::Shuffle(const RandomDraw& draw) {
    const size_t count = m_items.size();
    if (count == 0) return Order();
    Anchor();
    Order order(count);
    for (size_t i = 0; i < count; ++i) order[i] = i;
    for (size_t round = 0; round < 2 * count; ++round) {
        size_t i = static_cast<unsigned>(draw()) % count;
        size_t j = static_cast<unsigned>(draw()) % count;
        if (i != j) std::swap(order[i], order[j]);
    }
    ApplyOrder(order);
    m_nextIndex = 0;
    Reanchor();
    return order;
}

void PlayList_CL::ApplyOrder(const Order& order) {
    std::vector<PlayListItem> reordered;
    reordered.reserve(order.size());
    for (size_t from : order) reordered.push_back(std::move(m_items[from]));
    m_items = std::move(reordered);
}

bool PlayList_CL::MoveEntry(size_t index, int delta) {
    if (index >= m_items.size() || (delta != -1 && delta != 1)) return false;
    if (delta < 0 ? index == 0 : index + 1 >= m_items.size()) return false;
    Anchor();
    std::swap(m_items[index], m_items[static_cast<size_t>(static_cast<int>(index) + delta)]);
    ClampNextIndex();
    Reanchor();
    return true;
}

size_t PlayList_CL::RemoveEntries(const std::vector<size_t>& indexes) {
    std::vector<bool> removed(m_items.size(), false);
    for (size_t index : indexes) {
        if (index < removed.size()) removed[index] = true;
    }
    std::vector<PlayListItem> kept;
    kept.reserve(m_items.size());
    int nextIndex = 0;
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (removed[i]) continue;
        if (static_cast<int>(i) < m_nextIndex) ++nextIndex;
        kept.push_back(std::move(m_items[i]));
    }
    const size_t count = m_items.size() - kept.size();
    if (count == 0) return 0;
    m_items = std::move(kept);
    for (PlayListItem& item : m_items) item.anchorMark = 0;
    m_nextIndex = nextIndex;
    ClampNextIndex();
    m_changed = true;
    return count;
}

size_t PlayList_CL::RemovePaths(const std::vector<std::wstring>& paths) {
    std::vector<size_t> indexes;
    for (size_t i = 0; i < m_items.size(); ++i) {
        for (const std::wstring& path : paths) {
            if (::CompareStringOrdinal(m_items[i].path.c_str(), -1, path.c_str(), -1, TRUE) == CSTR_EQUAL) {
                indexes.push_back(i);
                break;
            }
        }
    }
    return RemoveEntries(indexes);
}

void PlayList_CL::FillItemInfo(const RecordLookup& lookup) {
    for (PlayListItem& item : m_items) {
        if (item.path.empty() || item.inArchive != 0) continue;
        FillItemInfo(item, lookup);
    }
    m_changed = true;
}

void PlayList_CL::FillMissingItemInfo(const RecordLookup& lookup) {
    for (PlayListItem& item : m_items) {
        if (item.path.empty() || item.inArchive != 0) continue;
        if (item.fileSize != kFileSizeUnknown || item.modifiedFileTime != 0) continue;
        FillItemInfo(item, lookup);
    }
}

void PlayList_CL::FillItemInfo(PlayListItem& item, const RecordLookup& lookup) {
    item.displayName = DisplayNameOf(item.path);
    item.extension = ExtensionOf(item.path);
    item.fileSize = kFileSizeUnknown;
    item.modifiedFileTime = 0;
    item.starCount = 0;
    // A share that answers slowly would freeze the window; its rows stay without size and time.
    if (IsNetworkPath(item.path)) return;

    bool folder = false;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (::GetFileAttributesExW(item.path.c_str(), GetFileExInfoStandard, &data)) {
        folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!folder) {
            item.fileSize = static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) |
                                                 data.nFileSizeLow);
        }
        item.modifiedFileTime = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                data.ftLastWriteTime.dwLowDateTime;
    }
    if (folder || !lookup) return;
    std::wstring contentName;
    int starCount = 0;
    if (lookup(item.path, &contentName, &starCount)) {
        // A record without a name keeps the file's name rather than showing an empty row.
        if (!contentName.empty()) item.displayName = contentName;
        item.starCount = starCount;
    }
}
