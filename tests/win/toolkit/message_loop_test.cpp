#include "toolkit/message_loop.h"

#include <gtest/gtest.h>

#include <vector>

#include "toolkit/app_module.h"
#include "toolkit/window.h"

namespace {

// A real window that notes every message its object sees.
class RecordingWindow final : public Window {
public:
    explicit RecordingWindow(WindowClass& windowClass) {
        CreateBound(windowClass, 0, "recorder", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr);
    }
    ~RecordingWindow() override {
        if (Handle() != nullptr) DestroyWindow(Handle());
    }

    int Count(UINT message) const {
        int n = 0;
        for (const MSG& m : seen) n += m.message == message ? 1 : 0;
        return n;
    }

    std::vector<MSG> seen;
    void (*onMessage)(RecordingWindow&, UINT, WPARAM) = nullptr;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(MSG{Handle(), message, wParam, lParam, 0, {}});
        if (onMessage != nullptr) onMessage(*this, message, wParam);
        return DefaultProcessing(message, wParam, lParam);
    }
};

WindowClass& RecorderClass() {
    static WindowClass windowClass("BrevantTest:Recorder", 0, IDC_ARROW, nullptr);
    return windowClass;
}

class LoopTest : public testing::Test {
protected:
    void SetUp() override {
        MSG stale;
        while (PeekMessageA(&stale, nullptr, 0, 0, PM_REMOVE)) {
        }
        BYTE keys[256] = {};
        SetKeyboardState(keys);
    }
    void TearDown() override { KillTimer(nullptr, timer_); }

    UINT_PTR timer_ = 0;
};

struct ConsumingFilter final : MessageFilter {
    ConsumingFilter(UINT consumed, std::vector<char>* log, char name) : consumed_(consumed), log_(log), name_(name) {}
    bool FilterMessage(MSG& message) override {
        if (log_ != nullptr && message.message == WM_KEYDOWN) log_->push_back(name_);
        return message.message == consumed_;
    }
    UINT consumed_;
    std::vector<char>* log_;
    char name_;
};

TEST_F(LoopTest, AMessageNoFilterConsumesIsTranslatedAndDispatched) {
    RecordingWindow window(RecorderClass());
    MessageLoop loop;
    ConsumingFilter filter(WM_NULL, nullptr, 'a');
    ASSERT_TRUE(loop.AddFilter(filter));
    PostMessageA(window.Handle(), WM_KEYDOWN, 'A', 0x001E0001);
    PostQuitMessage(7);

    EXPECT_EQ(loop.Run(), 7);
    EXPECT_EQ(window.Count(WM_KEYDOWN), 1);
    ASSERT_EQ(window.Count(WM_CHAR), 1);
    for (const MSG& m : window.seen) {
        if (m.message == WM_CHAR) {
            EXPECT_EQ(m.wParam, WPARAM{'a'});
        }
    }
}

TEST_F(LoopTest, AConsumedMessageIsNeitherTranslatedNorDispatched) {
    RecordingWindow window(RecorderClass());
    MessageLoop loop;
    ConsumingFilter filter(WM_KEYDOWN, nullptr, 'a');
    ASSERT_TRUE(loop.AddFilter(filter));
    PostMessageA(window.Handle(), WM_KEYDOWN, 'A', 0x001E0001);
    PostMessageA(window.Handle(), WM_KEYUP, 'A', 0xC01E0001);
    PostQuitMessage(1);

    EXPECT_EQ(loop.Run(), 1);
    EXPECT_EQ(window.Count(WM_KEYDOWN), 0);
    EXPECT_EQ(window.Count(WM_CHAR), 0);
    EXPECT_EQ(window.Count(WM_KEYUP), 1);
}

TEST_F(LoopTest, TheFilterAddedLastIsAskedFirstAndAConsumingOneEndsTheWalk) {
    RecordingWindow window(RecorderClass());
    std::vector<char> asked;
    ConsumingFilter first(WM_NULL, &asked, 'a');
    ConsumingFilter second(WM_NULL, &asked, 'b');
    MessageLoop loop;
    ASSERT_TRUE(loop.AddFilter(first));
    ASSERT_TRUE(loop.AddFilter(second));
    PostMessageA(window.Handle(), WM_KEYDOWN, 'A', 0x001E0001);
    PostQuitMessage(0);
    loop.Run();
    EXPECT_EQ(asked, (std::vector<char>{'b', 'a'}));
    EXPECT_EQ(window.Count(WM_KEYDOWN), 1);

    asked.clear();
    second.consumed_ = WM_KEYDOWN;
    PostMessageA(window.Handle(), WM_KEYDOWN, 'A', 0x001E0001);
    PostQuitMessage(0);
    loop.Run();
    EXPECT_EQ(asked, (std::vector<char>{'b'}));
    EXPECT_EQ(window.Count(WM_KEYDOWN), 1);
}

