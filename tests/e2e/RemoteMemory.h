#pragma once
// A block of memory in the player's process, for the messages whose structures and texts must
// live in the receiving process (list views, tab controls, extended combo boxes), as any
// accessibility tool does it. Both processes are 64-bit, so the structures match.

#include <windows.h>

#include <cstdint>

#include "base/UniqueHandle_CL.h"

class RemoteMemory {
public:
    RemoteMemory(DWORD processId, size_t bytes)
        : m_process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                                  FALSE, processId)),
          m_bytes(bytes) {
        if (m_process.IsValid()) {
            m_block = static_cast<uint8_t*>(
                ::VirtualAllocEx(m_process.Get(), nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        }
    }
    ~RemoteMemory() {
        if (m_block) ::VirtualFreeEx(m_process.Get(), m_block, 0, MEM_RELEASE);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool IsValid() const { return m_block != nullptr; }
    // The block's address in the player, offset bytes in.
    uint8_t* At(size_t offset = 0) const { return m_block + offset; }
    LPARAM Param(size_t offset = 0) const { return reinterpret_cast<LPARAM>(At(offset)); }

    bool Write(const void* data, size_t size, size_t offset = 0) const {
        SIZE_T written = 0;
        return m_block && offset + size <= m_bytes &&
               ::WriteProcessMemory(m_process.Get(), m_block + offset, data, size, &written) && written == size;
    }
    bool Read(void* data, size_t size, size_t offset = 0) const {
        SIZE_T read = 0;
        return m_block && offset + size <= m_bytes &&
               ::ReadProcessMemory(m_process.Get(), m_block + offset, data, size, &read) && read == size;
    }

private:
    KernelHandle_CL m_process;
    size_t m_bytes;
    uint8_t* m_block = nullptr;
};
