#include "app/loading/LoadQueue_CL.h"

bool LoadQueue_CL::Push(const LoadRequest& request) {
    m_request = request;
    m_waiting = true;
    return !m_running;
}

bool LoadQueue_CL::TakeNext(LoadRequest* request) {
    if (!m_waiting || m_running) return false;
    *request = m_request;
    m_request = LoadRequest();
    m_waiting = false;
    return true;
}

std::wstring LoadQueue_CL::ShareServerOf(const std::wstring& path, bool* hasSeparator) {
    *hasSeparator = false;
    if (path.size() < 3 || path[0] != L'\\' || path[1] != L'\\') return std::wstring();
    const size_t separator = path.find(L'\\', 2);
    if (separator == std::wstring::npos) return path;
    *hasSeparator = true;
    return path.substr(0, separator);
}

bool LoadQueue_CL::ShareAttemptAgain(int attemptsMade, bool hasSeparator) {
    return hasSeparator && attemptsMade < kShareAttempts;
}

LoadPathKind LoadQueue_CL::KindOf(const std::wstring& path, DWORD attributes) {
    if (path.empty()) return LoadPathKind::kEmpty;
    if (attributes == INVALID_FILE_ATTRIBUTES) return LoadPathKind::kMissing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return LoadPathKind::kFolder;
    return LoadPathKind::kFile;
}
