#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/single_instance.h"

namespace {

class RecordingReceiver final : public HandedFileReceiver {
public:
    void OpenHandedFile(const char* path) override { paths.emplace_back(path); }
    std::vector<std::string> paths;
};

template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(5);
    }
    return true;
}

void Pump(DWORD ms) { PumpUntil([] { return false; }, ms); }

struct TestWindow {
    explicit TestWindow(const char* title)
        : hwnd(CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr)) {}
    ~TestWindow() { DestroyWindow(hwnd); }
    HWND hwnd;
};

HDDEDATA CALLBACK IgnoreTransactions(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

// A bare DDE client, for what the program itself never sends.
class RawClient {
public:
    RawClient() { DdeInitializeA(&instance_, IgnoreTransactions, APPCMD_CLIENTONLY, 0); }
    ~RawClient() {
        if (instance_ != 0) DdeUninitialize(instance_);
    }
    HCONV Connect(const char* topic) {
        const HSZ service = DdeCreateStringHandleA(instance_, kInstanceServiceName, CP_WINANSI);
        const HSZ topicHandle = DdeCreateStringHandleA(instance_, topic, CP_WINANSI);
        const HCONV conversation = DdeConnect(instance_, service, topicHandle, nullptr);
        DdeFreeStringHandle(instance_, service);
        DdeFreeStringHandle(instance_, topicHandle);
        return conversation;
    }
    void Execute(HCONV conversation, const std::string& bytes) {
        DWORD result = 0;
        DdeClientTransaction(reinterpret_cast<LPBYTE>(const_cast<char*>(bytes.data())),
                             static_cast<DWORD>(bytes.size()), conversation, nullptr, CF_TEXT, XTYP_EXECUTE, 0,
                             &result);
    }

private:
    DWORD instance_ = 0;
};

class SingleInstanceTest : public testing::Test {
protected:
    // Windows are shared by the tests: taking one down costs seconds without a window manager.
    static void SetUpTestSuite() {
        main = new TestWindow("main");
        other = new TestWindow("other");
    }
    static void TearDownTestSuite() {
        delete main;
        delete other;
    }
    void SetUp() override {
        ASSERT_TRUE(server.ClaimInstance(""));
        server.mainWindow = main->hwnd;
    }
    void TearDown() override { server.Release(); }

    RecordingReceiver received;
    SingleInstance server{received};
    static TestWindow* main;
    static TestWindow* other;
};

TestWindow* SingleInstanceTest::main = nullptr;
TestWindow* SingleInstanceTest::other = nullptr;

TEST_F(SingleInstanceTest, FirstStartServesTheNameAndFindsNoOtherInstance) {
    EXPECT_FALSE(server.otherInstanceFound);
    EXPECT_NE(server.ddeInstance, 0u);
    EXPECT_NE(server.serviceName, nullptr);
    EXPECT_NE(server.topicName, nullptr);
}

TEST_F(SingleInstanceTest, SecondStartHandsItsTailOverAndTheFirstComesForward) {
    SetForegroundWindow(other->hwnd);
    RecordingReceiver unused;
    SingleInstance second(unused);
    EXPECT_FALSE(second.ClaimInstance("\"C:\\My Screens\\logo.kss\""));
    EXPECT_TRUE(second.otherInstanceFound);

    ASSERT_TRUE(PumpUntil([&] { return !received.paths.empty(); }));
    EXPECT_EQ(received.paths, std::vector<std::string>{"\"C:\\My Screens\\logo.kss\""});
    EXPECT_EQ(GetForegroundWindow(), main->hwnd);
    EXPECT_TRUE(unused.paths.empty());
    second.Release();
    EXPECT_EQ(second.ddeInstance, 0u);
}

TEST_F(SingleInstanceTest, EmptyTailOpensNothingButBringsTheWindowForward) {
    RawClient client;
    const HCONV conversation = client.Connect("Other_Topic");
    ASSERT_NE(conversation, nullptr);
    SetForegroundWindow(other->hwnd);
    client.Execute(conversation, std::string(1, '\0'));
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == main->hwnd; }));
    Pump(100);
    EXPECT_TRUE(received.paths.empty());
}

TEST_F(SingleInstanceTest, ConnectionOnAnotherTopicIsAcceptedWithoutComingForward) {
    SetForegroundWindow(other->hwnd);
    RawClient client;
    EXPECT_NE(client.Connect("Other_Topic"), nullptr);
    Pump(100);
    EXPECT_EQ(GetForegroundWindow(), other->hwnd);

    EXPECT_NE(client.Connect(kInstanceTopicName), nullptr);
    EXPECT_EQ(GetForegroundWindow(), main->hwnd);
}

TEST_F(SingleInstanceTest, ReceivedTextEndsAtItsFirstZeroByteOrIsTakenWhole) {
    RawClient client;
    const HCONV conversation = client.Connect(kInstanceTopicName);
    ASSERT_NE(conversation, nullptr);
    client.Execute(conversation, std::string("C:\\a.kss\0C:\\b.kss", 17));
    ASSERT_TRUE(PumpUntil([&] { return received.paths.size() == 1; }));
    client.Execute(conversation, "C:\\whole.kss");
    ASSERT_TRUE(PumpUntil([&] { return received.paths.size() == 2; }));
    // Longer than any file name: it arrives whole, for the receiver to refuse.
    const std::string longName(600, 'n');
    client.Execute(conversation, longName);
    ASSERT_TRUE(PumpUntil([&] { return received.paths.size() == 3; }));
    EXPECT_EQ(received.paths, (std::vector<std::string>{"C:\\a.kss", "C:\\whole.kss", longName}));
}

TEST_F(SingleInstanceTest, ReleasedServiceIsNoLongerFound) {
    server.Release();
    EXPECT_EQ(server.ddeInstance, 0u);
    RecordingReceiver unused;
    SingleInstance next(unused);
    EXPECT_TRUE(next.ClaimInstance("C:\\a.kss"));
    EXPECT_FALSE(next.otherInstanceFound);
    next.Release();
}

TEST(SingleInstanceWithoutDde, RunsAloneWhenDdeCannotStart) {
    RecordingReceiver unused;
    SingleInstance instance(unused);
    // An identifier DDE never issued makes its initialisation fail.
    instance.ddeInstance = 0xDEAD;
    EXPECT_FALSE(instance.ClaimInstance("C:\\a.kss"));
    EXPECT_FALSE(instance.otherInstanceFound);
    EXPECT_EQ(instance.ddeInstance, 0u);
    instance.Release();
}

}  // namespace
