#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

// Raised once, by Ctrl-C; every pause that waits on it ends at once.
class StopFlag {
public:
    void Raise() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            raised_ = true;
        }
        changed_.notify_all();
    }

    bool Raised() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return raised_;
    }

    // False when the flag went up before the time was over.
    bool Wait(uint32_t milliseconds) const {
        std::unique_lock<std::mutex> lock(mutex_);
        return !changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return raised_; });
    }

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool raised_ = false;
};
