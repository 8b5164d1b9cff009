#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <set>

#include "cli/CliRunner.h"
#include "posix/TempFolder.h"

namespace scourix::test {
namespace {

namespace fs = std::filesystem;

std::string slurpFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every entry below root: its kind ('f' file, 'd' folder, 'l' link) and, for files, bytes.
std::map<std::string, std::string> snapshot(const std::string& root) {
    std::map<std::string, std::string> tree;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        const std::string rel = e.path().string().substr(root.size());
        tree[rel] = e.is_symlink() ? "l" : e.is_directory() ? "d" : "f" + slurpFile(e.path());
    }
    return tree;
}

std::vector<std::string> split(const std::string& text, char at) {
    std::vector<std::string> parts;
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
        end = std::min(text.find(at, start), text.size());
        parts.push_back(text.substr(start, end - start));
    }
    return parts;
}

// Names that could pass for others or break a line, each with a byte count of its own.
const std::vector<std::string> kAwkward = {"new\nline.tmp", "bad\xE9.tmp",   "-dash.tmp",
                                           "back\\x41.tmp", "back\\\\.tmp",  "gpj\xE2\x80\xAE.tmp",
                                           "plain.tmp",     "tab\tand\r.tmp"};

TEST(CliTest, AwkwardNamesComeOutOnePerLineAndGoBackExactly) {
    TempFolder t;
    t.folder("d");
    std::set<std::string> expected;
    for (std::size_t i = 0; i < kAwkward.size(); ++i) {
        expected.insert(t.file("d/" + kAwkward[i], std::string(i, 'x')));
    }
    t.file("d/keep.txt", "k");
    t.file("d/.hidden.tmp");

    // -0 gives the exact bytes; the default lines decode to the same names (one each, no
    // line split by a name); JSON carries the default line's text as its path.
    const Ran nul = runCli({"scan", "-p", "*.TMP", "-0", t.path()});
    ASSERT_EQ(nul.status, 0) << nul.err;
    std::vector<std::string> listed = split(nul.out, '\0');
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), expected);
    EXPECT_NE(nul.err.find("Found 8 files, 28 bytes in all."), std::string::npos) << nul.err;

    const Ran lines = runCli({"scan", "-p", "*.tmp", "-q", t.path()});
    const std::vector<std::string> shown = split(lines.out, '\n');
    ASSERT_EQ(shown.size(), expected.size()) << lines.out;
    EXPECT_TRUE(lines.err.empty());
    EXPECT_NE(lines.out.find("back\\\\x41.tmp\n"), std::string::npos);
    EXPECT_NE(lines.out.find("gpj\\u202E.tmp\n"), std::string::npos);
    EXPECT_NE(lines.out.find("bad\\xE9.tmp\n"), std::string::npos);
    const Ran json = runCli({"scan", "-p", "*.tmp", "--json", "-q", t.path()});
    std::size_t k = 0;
    for (const std::string& line : split(json.out, '\n')) {
        const auto object = nlohmann::json::parse(line);
        EXPECT_EQ(object["path"], shown[k++]);
        EXPECT_TRUE(object["size"].is_number() && object["mtime"].is_number());
    }

    // The default lines fed back name the same files: a stash of exactly those, then a
    // restore of the stash's own list, gives back the exact tree.
    const auto before = snapshot(t.path());
    const Ran stash = runCli({"stash", "--from", "-", "-p", "*.tmp", t.path()}, lines.out);
    ASSERT_EQ(stash.status, 0) << stash.err;
    EXPECT_EQ(split(stash.out, '\n').size(), expected.size());
    for (const std::string& path : expected) {
        EXPECT_TRUE(fs::exists(path + ".del")) << path;
    }
    t.file("d/plain.tmp", "taken meanwhile");  // restore never replaces it
    const Ran restore = runCli({"restore", "--from", "-"}, stash.out);
    EXPECT_EQ(restore.status, 1) << restore.err;
    EXPECT_NE(restore.err.find("plain.tmp.del [File exists]"), std::string::npos) << restore.err;
    fs::remove(t / "d/plain.tmp");
    const Ran back = runCli({"restore", "-q", t.path()});
    EXPECT_TRUE(back.status == 0 && back.err.empty()) << back.err;
    EXPECT_EQ(snapshot(t.path()), before);
}

