#include "scan/FactsAhead.h"

#include <algorithm>
#include <cerrno>
#include <new>

namespace scourix {

namespace {

// Entries per chunk: enough that a thread's share reaches each folder once, few enough
// that the first answers come at once.
constexpr std::size_t kChunk = 256;
// Chunks looked at ahead of the one asked for, so that a long list costs little memory.
constexpr std::size_t kAhead = 64;

}  // namespace

FactsAhead::FactsAhead(const FileSystem& fs, const CheckList& list, bool owners, unsigned threads,
                       std::size_t first, std::size_t last)
    : fs_(fs),
      list_(list),
      owners_(owners),
      first_(std::min(first, list.count())),
      last_(std::clamp(last, first_, list.count())),
      chunks_((last_ - first_ + kChunk - 1) / kChunk) {
    for (unsigned i = 1; i < threads && i < chunks_.size(); ++i) {
        threads_.emplace_back([this] { work(); });
    }
}

FactsAhead::~FactsAhead() {
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
    }
    done_.notify_all();
    for (std::thread& t : threads_) {
        t.join();
    }
}

void FactsAhead::look(std::unique_lock<std::mutex>& lock, std::size_t c) {
    Chunk& chunk = chunks_[c];
    chunk.state = State::Looking;
    lock.unlock();
    const std::size_t first = first_ + c * kChunk;
    const std::size_t last = std::min(first + kChunk, last_);
    std::vector<Result<FileFacts>> facts;
    try {
        std::vector<std::string_view> paths;
        paths.reserve(last - first);
        for (std::size_t i = first; i < last; ++i) {
            paths.emplace_back(list_.text(i));
        }
        fs_.inspect(paths, owners_, facts);
    } catch (const std::bad_alloc&) {
        // This thread has nobody to pass the failure to: each look of the chunk fails, and
        // the procedure shows that failure at the entry's turn.
        facts.assign(last - first, Result<FileFacts>(errorOf(ENOMEM)));
    }
    lock.lock();
    chunk.facts = std::move(facts);
    chunk.state = State::Done;
    done_.notify_all();
}

void FactsAhead::work() {
    std::unique_lock lock(mutex_);
    while (!finished_) {
        if (nextChunk_ < chunks_.size() && nextChunk_ < releasedBelow_ + kAhead) {
            look(lock, nextChunk_++);
        } else {
            done_.wait(lock);
        }
    }
}

const Result<FileFacts>& FactsAhead::at(std::size_t i) {
    i -= first_;
    const std::size_t c = i / kChunk;
    std::unique_lock lock(mutex_);
    // The chunks before are done with: their memory goes, and the readers may go further.
    if (releasedBelow_ < c) {
        for (; releasedBelow_ < c; ++releasedBelow_) {
            std::vector<Result<FileFacts>>().swap(chunks_[releasedBelow_].facts);
        }
        done_.notify_all();
    }
    while (chunks_[c].state != State::Done) {
        if (chunks_[c].state == State::Waiting) {
            // Nobody has it yet: the chunks are taken in order, so this is the next one.
            nextChunk_ = std::max(nextChunk_, c + 1);
            look(lock, c);
        } else if (nextChunk_ < chunks_.size() && nextChunk_ < c + kAhead) {
            // Another thread has it: this one takes the next chunk meanwhile.
            look(lock, nextChunk_++);
        } else {
            done_.wait(lock);
        }
    }
    return chunks_[c].facts[i % kChunk];
}

}  // namespace scourix
