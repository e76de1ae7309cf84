#include "base/page_prefetch.h"

#include <algorithm>
#include <utility>

namespace teluri {

PagePrefetch::PagePrefetch(std::vector<std::string> paths, std::size_t window,
                           std::optional<std::size_t> workers)
    : paths_(std::move(paths)), slots_(std::min(std::max<std::size_t>(window, 1), paths_.size())) {
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        slots_[i].index = i;
    }
    const auto toRead = static_cast<std::size_t>(std::count_if(
        paths_.begin(), paths_.end(), [](const auto& path) { return !path.empty(); }));
    if (!workers) {
        // One core stays with the consumer, and the workers pay only where
        // two more run beside it: on two cores, measured, a worker slows the
        // consumer about as much as it saves. The consumer reads too
        // whenever it overtakes the workers, so a list of one or two files
        // needs none.
        const std::size_t cores = std::thread::hardware_concurrency();
        workers = cores >= kMinCoresForWorkers ? std::min(cores - 1, toRead / 2) : 0;
    }
    workers_.reserve(*workers);
    for (std::size_t i = 0; i < *workers; ++i) {
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

PagePrefetch::Slot& PagePrefetch::SlotOf(std::size_t index) {
    Slot& slot = slots_[index % slots_.size()];
    if (slot.index != index) {
        slot.index = index;
        slot.state = State::kWaiting;
    }
    return slot;
}

std::size_t PagePrefetch::NextToRead() {
    claimed_ = std::max(claimed_, position_);
    const std::size_t end = std::min(paths_.size(), position_ + slots_.size());
    while (claimed_ < end &&
           (paths_[claimed_].empty() || SlotOf(claimed_).state != State::kWaiting)) {
        ++claimed_;
    }
    const bool roomLeft = heldBytes_ < kMaxHeldBytes || claimed_ == position_;
    return claimed_ < end && roomLeft ? claimed_ : paths_.size();
}

void PagePrefetch::Work() {
    std::string buffer;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        while (!stopping_ && NextToRead() == paths_.size()) {
            wakeAt_ = position_ + std::max<std::size_t>(slots_.size() / 4, 1);
            ++idleWorkers_;
            windowMoved_.wait(lock);
            --idleWorkers_;
        }
        if (stopping_) {
            return;
        }
        const std::size_t index = claimed_++;
        SlotOf(index).state = State::kReading;
        lock.unlock();
        std::optional<std::size_t> size;
        FileStamp stamp;
        try {
            if (const auto content = ReadFileInto(paths_[index], buffer, &stamp)) {
                size = content->size();
            }
        } catch (...) {
            // The consumer reads the file itself and meets the error there,
            // in its own order.
        }
        lock.lock();
        Slot& slot = slots_[index % slots_.size()];
        if (slot.index == index && slot.state == State::kReading) {
            if (size) {
                slot.state = State::kRead;
                slot.buffer.swap(buffer);
                slot.size = *size;
                slot.stamp = stamp;
                heldBytes_ += *size;
            } else {
                slot.state = State::kFailed;
            }
        }
    }
}

void PagePrefetch::Drop(Slot& slot) {
    if (slot.state == State::kRead) {
        heldBytes_ -= slot.size;
    }
    slot.state = State::kTaken;  // a read under way is thrown away when it ends
}

std::optional<std::string_view> PagePrefetch::Take(std::size_t index, std::string& buffer,
                                                   FileStamp* stamp) {
    const std::string& path = paths_.at(index);
    if (workers_.empty()) {
        return ReadFileInto(path, buffer, stamp);
    }
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (index >= position_ && index < position_ + slots_.size()) {
            Slot& slot = SlotOf(index);
            if (slot.state == State::kRead) {
                buffer.swap(slot.buffer);
                const std::size_t size = slot.size;
                const FileStamp readStamp = slot.stamp;
                Drop(slot);
                lock.unlock();
                if (CheckFileStamp(path, readStamp) == FileCheck::kSameStamp) {
                    if (stamp != nullptr) {
                        *stamp = readStamp;
                    }
                    return std::string_view(buffer.data(), size);
                }
            } else {
                Drop(slot);
            }
        }
    }
    return ReadFileInto(path, buffer, stamp);
}

void PagePrefetch::Pass(std::size_t index) {
    if (workers_.empty()) {
        return;
    }
    bool wake = false;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        const std::size_t end = std::min(index + 1, paths_.size());
        for (std::size_t i = position_; i < end; ++i) {
            Slot& slot = slots_[i % slots_.size()];
            if (slot.index == i) {
                Drop(slot);
            }
        }
        position_ = std::max(position_, end);
        wake = idleWorkers_ > 0 && position_ >= wakeAt_;
    }
    if (wake) {
        windowMoved_.notify_all();
    }
}

}  // namespace teluri
