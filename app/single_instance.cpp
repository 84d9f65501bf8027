#include "app/single_instance.h"

#include <cstring>
#include <memory>
#include <new>

SingleInstance* SingleInstance::server_ = nullptr;

namespace {

// Held from the connect attempt until the service is registered or the tail handed over, so
// that of several starts at one moment exactly one becomes the server and the others queue
// their hand-overs behind it, in the order they got the claim.
class ClaimLock {
public:
    ClaimLock() : mutex_(CreateMutexA(nullptr, FALSE, kInstanceClaimMutexName)) {
        if (mutex_ != nullptr) owned_ = WaitPumpingSentMessages();
    }
    ~ClaimLock() {
        if (owned_) ReleaseMutex(mutex_);
        if (mutex_ != nullptr) CloseHandle(mutex_);
    }
    ClaimLock(const ClaimLock&) = delete;
    ClaimLock& operator=(const ClaimLock&) = delete;

private:
    // A server sends its DDE set-up to every top-level window, ours too, while it holds the
    // lock: sent messages are answered during the wait. A holder that hangs is given up on,
    // and the claim goes on unserialised as it would without the lock.
    bool WaitPumpingSentMessages() const {
        const DWORD start = GetTickCount();
        for (;;) {
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= kClaimWaitMs) return false;
            switch (MsgWaitForMultipleObjects(1, &mutex_, FALSE, kClaimWaitMs - elapsed, QS_SENDMESSAGE)) {
                case WAIT_OBJECT_0:
                case WAIT_ABANDONED_0:
                    return true;
                case WAIT_OBJECT_0 + 1: {
                    MSG message;
                    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
                    break;
                }
                default:
                    return false;
            }
        }
    }

    static constexpr DWORD kClaimWaitMs = 30000;
    HANDLE mutex_;
    bool owned_ = false;
};

}  // namespace

bool SingleInstance::ClaimInstance(const char* commandLineTail) {
    const ClaimLock lock;
    if (DdeInitializeA(&ddeInstance, TransactionHandler(), 0, 0) != DMLERR_NO_ERROR) {
        ddeInstance = 0;
        return false;
    }
    serviceName = DdeCreateStringHandleA(ddeInstance, kInstanceServiceName, CP_WINANSI);
    topicName = DdeCreateStringHandleA(ddeInstance, kInstanceTopicName, CP_WINANSI);
    const HCONV conversation = DdeConnect(ddeInstance, serviceName, topicName, nullptr);
    if (conversation != nullptr) {
        otherInstanceFound = true;
        // The conversation ends with the DDE instance at tear-down.
        SendTail(conversation, commandLineTail);
        return false;
    }
    server_ = this;
    DdeNameService(ddeInstance, serviceName, nullptr, DNS_REGISTER);
    return true;
}

void SingleInstance::SendTail(HCONV conversation, const char* tail) const {
    if (tail == nullptr) tail = "";
    DWORD result = 0;
    DdeClientTransaction(reinterpret_cast<LPBYTE>(const_cast<char*>(tail)), static_cast<DWORD>(std::strlen(tail) + 1),
                         conversation, nullptr, CF_TEXT, XTYP_EXECUTE, 0, &result);
}

void SingleInstance::Release() {
    if (ddeInstance == 0) return;
    if (serviceName != nullptr) DdeFreeStringHandle(ddeInstance, serviceName);
    if (topicName != nullptr) DdeFreeStringHandle(ddeInstance, topicName);
    if (!otherInstanceFound) DdeNameService(ddeInstance, serviceName, nullptr, DNS_UNREGISTER);
    DdeUninitialize(ddeInstance);
    ddeInstance = 0;
    serviceName = nullptr;
    topicName = nullptr;
    if (server_ == this) server_ = nullptr;
}

HDDEDATA CALLBACK SingleInstance::HandleTransaction(UINT type, UINT, HCONV, HSZ first, HSZ, HDDEDATA data, ULONG_PTR,
                                                    ULONG_PTR) {
    if (server_ == nullptr) return nullptr;
    switch (type) {
    case XTYP_CONNECT:
        return server_->OnConnect(first);
    case XTYP_EXECUTE:
        return server_->OnExecute(data);
    default:
        return nullptr;
    }
}

// Every connection is accepted; only the right topic brings the window forward.
HDDEDATA SingleInstance::OnConnect(HSZ topic) const {
    const DWORD length = DdeQueryStringA(ddeInstance, topic, nullptr, 0, CP_WINANSI);
    std::unique_ptr<char[]> text(new (std::nothrow) char[length + 1]);
    if (text != nullptr) {
        DdeQueryStringA(ddeInstance, topic, text.get(), length + 1, CP_WINANSI);
        if (lstrcmpA(text.get(), kInstanceTopicName) == 0) SetForegroundWindow(mainWindow);
    }
    return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DDE_FACK));
}

HDDEDATA SingleInstance::OnExecute(HDDEDATA data) {
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::unique_ptr<char[]> text(new (std::nothrow) char[size + 1]);
    if (text == nullptr) return nullptr;
    const DWORD copied = DdeGetData(data, reinterpret_cast<LPBYTE>(text.get()), size, 0);
    // Data without a zero byte is taken whole.
    text[copied < size ? copied : size] = '\0';
    if (text[0] != '\0') receiver_.OpenHandedFile(text.get());
    SetForegroundWindow(mainWindow);
    return nullptr;
}