// A scan's list, edited at random and with the disk changed under it, then deleted from:
// exactly the listed files that still pass every check go, and nothing else.
TEST(CliTest, DeleteFromTheListTakesOnlyWhatStillPasses) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 rng(seed);
        TempFolder t, outside;
        t.folder("place");
        outside.file("x.tmp", "outside");
        std::vector<std::string> folders{"place"};
        for (int i = 0; i < 12; ++i) {
            const std::string parent = folders[rng() % folders.size()];
            folders.push_back(
                t.folder(parent.substr(parent.rfind("place")) + "/f" + std::to_string(i))
                    .substr(t.path().size() + 1));
        }
        for (int i = 0; i < 40; ++i) {
            const std::string at = folders[rng() % folders.size()] + "/n" + std::to_string(i);
            t.file(at + (rng() % 3 == 0 ? ".txt" : ".tmp"), std::to_string(i));
        }
        const std::string place = t / "place";
        const Ran scanned = runCli({"scan", "-0", "-q", "-p", "*.tmp", place});
        std::vector<std::string> list = split(scanned.out, '\0');
        std::set<std::string> doomed(list.begin(), list.end());
        std::vector<std::string> edited;
        for (const std::string& path : list) {
            switch (rng() % 8) {
                case 0:  // the line is removed
                    doomed.erase(path);
                    break;
                case 1:  // the file becomes a folder
                    fs::remove(path), fs::create_directory(path);
                    doomed.erase(path), edited.push_back(path);
                    break;
                case 2: {  // its folder becomes another user's link to a copy elsewhere
                    const std::string folder = fs::path(path).parent_path();
                    if (folder == place || fs::weakly_canonical(folder) != folder) {
                        edited.push_back(path);
                        break;
                    }
                    const std::string copy = outside / std::to_string(rng());
                    fs::copy(folder, copy, fs::copy_options::recursive);
                    fs::rename(folder, folder + ".moved");
                    ::symlink(copy.c_str(), folder.c_str());
                    ::lchown(folder.c_str(), kOtherUser, kOtherUser);
                    for (auto it = doomed.begin(); it != doomed.end();) {
                        it = it->starts_with(folder + "/") ? doomed.erase(it) : std::next(it);
                    }
                    edited.push_back(path);
                    break;
                }
                default:
                    edited.push_back(path);
            }
        }
        // Lines naming what no scan of the place would list.
        edited.push_back(t / "place/n0.txt");
        edited.push_back(outside / "x.tmp");
        edited.push_back(place + "/f0/../n1.tmp");
        std::shuffle(edited.begin(), edited.end(), rng);
        std::string input;
        for (const std::string& path : edited) {
            input += path + '\0';
        }
        auto expected = snapshot(t.path());
        for (const std::string& path : doomed) {
            if (fs::is_symlink(fs::path(path).parent_path())) {
                continue;
            }
            expected.erase(path.substr(t.path().size()));
        }
        const auto outsideBefore = snapshot(outside.path());
        const Ran ran = runCli({"delete", "-y", "-0", "--from", "-", "-p", "*.tmp", place}, input);
        EXPECT_EQ(ran.status, 1) << ran.err;  // the ".." line is always refused
        EXPECT_EQ(snapshot(t.path()), expected) << "seed " << seed << "\n" << ran.err;
        EXPECT_EQ(snapshot(outside.path()), outsideBefore) << "seed " << seed;
    }
}

