#include "scan/FolderQueue.h"

#include <cerrno>

namespace scourix {

namespace {

// How far past the next folder the readers look for work, and how many folders they may
// have read that the walk has not taken yet: each holds a descriptor until it is taken.
constexpr std::size_t kWindow = 128;
constexpr std::size_t kMaxReadAhead = 256;
// Folders on the path kept open; the rest of the descriptors are the readers'.
constexpr std::size_t kMaxOpenOnPath = 256;

}  // namespace

FolderQueue::FolderQueue(const FileSystem& fs, const ReadRules& rules, unsigned threads,
                         std::string location)
    : fs_(fs), rules_(rules), reader_(fs, rules) {
    auto* root = new WalkNode;
    root->name = std::move(location);
    root->inQueue = true;
    head_ = tail_ = root;
    for (unsigned i = 1; i < threads; ++i) {
        readers_.emplace_back([this] { work(); });
    }
}

FolderQueue::~FolderQueue() {
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
        stopping_ = true;
    }
    workAvailable_.notify_all();
    for (std::thread& reader : readers_) {
        reader.join();
    }
    while (head_ != nullptr) {
        WalkNode* node = head_;
        unlink(*node);
        maybeFree(node);
    }
    leavePathTo(0, false);
}

void FolderQueue::work() {
    FolderReader reader(fs_, rules_);
    std::vector<std::string> subfolders;
    std::unique_lock lock(mutex_);
    while (!finished_) {
        WalkNode* node = findWork();
        if (node == nullptr) {
            workAvailable_.wait(lock);
            continue;
        }
        if (readNode(lock, *node, reader, subfolders)) {
            ++readAhead_;
        }
        maybeFree(node);
        readDone_.notify_all();
    }
}

WalkNode* FolderQueue::findWork() {
    if (stopping_ || readAhead_ >= kMaxReadAhead || head_ == nullptr) {
        return nullptr;
    }
    // The next folder is the taking thread's own: handing it over would only add a wait
    // (in a tree that is one long chain, at every folder).
    std::size_t hops = 1;
    for (WalkNode* node = head_->next; node != nullptr && hops < kWindow;
         node = node->next, ++hops) {
        // A subfolder of a folder closed for the bound waits for the walk to come back.
        if (node->state == WalkNode::State::Waiting && node->parent != nullptr &&
            node->parent->folder) {
            return node;
        }
    }
    return nullptr;
}

bool FolderQueue::readNode(std::unique_lock<std::mutex>& lock, WalkNode& node, FolderReader& reader,
                           std::vector<std::string>& subfolders) {
    WalkNode* parent = node.parent;
    node.state = WalkNode::State::Reading;
    if (parent != nullptr && !parent->folder) {
        // The parent could not be opened again: its subfolders cannot be reached.
        node.error = parent->error.value_or(errorOf(ENOENT));
        node.state = WalkNode::State::Read;
        return true;
    }
    if (parent != nullptr) {
        ++parent->pins;
    }
    ++reading_;
    lock.unlock();
    reader.read(node, parent != nullptr ? parent->folder.get() : nullptr, subfolders);
    lock.lock();
    --reading_;
    node.state = WalkNode::State::Read;
    if (parent != nullptr) {
        --parent->pins;
        maybeFree(parent);
    }
    if (node.stale && !node.cancelled) {
        reset(node);
        return false;
    }
    if (!node.cancelled && !subfolders.empty()) {
        insertSubfolders(node, subfolders);
    }
    return !node.cancelled;
}

void FolderQueue::reset(WalkNode& node) {
    node.stale = false;
    node.state = WalkNode::State::Waiting;
    if (node.pins > 0) {
        retired_.push_back(std::move(node.folder));  // a reader is opening a subfolder in it
    }
    node.folder.reset();
    node.error.reset();
    std::vector<FolderMatch>().swap(node.matches);
}

void FolderQueue::insertSubfolders(WalkNode& node, std::vector<std::string>& names) {
    // Right after the folder, or first in line when the walk has already taken it.
    WalkNode* before = node.inQueue ? &node : nullptr;
    WalkNode* after = node.inQueue ? node.next : head_;
    for (std::string& name : names) {
        auto* child = new WalkNode;
        child->parent = &node;
        child->name = std::move(name);
        child->depth = node.depth + 1;
        child->inQueue = true;
        child->prev = before;
        (before != nullptr ? before->next : head_) = child;
        before = child;
    }
    before->next = after;
    (after != nullptr ? after->prev : tail_) = before;
    workAvailable_.notify_all();
}

void FolderQueue::unlink(WalkNode& node) {
    (node.prev != nullptr ? node.prev->next : head_) = node.next;
    (node.next != nullptr ? node.next->prev : tail_) = node.prev;
    node.prev = node.next = nullptr;
    node.inQueue = false;
}

WalkNode* FolderQueue::next() {
    std::unique_lock lock(mutex_);
    for (;;) {
        WalkNode* node = head_;
        if (node == nullptr) {
            return nullptr;
        }
        leavePathTo(node->depth);
        if (reading_ == 0) {
            retired_.clear();
        }
        switch (node->state) {
            case WalkNode::State::Waiting:
                readNode(lock, *node, reader_, subfolders_);
                ++readAhead_;
                break;
            case WalkNode::State::Reading:
                // Helps with the folders after it rather than wait idle.
                if (WalkNode* other = findWork(); other != nullptr) {
                    readNode(lock, *other, reader_, subfolders_);
                    ++readAhead_;
                } else {
                    readDone_.wait(lock);
                }
                break;
            case WalkNode::State::Read:
                unlink(*node);
                --readAhead_;
                node->withWalker = true;
                workAvailable_.notify_all();
                return node;
        }
    }
}

