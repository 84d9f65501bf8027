#pragma once
#include <windows.h>
#include <ddeml.h>

// Where a running instance puts the file name that a later start hands over.
class HandedFileReceiver {
public:
    virtual void OpenHandedFile(const char* path) = 0;

protected:
    ~HandedFileReceiver() = default;
};

// One running instance per session: a later start finds it over DDE, hands it its command-line
// tail and ends.
class SingleInstance {
public:
    explicit SingleInstance(HandedFileReceiver& receiver) : receiver_(receiver) {}
    virtual ~SingleInstance() = default;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True: this process now serves the name. False: DDE is unavailable, or another
    // instance took the tail (then otherInstanceFound is set).
    bool ClaimInstance(const char* commandLineTail);
    // Ends the conversation or the service; safe to call when nothing was set up.
    void Release();

    bool otherInstanceFound = false;
    DWORD ddeInstance = 0;
    HSZ serviceName = nullptr;
    HSZ topicName = nullptr;
    HWND mainWindow = nullptr;

protected:
    virtual PFNCALLBACK TransactionHandler() const { return HandleTransaction; }

private:
    static HDDEDATA CALLBACK HandleTransaction(UINT type, UINT format, HCONV conversation, HSZ first, HSZ second,
                                               HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
    HDDEDATA OnConnect(HSZ topic) const;
    HDDEDATA OnExecute(HDDEDATA data);
    void SendTail(HCONV conversation, const char* tail) const;

    // The object that serves the name; the DDE callback has no other way to reach it.
    static SingleInstance* server_;
    HandedFileReceiver& receiver_;
};

inline constexpr char kInstanceServiceName[] = "Single_Instance_App";
inline constexpr char kInstanceTopicName[] = "Single_Instance_Topic";
// Starts of this program take it in turn; older copies, which do not know it, are not held up.
inline constexpr char kInstanceClaimMutexName[] = "Local\\Brevant.SingleInstance.Claim";
