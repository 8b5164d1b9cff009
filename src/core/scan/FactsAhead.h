#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/CheckList.h"
#include "platform/FileSystem.h"

namespace scourix {

// Looks at the files of a list ahead of a procedure that goes through them in order, on a
// few threads, in chunks of consecutive entries: a chunk's folders are reached once. The
// procedure still asks in order and decides alone what to show; the list must not change
// meanwhile.
class FactsAhead {
public:
    // owners: whether the package database is asked who owns each file. Only the entries
    // from first up to last are looked at (last beyond the list: up to its end).
    FactsAhead(const FileSystem& fs, const CheckList& list, bool owners, unsigned threads,
               std::size_t first = 0, std::size_t last = SIZE_MAX);
    ~FactsAhead();
    FactsAhead(const FactsAhead&) = delete;
    FactsAhead& operator=(const FactsAhead&) = delete;

    // What was found for entry i (i >= first), looking at its chunk on this thread when no other
    // has.
    const Result<FileFacts>& at(std::size_t i);

private:
    enum class State : unsigned char { Waiting, Looking, Done };
    struct Chunk {
        State state = State::Waiting;
        std::vector<Result<FileFacts>> facts;
    };

    void work();
    // Looks at chunk c; called with the lock held, which it lets go meanwhile.
    void look(std::unique_lock<std::mutex>& lock, std::size_t c);

    const FileSystem& fs_;
    const CheckList& list_;
    const bool owners_;
    const std::size_t first_;
    const std::size_t last_;
    std::vector<Chunk> chunks_;
    std::size_t nextChunk_ = 0;      // the first chunk nobody has taken
    std::size_t releasedBelow_ = 0;  // chunks before it were used and let go
    bool finished_ = false;
    std::mutex mutex_;
    std::condition_variable done_;
    std::vector<std::thread> threads_;
};

}  // namespace scourix
