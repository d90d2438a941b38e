#include "app/history/HistoryMetaJob_CL.h"

#include <atomic>
#include <utility>

namespace {
std::atomic<long> g_liveResults{0};
}  // namespace

HistoryMetaResult::HistoryMetaResult() { ++g_liveResults; }
HistoryMetaResult::~HistoryMetaResult() { --g_liveResults; }

struct HistoryMetaJob_CL::Context {
    HWND window = nullptr;
    uint32_t serial = 0;
    std::vector<Item> items;
    Reader reader;
};

long HistoryMetaJob_CL::LiveResults() { return g_liveResults.load(); }

bool HistoryMetaJob_CL::Start(HWND window, std::vector<Item> items, Reader reader, DWORD waitMs) {
    if (items.empty() || !reader) return false;
    Finish(waitMs);
    auto context = std::make_unique<Context>();
    context->window = window;
    context->serial = ++m_serial;
    context->items = std::move(items);
    context->reader = std::move(reader);
    DWORD id = 0;
    m_thread.Reset(::CreateThread(nullptr, 0, &HistoryMetaJob_CL::ThreadProc, context.get(), 0, &id));
    if (!m_thread.IsValid()) return false;
    context.release();  // the thread owns it now
    return true;
}

bool HistoryMetaJob_CL::Finish(DWORD waitMs) {
    if (!m_thread.IsValid()) return true;
    const bool ended = ::WaitForSingleObject(m_thread.Get(), waitMs) == WAIT_OBJECT_0;
    m_thread.Reset();
    return ended;
}

DWORD WINAPI HistoryMetaJob_CL::ThreadProc(void* parameter) {
    std::unique_ptr<Context> context(static_cast<Context*>(parameter));
    for (const Item& item : context->items) {
        std::unique_ptr<HistoryMetaResult> result = std::make_unique<HistoryMetaResult>();
        result->serial = context->serial;
        result->row = item.row;
        result->entry.path = item.path;
        context->reader(result->entry);
        HistoryMetaResult* posted = result.release();
        if (!::PostMessageW(context->window, kResultMessage, 0, reinterpret_cast<LPARAM>(posted))) {
            delete posted;
        }
    }
    return 0;
}