TEST(CliTest, FiltersExcludesAndEveryExitStatus) {
    TempFolder t;
    t.folder("p"), t.folder("p/skip"), t.folder("p/deep"), t.folder("p/sub"), t.file("p/sub/x.tmp");
    t.file("p/old.tmp", "1"), t.file("p/new.tmp", std::string(2048, 'n'));
    t.file("p/skip/s.tmp"), t.file("p/deep/kept.tmp"), t.file("p/ro.tmp", "r", 0444);
    const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    for (const char* name : {"p/old.tmp", "p/deep/kept.tmp"}) {  // the keep-list must keep one
        ::utimensat(AT_FDCWD, (t / name).c_str(), old, 0);
    }
    t.file("keep.list", "# kept folders\n\n*/DEEP\n");
    const std::string p = t / "p";
    const auto list = [&](std::vector<std::string> extra) {
        std::vector<std::string> args{"scan", "-q", "-p", "*.tmp", "-E", "*/skip"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(p);
        const Ran ran = runCli(args);
        EXPECT_EQ(ran.status, 0) << ran.err;
        return ran.out;
    };
    EXPECT_EQ(list({"--older-than", "1d", "--exclude-from", t / "keep.list"}), p + "/old.tmp\n");
    EXPECT_EQ(list({"--larger-than", "1K"}), p + "/new.tmp\n");
    EXPECT_EQ(list({"--larger-than", "2K"}), "");
    // What is named on a list passes the same excludes.
    runCli({"delete", "-y", "--from", "-", "-p", "*.tmp", "-E", "*/skip", p}, t / "p/skip/s.tmp");
    EXPECT_TRUE(fs::exists(t / "p/skip/s.tmp"));

    // 2: usage, a bad value, a refusal without a terminal; 1: a place that cannot be read,
    // a read-only file left without --force; 0 with it.
    EXPECT_EQ(runCli({"scan"}).status, 2);
    EXPECT_EQ(runCli({"scan", "--older-than", "7y", p}).status, 2);
    EXPECT_EQ(runCli({"scan", "--larger-than", "1KK", p}).status, 2);
    EXPECT_EQ(runCli({"bogus"}).status, 2);
    const Ran refused = runCli({"delete", "-p", "*.tmp", p});
    EXPECT_EQ(refused.status, 2);
    EXPECT_TRUE(fs::exists(t / "p/old.tmp"));
    const Ran missing = runCli({"scan", "-p", "*.tmp", t / "nowhere", p});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("1. " + t / "nowhere" + " [No such file or directory]"),
              std::string::npos)
        << missing.err;
    EXPECT_NE(missing.out.find(p + "/old.tmp"), std::string::npos);  // the walk went on
    EXPECT_EQ(runCli({"delete", "-y", "-p", "ro.tmp", p}).status, 1);
    EXPECT_TRUE(fs::exists(t / "p/ro.tmp"));
    EXPECT_EQ(runCli({"delete", "-y", "--force", "-p", "ro.tmp", p}).status, 0);
    EXPECT_FALSE(fs::exists(t / "p/ro.tmp"));

    // 141: the reader is gone before the first path is written.
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeEnds[0]);
        ::dup2(pipeEnds[1], 1);
        execCli({"scan", "-q", "-p", "*.tmp", p}, {});
    }
    ::close(pipeEnds[0]), ::close(pipeEnds[1]);
    int raw = 0;
    ::waitpid(pid, &raw, 0);
    EXPECT_EQ(statusOf(raw), 141);

    // On a terminal: no keeps everything (1), yes deletes (0), Ctrl+C at the question 130,
    // SIGTERM 143; in Chinese where the locale asks for it, generated or not. What is acted on
    // is checked again: a folder made a link out of the place while asking keeps its files.
    const std::vector<std::string> args{"delete", "-p", "*.tmp", "-E", "*/skip", "-E", "*/deep", p};
    Ran no = runOnTerminal(args, "n\n", 0, {"LANG=C.UTF-8"});
    EXPECT_EQ(no.status, 1);
    // The walk's progress, cut to the terminal's 30 columns and wiped before the question.
    EXPECT_NE(no.out.find("1 folders, 0 files: " + p.substr(0, 9) + "\r"), std::string::npos);
    EXPECT_NE(no.out.find("\r\x1b[KDelete 3 files (2,049 bytes in all)? [y/N]"), std::string::npos)
        << no.out;
    EXPECT_EQ(runOnTerminal(args, "", SIGINT, {"LANG=C.UTF-8"}).status, 130);
    const Ran term = runOnTerminal(args, "", SIGTERM, {"LANG=zh_CN.UTF-8"});
    EXPECT_EQ(term.status, 143);
    EXPECT_NE(term.out.find("删除 3 个文件（共 2,049 字节）？"), std::string::npos) << term.out;
    EXPECT_TRUE(fs::exists(t / "p/new.tmp"));
    const Ran yes = runOnTerminal(args, "y\n", 0, {"LANG=C.UTF-8"}, [&] {
        fs::rename(t / "p/sub", t / "out"), fs::create_directory_symlink(t / "out", t / "p/sub");
    });
    EXPECT_EQ(yes.status, 0) << yes.out;
    EXPECT_FALSE(fs::exists(t / "p/new.tmp") || fs::exists(t / "p/old.tmp"));
    EXPECT_TRUE(fs::exists(t / "p/deep/kept.tmp") && fs::exists(t / "p/skip/s.tmp") &&
                fs::exists(t / "out/x.tmp"));
}