void FolderQueue::readAgain(WalkNode& node) {
    std::unique_lock lock(mutex_);
    readNode(lock, node, reader_, subfolders_);
}

void FolderQueue::enter(WalkNode& node) {
    std::lock_guard lock(mutex_);
    node.withWalker = false;
    node.onPath = true;
    path_.push_back(&node);
    pathIds_.insert(node.id);
    if (node.folder) {
        ++openOnPath_;
        closeHighFolders();
    }
}

void FolderQueue::pass(WalkNode& node) {
    std::lock_guard lock(mutex_);
    node.withWalker = false;
    // Everything below it follows it in line.
    while (head_ != nullptr && head_->depth > node.depth) {
        WalkNode* dropped = head_;
        unlink(*dropped);
        if (dropped->state == WalkNode::State::Read) {
            --readAhead_;
        } else if (dropped->state == WalkNode::State::Reading) {
            dropped->cancelled = true;
        }
        maybeFree(dropped);
    }
    maybeFree(&node);
    workAvailable_.notify_all();
}

void FolderQueue::stopReadingAhead() {
    std::lock_guard lock(mutex_);
    stopping_ = true;
}

void FolderQueue::forgetReadAhead() {
    std::lock_guard lock(mutex_);
    // From the end: a subfolder comes after its folder, which is still in line when the
    // subfolder is looked at. A folder still in line was named by the walk's own read of a
    // folder it took only when its parent is no longer in line.
    for (WalkNode* node = tail_; node != nullptr;) {
        WalkNode* before = node->prev;
        const bool namedAhead = node->parent != nullptr && node->parent->inQueue;
        if (namedAhead) {
            unlink(*node);
            if (node->state == WalkNode::State::Read) {
                --readAhead_;
            } else if (node->state == WalkNode::State::Reading) {
                node->cancelled = true;
            }
            maybeFree(node);
        } else if (node->state == WalkNode::State::Read) {
            --readAhead_;
            reset(*node);
        } else if (node->state == WalkNode::State::Reading) {
            node->stale = true;
        }
        node = before;
    }
    workAvailable_.notify_all();
}

void FolderQueue::leavePathTo(std::size_t depth, bool reopenAbove) {
    while (path_.size() > depth) {
        WalkNode* left = path_.back();
        // Each folder left opens the one above it again where that was closed, so the top
        // of the path is always open; the folder being left is the cheap way back.
        if (reopenAbove && path_.size() >= 2 && !path_[path_.size() - 2]->folder &&
            !path_[path_.size() - 2]->error) {
            reopen(path_.size() - 2, *left);
        }
        path_.pop_back();
        pathIds_.erase(left->id);
        left->onPath = false;
        if (left->folder) {
            --openOnPath_;
        }
        maybeFree(left);
    }
    if (highestOpen_ > path_.size()) {
        highestOpen_ = path_.size();
    }
}

void FolderQueue::reopen(std::size_t index, const WalkNode& below) {
    WalkNode& node = *path_[index];
    if (below.folder) {
        Result<OpenFolderPtr> up = fs_.openParent(*below.folder);
        if (up && up.value() && up.value()->id == node.id) {
            node.folder = std::move(up).value();
            ++openOnPath_;
            highestOpen_ = std::min(highestOpen_, index);
            return;
        }
    }
    // Down again from the nearest folder still open, each step checked; only the folder
    // wanted is kept open.
    std::size_t from = index;
    while (from > 0 && !path_[from - 1]->folder) {
        --from;
    }
    OpenFolderPtr at;
    for (std::size_t i = from; i <= index; ++i) {
        const OpenFolder* above = i == 0 ? nullptr : at ? at.get() : path_[i - 1]->folder.get();
        Result<OpenFolderPtr> opened = above == nullptr ? fs_.openFolder(path_[0]->name)
                                                        : fs_.openSubfolder(*above, path_[i]->name);
        if (!opened || !opened.value() || opened.value()->id != path_[i]->id) {
            // Moved or replaced meanwhile: what is below it now is another tree.
            node.error = opened ? errorOf(ENOENT) : opened.error();
            return;
        }
        at = std::move(opened).value();
    }
    node.folder = std::move(at);
    ++openOnPath_;
    highestOpen_ = std::min(highestOpen_, index);
}

void FolderQueue::closeHighFolders() {
    while (openOnPath_ > kMaxOpenOnPath) {
        while (highestOpen_ + 1 < path_.size() && !path_[highestOpen_]->folder) {
            ++highestOpen_;
        }
        WalkNode* node = path_[highestOpen_];
        // Never the deepest; one a reader is opening a subfolder through waits its turn.
        if (highestOpen_ + 1 >= path_.size() || node->pins > 0) {
            return;
        }
        node->folder.reset();
        --openOnPath_;
    }
}

void FolderQueue::maybeFree(WalkNode* node) {
    if (!node->inQueue && !node->withWalker && !node->onPath && node->pins == 0 &&
        node->state != WalkNode::State::Reading) {
        delete node;
    }
}

}  // namespace scourix