// The first idle pass posts a burst of mouse moves and starts a timer. Once the burst is
// handled the queue is empty again; only a loop that wrongly re-armed idle work would run a
// second pass before the timer message arrives. The timer then posts a key press, which does
// re-arm, and the pass after it ends the loop.
struct BurstIdle final : IdleHandler {
    bool HandleIdle() override {
        ++passes;
        if (passes == 1) {
            for (int i = 0; i < 20; ++i) PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(i, i));
            PostMessageA(window, WM_NCMOUSEMOVE, HTCAPTION, 0);
            SetTimer(window, 1, 300, nullptr);
        } else {
            PostQuitMessage(3);
        }
        return true;  // ignored by the loop
    }
    HWND window = nullptr;
    int passes = 0;
};

TEST_F(LoopTest, MouseMovesAfterAnEmptyQueueGiveNoSecondIdlePassButAKeyPressDoes) {
    RecordingWindow window(RecorderClass());
    static BurstIdle idle;
    static int passesAtTimer;
    idle = BurstIdle{};
    idle.window = window.Handle();
    passesAtTimer = -1;
    window.onMessage = [](RecordingWindow& w, UINT message, WPARAM) {
        if (message != WM_TIMER || passesAtTimer != -1) return;
        KillTimer(w.Handle(), 1);
        passesAtTimer = idle.passes;
        PostMessageA(w.Handle(), WM_KEYDOWN, 'B', 0x00300001);
    };
    MessageLoop loop;
    ASSERT_TRUE(loop.AddIdleHandler(idle));

    EXPECT_EQ(loop.Run(), 3);
    EXPECT_EQ(window.Count(WM_MOUSEMOVE), 20);
    EXPECT_EQ(passesAtTimer, 1);
    EXPECT_EQ(idle.passes, 2);
}

TEST_F(LoopTest, EveryIdleHandlerRunsOncePerPassInTheOrderAdded) {
    struct Logging final : IdleHandler {
        Logging(std::vector<char>& log, char name) : log_(log), name_(name) {}
        bool HandleIdle() override {
            log_.push_back(name_);
            if (name_ == 'b') PostQuitMessage(0);
            return true;
        }
        std::vector<char>& log_;
        char name_;
    };
    std::vector<char> log;
    Logging a(log, 'a');
    Logging b(log, 'b');
    MessageLoop loop;
    ASSERT_TRUE(loop.AddIdleHandler(a));
    ASSERT_TRUE(loop.AddIdleHandler(b));
    loop.Run();
    EXPECT_EQ(log, (std::vector<char>{'a', 'b'}));
}

TEST(LoopRegistryTest, UnregisterOfAnUnknownIdReportsFalseAndChangesNothing) {
    LoopRegistry registry;
    MessageLoop first;
    MessageLoop second;
    ASSERT_TRUE(registry.Register(11, first));
    ASSERT_TRUE(registry.Register(22, second));

    EXPECT_FALSE(registry.Unregister(33));
    EXPECT_EQ(registry.Count(), 2u);
    EXPECT_EQ(registry.Lookup(11), &first);
    EXPECT_EQ(registry.Lookup(22), &second);
    EXPECT_EQ(registry.Lookup(33), nullptr);

    EXPECT_TRUE(registry.Unregister(11));
    EXPECT_FALSE(registry.Unregister(11));
    EXPECT_EQ(registry.Lookup(11), nullptr);
    EXPECT_EQ(registry.Lookup(22), &second);
    EXPECT_EQ(registry.Count(), 1u);
}

TEST(LoopRegistryTest, LookupTakesTheFirstOfDuplicateIds) {
    LoopRegistry registry;
    MessageLoop first;
    MessageLoop second;
    ASSERT_TRUE(registry.Register(5, first));
    ASSERT_TRUE(registry.Register(5, second));
    EXPECT_EQ(registry.Lookup(5), &first);
    EXPECT_TRUE(registry.Unregister(5));
    EXPECT_EQ(registry.Lookup(5), &second);
}

TEST(WindowBindingTest, TwoWindowsOfOneClassRegisterItOnceAndEachIsBoundToItsObject) {
    static WindowClass sharedClass("BrevantTest:Shared", 0, IDC_ARROW, nullptr);
    RecordingWindow one(sharedClass);
    RecordingWindow two(sharedClass);
    ASSERT_NE(one.Handle(), nullptr);
    ASSERT_NE(two.Handle(), nullptr);
    EXPECT_NE(one.Handle(), two.Handle());
    EXPECT_EQ(sharedClass.Registrations(), 1);
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(GetClassInfoExA(gAppModule.Instance(), "BrevantTest:Shared", &info));

    // The message that did the binding was handled by the object too.
    ASSERT_FALSE(one.seen.empty());
    EXPECT_EQ(one.seen.front().message, UINT{WM_GETMINMAXINFO});
    EXPECT_EQ(one.seen.front().hwnd, one.Handle());
    EXPECT_EQ(two.seen.front().hwnd, two.Handle());
    EXPECT_EQ(gAppModule.TakeCreationRecord(), nullptr);
}

TEST(WindowBindingTest, TheObjectLetsGoOfItsWindowWhenTheWindowIsDestroyed) {
    RecordingWindow window(RecorderClass());
    const HWND hwnd = window.Handle();
    ASSERT_NE(hwnd, nullptr);
    DestroyWindow(hwnd);
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_EQ(window.Count(WM_NCDESTROY), 1);
    EXPECT_FALSE(IsWindow(hwnd));
}

}  // namespace
