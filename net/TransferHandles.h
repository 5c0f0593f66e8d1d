// The handles of one running fetch: the internet, connection and request handles and the
// open output file. The fetch keeps them here while it runs and closes them at its end,
// leaving every slot empty; a dialog that owns the holder can Cancel() from its own thread.
#pragma once
#include <windows.h>

#include "fw/Raii.h"
#include "net/InternetHandle.h"

namespace vorel {

class TransferHandles {
public:
    enum Slot { Internet, Connection, Request, SlotCount };

    TransferHandles();
    ~TransferHandles();
    TransferHandles(const TransferHandles&) = delete;
    TransferHandles& operator=(const TransferHandles&) = delete;

    // From any thread, any number of times: closes the file and the request, connection and
    // internet handles that are still held, and makes every later step of the fetch fail.
    // Whoever takes a handle out of its slot first closes it; nobody else does. Windows'
    // WinINet fails a call blocked on a closed handle at once; Wine's lets it finish (when
    // the server answers) first. Either way the worker then fails and ends by itself, so a
    // canceller bounds its wait, and the holder must outlive the worker.
    void Cancel();
    bool Cancelled() const;
    // True when no handle and no file is held (before and after a fetch).
    bool Empty() const;

    // For the fetch. Hold* adopt a new handle; after a cancel they close it at once and
    // answer false.
    bool Hold(Slot slot, HINTERNET handle);
    HINTERNET Get(Slot slot) const;
    bool HoldFile(HANDLE file);
    // Writes all bytes to the held file; false when there is no file (closed by a cancel)
    // or the write fell short. Serialised with Cancel, so a closed file is never written.
    bool Write(const void* data, DWORD size);
    void CloseFile();
    // The file, then the request, connection and internet handles.
    void CloseAll();

private:
    mutable CRITICAL_SECTION m_lock;
    bool m_cancelled = false;
    // Declared so that destruction closes request, connection, internet; the file first.
    ScopedInternetHandle m_handles[SlotCount];
    fw::ScopedHandle m_file;
};

}  // namespace vorel
