#include "net/TransferHandles.h"

namespace vorel {

namespace {
class Lock {
public:
    explicit Lock(CRITICAL_SECTION* cs) : m_cs(cs) { EnterCriticalSection(m_cs); }
    ~Lock() { LeaveCriticalSection(m_cs); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    CRITICAL_SECTION* m_cs;
};
}  // namespace

TransferHandles::TransferHandles() { InitializeCriticalSection(&m_lock); }

TransferHandles::~TransferHandles() {
    CloseAll();
    DeleteCriticalSection(&m_lock);
}

void TransferHandles::Cancel() {
    ScopedInternetHandle taken[SlotCount];
    {
        Lock lock(&m_lock);
        m_cancelled = true;
        // The file is closed under the lock, so that no Write is half-way through it.
        m_file.reset();
        for (int i = 0; i < SlotCount; ++i) taken[i] = std::move(m_handles[i]);
    }
    // Closed outside the lock: closing a handle another thread is blocked on must not wait
    // for anything that thread holds. Request first, then connection, then internet.
    for (int i = SlotCount - 1; i >= 0; --i) taken[i].reset();
}

bool TransferHandles::Cancelled() const {
    Lock lock(&m_lock);
    return m_cancelled;
}

bool TransferHandles::Empty() const {
    Lock lock(&m_lock);
    for (const auto& h : m_handles)
        if (h) return false;
    return !m_file;
}

bool TransferHandles::Hold(Slot slot, HINTERNET handle) {
    ScopedInternetHandle adopted(handle);
    if (!adopted) return false;
    Lock lock(&m_lock);
    if (m_cancelled) return false;  // `adopted` closes it
    m_handles[slot] = std::move(adopted);
    return true;
}

HINTERNET TransferHandles::Get(Slot slot) const {
    Lock lock(&m_lock);
    return m_handles[slot].get();
}

bool TransferHandles::HoldFile(HANDLE file) {
    fw::ScopedHandle adopted(file);
    if (!adopted) return false;
    Lock lock(&m_lock);
    if (m_cancelled) return false;
    m_file = std::move(adopted);
    return true;
}

bool TransferHandles::Write(const void* data, DWORD size) {
    Lock lock(&m_lock);
    if (!m_file) return false;
    DWORD written = 0;
    return WriteFile(m_file.get(), data, size, &written, nullptr) && written == size;
}

void TransferHandles::CloseFile() {
    Lock lock(&m_lock);
    m_file.reset();
}

void TransferHandles::CloseAll() {
    CloseFile();
    ScopedInternetHandle taken[SlotCount];
    {
        Lock lock(&m_lock);
        for (int i = 0; i < SlotCount; ++i) taken[i] = std::move(m_handles[i]);
    }
    for (int i = SlotCount - 1; i >= 0; --i) taken[i].reset();
}

}  // namespace vorel
