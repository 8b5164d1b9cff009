#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "scan/FolderReader.h"
#include "scan/WalkNode.h"

namespace scourix {

// The folders of one walk in walk order (depth first, subfolders in name order), read
// ahead by a few threads while the window's thread takes them one at a time, strictly in
// that order. Only the taking thread shows anything or decides anything: the readers
// only open folders, read them and put their subfolders in line.
//
// Each folder is opened relative to its parent's open folder. The folders on the path
// stay open while their subfolders are walked; past a bound the highest ones are closed
// and opened again through ".." of the folder below when the walk comes back up, checked
// to be the same folder. So a walk of any depth holds a bounded number of descriptors and
// costs the same per folder at every depth.
class FolderQueue {
public:
    // threads: how many threads read folders, the taking one included.
    FolderQueue(const FileSystem& fs, const ReadRules& rules, unsigned threads,
                std::string location);
    ~FolderQueue();
    FolderQueue(const FolderQueue&) = delete;
    FolderQueue& operator=(const FolderQueue&) = delete;

    // The next folder in walk order, read, or null when the walk is done. The finished
    // folders on the path are left first, so that the path holds the folder's parents.
    // Every folder taken is given back through enter() or pass().
    WalkNode* next();
    // Reads a taken folder again, on this thread.
    void readAgain(WalkNode& node);
    // The folder is walked: its subfolders come next.
    void enter(WalkNode& node);
    // The folder is not walked: its subfolders are dropped.
    void pass(WalkNode& node);
    // Nothing more is read ahead; the folders still to come are read when taken.
    void stopReadingAhead();
    // Forgets what was read ahead, after a box: the user may have changed the disk while it
    // was open, so each folder still to come is read again when the walk reaches it, and the
    // subfolders that only its earlier read named are dropped.
    void forgetReadAhead();
    // Whether a folder with this id is on the path (the taking thread only).
    bool onPath(FileId id) const { return pathIds_.contains(id); }

private:
    void work();
    WalkNode* findWork();
    // False when the read was thrown away meanwhile (the folder dropped, or read before a
    // box was answered).
    bool readNode(std::unique_lock<std::mutex>& lock, WalkNode& node, FolderReader& reader,
                  std::vector<std::string>& subfolders);
    void insertSubfolders(WalkNode& node, std::vector<std::string>& names);
    // Back to unread, as when the folder was first put in line.
    void reset(WalkNode& node);
    void unlink(WalkNode& node);
    void leavePathTo(std::size_t depth, bool reopenAbove = true);
    void reopen(std::size_t index, const WalkNode& below);
    void closeHighFolders();
    void maybeFree(WalkNode* node);

    const FileSystem& fs_;
    const ReadRules& rules_;
    FolderReader reader_;
    std::vector<std::string> subfolders_;

    std::mutex mutex_;
    std::condition_variable workAvailable_;
    std::condition_variable readDone_;
    WalkNode* head_ = nullptr;
    WalkNode* tail_ = nullptr;
    std::size_t readAhead_ = 0;  // read by a reader and not taken yet
    std::size_t reading_ = 0;    // reads under way
    // Folders whose reads were forgotten while a reader was opening a subfolder in them,
    // closed once no read is under way.
    std::vector<OpenFolderPtr> retired_;
    bool stopping_ = false;
    bool finished_ = false;

    std::vector<WalkNode*> path_;  // index = depth
    FileIdSet pathIds_;
    std::size_t openOnPath_ = 0;
    std::size_t highestOpen_ = 0;  // no folder above this index is open

    std::vector<std::thread> readers_;
};

}  // namespace scourix
