#include "base/page_prefetch.h"

#include <algorithm>
#include <utility>

namespace teluri {

PagePrefetch::PagePrefetch(std::vector<std::string> paths, std::size_t window)
    : paths_(std::move(paths)), window_(std::max<std::size_t>(window, 1)), slots_(paths_.size()) {
    const std::size_t toRead = static_cast<std::size_t>(std::count_if(
        paths_.begin(), paths_.end(), [](const auto& path) { return !path.empty(); }));
    // The consumer reads too whenever it overtakes the workers, so a list
    // of one or two files needs none.
    const std::size_t workers =
        std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), toRead / 2);
    workers_.reserve(workers);
    for (std::size_t i = 0; i < workers; ++i) {
        workers_.emplace_back([this] { Work(); });
    }
}

PagePrefetch::~PagePrefetch() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    windowMoved_.notify_all();
    for (std::thread& worker : workers_) {
        worker.join();
    }
}

std::size_t PagePrefetch::NextToRead() {
    claimed_ = std::max(claimed_, position_);
    while (claimed_ < slots_.size() &&
           (paths_[claimed_].empty() || slots_[claimed_].state != State::kWaiting)) {
        ++claimed_;
    }
    const bool inWindow = claimed_ < position_ + window_;
    const bool roomLeft = heldBytes_ < kMaxHeldBytes || claimed_ == position_;
    return inWindow && roomLeft ? claimed_ : slots_.size();
}

void PagePrefetch::Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        while (!stopping_ && NextToRead() == slots_.size()) {
            wakeAt_ = position_ + std::max<std::size_t>(window_ / 4, 1);
            ++idleWorkers_;
            windowMoved_.wait(lock);
            --idleWorkers_;
        }
        if (stopping_) {
            return;
        }
        const std::size_t index = claimed_++;
        slots_[index].state = State::kReading;
        lock.unlock();
        std::optional<std::string> content;
        FileStamp stamp;
        try {
            content = ReadFileIfExists(paths_[index], &stamp);
        } catch (...) {
            // The consumer reads the file itself and meets the error there,
            // in its own order.
        }
        lock.lock();
        Slot& slot = slots_[index];
        if (slot.state == State::kReading) {
            if (content) {
                slot.state = State::kRead;
                slot.content = std::move(*content);
                slot.stamp = stamp;
                heldBytes_ += slot.content.size();
            } else {
                slot.state = State::kFailed;
            }
        }
    }
}

void PagePrefetch::Drop(Slot& slot) {
    if (slot.state == State::kRead) {
        heldBytes_ -= slot.content.size();
        std::string().swap(slot.content);
    }
    slot.state = State::kTaken;  // a read under way is thrown away when it ends
}

std::optional<std::string> PagePrefetch::Take(std::size_t index, FileStamp* stamp) {
    const std::string& path = paths_.at(index);
    {
        std::unique_lock<std::mutex> lock(mutex_);
        Slot& slot = slots_[index];
        const bool ahead = index >= position_ && index < position_ + window_;
        if (ahead && slot.state == State::kRead) {
            std::string content = std::move(slot.content);
            const FileStamp readStamp = slot.stamp;
            heldBytes_ -= content.size();
            slot.state = State::kTaken;
            lock.unlock();
            if (CheckFileStamp(path, readStamp) == FileCheck::kSameStamp) {
                if (stamp != nullptr) {
                    *stamp = readStamp;
                }
                return content;
            }
        } else {
            Drop(slot);
        }
    }
    return ReadFileIfExists(path, stamp);
}

void PagePrefetch::Pass(std::size_t index) {
    bool wake = false;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        const std::size_t end = std::min(index + 1, slots_.size());
        for (std::size_t i = position_; i < end; ++i) {
            Drop(slots_[i]);
        }
        position_ = std::max(position_, end);
        wake = idleWorkers_ > 0 && position_ >= wakeAt_;
    }
    if (wake) {
        windowMoved_.notify_all();
    }
}

}  // namespace teluri