// The pattern list, a dry run with hidden files, the manual page, and an action's JSON: each
// file done, or left with its reason; a line that no name is written as is a failure;
// --any-name takes what matches no pattern.
TEST(CliTest, TypesDryRunManualAndAnActionInJson) {
    TempFolder t;
    const std::string a = t.file("a.tmp", "ab"), txt = t.file("b.txt"), hidden = t.file(".h.tmp");
    EXPECT_NE(runCli({"types"}).out.find("] *.tmp\n"), std::string::npos);
    const Ran dry = runCli({"delete", "-n", "--hidden", "-p", "*.tmp", t.path()});
    EXPECT_NE(dry.err.find("Would delete 2 files, 2 bytes in all."), std::string::npos) << dry.err;
    EXPECT_TRUE(fs::exists(a) && fs::exists(hidden) && dry.out.find(hidden) != std::string::npos);
    EXPECT_NE(runCli({"--generate", "man"}).out.find("\\fIAGE\\fR"), std::string::npos);
    EXPECT_NE(runCli({"--generate", "man-zh"}).out.find("，\\:"), std::string::npos);

    const Ran json = runCli({"delete", "-y", "--json", "--from", "-", "-p", "*.tmp", t.path()},
                            a + "\n" + txt + "\nbad\\q\n");
    EXPECT_EQ(json.status, 1);
    EXPECT_NE(json.err.find("[not a line of the list format]"), std::string::npos) << json.err;
    EXPECT_NE(json.err.find("left: " + txt + " (matches no pattern)"), std::string::npos);
    EXPECT_NE(json.err.find("Deleted 1 file, 2 bytes in all.\n1 file or"), std::string::npos);
    const std::vector<std::string> lines = split(json.out, '\n');
    ASSERT_EQ(lines.size(), 2u) << json.out;
    EXPECT_EQ(nlohmann::json::parse(lines[0])["error"], "matches no pattern");
    const auto done = nlohmann::json::parse(lines[1]);
    EXPECT_TRUE(done["path"] == a && done["done"] == true && !done.contains("to")) << lines[1];
    runCli({"delete", "-y", "--any-name", "-p", "*.tmp", "--from", "-", t.path()}, txt + "\n");
    EXPECT_FALSE(fs::exists(a) || fs::exists(txt));
}

// --linux adds the set to -p; a file that another process (this test) holds open is left
// with the system's text, the others go; a note named core is no core dump.
TEST(CliTest, LinuxSetAddsToThePatternsAndAFileInUseIsLeft) {
    TempFolder t;
    const std::string busy = t.file("busy.part", "x"), done = t.file("done.part", "x");
    const std::string note = t.file("core", "a note\n"), tmp = t.file("a.tmp", "x");
    const int held = ::open(busy.c_str(), O_RDONLY);
    const Ran ran = runCli({"delete", "-y", "-p", "*.tmp", "--linux", t.path()});
    ::close(held);
    EXPECT_EQ(ran.status, 1);
    EXPECT_NE(ran.err.find(busy + " [Device or resource busy]"), std::string::npos) << ran.err;
    runCli({"delete", "-y", "--from", "-", "--linux", "-p", "*.x", t.path()}, note + "\n");
    EXPECT_TRUE(fs::exists(busy) && fs::exists(note));
    EXPECT_FALSE(fs::exists(done) || fs::exists(tmp));
}

}  // namespace
}  // namespace scourix::test
