// Text files: GBK on disk and UTF-8 in memory, line splitting, and writes that never
// leave a half-written file or destroy the old one, even when the disk fills up.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <csignal>
#include <random>

#include "TempFolder.h"
#include "platform/posix/GbkCodec.h"
#include "platform/posix/PosixFileSystem.h"

namespace scourix {
namespace {

using test::contentOf;
using test::exists;
using test::modeOf;
using test::TempFolder;

const std::string kChinese = "查找结果信息\r\n位置：c:\\，类型 *.tmp。\r\n";
const std::string kChineseGbk =
    "\xb2\xe9\xd5\xd2\xbd\xe1\xb9\xfb\xd0\xc5\xcf\xa2\r\n\xce\xbb\xd6\xc3\xa3\xba"
    "c:\\\xa3\xac\xc0\xe0\xd0\xcd *.tmp\xa1\xa3\r\n";
const std::string kFffd = "\xef\xbf\xbd";

bool isValidUtf8(std::string_view text) {
    while (!text.empty()) {
        const std::size_t n = GbkCodec::utf8SequenceLength(text);
        if (n == 0) {
            return false;
        }
        text.remove_prefix(n);
    }
    return true;
}

// Simulates a full disk: writes beyond `bytes` fail with EFBIG instead of a signal.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = SIG_DFL;
};

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    DIR* d = ::opendir(folder.c_str());
    while (dirent* e = ::readdir(d)) {
        if (std::string_view(e->d_name) != "." && std::string_view(e->d_name) != "..") {
            names.emplace_back(e->d_name);
        }
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(GbkCodec, RoundTripsChineseTextAndLineEnds) {
    EXPECT_EQ(GbkCodec::encode(kChinese), kChineseGbk);
    EXPECT_EQ(GbkCodec::decode(kChineseGbk), kChinese);
    EXPECT_EQ(GbkCodec::encode(""), "");
    EXPECT_EQ(GbkCodec::decode(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(GbkCodec, EncodingMarksMissingCharactersAndKeepsForeignBytes) {
    EXPECT_EQ(GbkCodec::encode("a\xf0\x9f\x98\x80z"), "a?z");         // an emoji
    EXPECT_EQ(GbkCodec::encode("\xd7\x90\xd7\x91"), "??");            // Hebrew letters
    EXPECT_EQ(GbkCodec::encode("x\xff\xfey"), "x\xff\xfey");          // not UTF-8
    EXPECT_EQ(GbkCodec::encode("\xe4\xb8\xad\xff"), "\xd6\xd0\xff");  // 中 then a stray byte
    EXPECT_EQ(GbkCodec::encode("end\xe4\xb8"), "end\xe4\xb8");        // cut-off sequence
    EXPECT_EQ(GbkCodec::encode("\xed\xa0\x80"), "\xed\xa0\x80");      // an encoded surrogate
    EXPECT_EQ(GbkCodec::encode("\xc0\xaf"), "\xc0\xaf");              // overlong "/"
}

TEST(GbkCodec, DecodingReplacesEachBadByte) {
    EXPECT_EQ(GbkCodec::decode("\xff"), kFffd);
    EXPECT_EQ(GbkCodec::decode("a\xd6"), "a" + kFffd);          // lead byte at the end
    EXPECT_EQ(GbkCodec::decode("\x81\r\nx"), kFffd + "\r\nx");  // lead byte before CR
    EXPECT_EQ(GbkCodec::decode("\xff\xff\xd6\xd0"), kFffd + kFffd + "中");
}

TEST(GbkCodec, TakesAnyBytesInBothDirections) {
    std::mt19937 random(42);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string noise(50000, '\0');
    for (char& c : noise) {
        c = static_cast<char>(byte(random));
    }
    const std::string decoded = GbkCodec::decode(noise);
    EXPECT_TRUE(isValidUtf8(decoded));
    const std::string encoded = GbkCodec::encode(noise);
    EXPECT_LE(encoded.size(), noise.size());
    // Everything decoding produced encodes back, except the replacement characters.
    std::string expected = decoded;
    for (std::size_t at; (at = expected.find(kFffd)) != std::string::npos;) {
        expected.replace(at, kFffd.size(), "?");
    }
    EXPECT_TRUE(GbkCodec::decode(GbkCodec::encode(decoded)) == expected);
}

TEST(PosixTextFiles, WritesGbkWithTheLineEndsGiven) {
    TempFolder dir;
    PosixFileSystem fs;
    const std::string path = dir / "report.txt";
    ASSERT_TRUE(fs.writeText(path, kChinese));
    EXPECT_EQ(contentOf(path), kChineseGbk);
    ASSERT_TRUE(fs.readText(path));
    EXPECT_EQ(fs.readText(path).value(), kChinese);
    // Truncates a longer old file.
    ASSERT_TRUE(fs.writeText(path, "a\r\n"));
    EXPECT_EQ(contentOf(path), "a\r\n");
}

TEST(PosixTextFiles, ReadLinesSplitsAtEveryKindOfLineEnd) {
    TempFolder dir;
    PosixFileSystem fs;
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a"}},
        {"", {}},
        {"\r\n", {""}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"\xd6\xd0\xce\xc4 1\r\n\xff\r\n", {"中文 1", kFffd}},
    };
    for (const auto& [bytes, lines] : cases) {
        SCOPED_TRACE(bytes);
        const std::string path = dir.file("lines.ini", bytes);
        auto read = fs.readLines(path);
        ASSERT_TRUE(read);
        EXPECT_EQ(read.value(), lines);
    }
    EXPECT_EQ(fs.readLines(dir / "missing.ini").error().code, ENOENT);
}

TEST(PosixTextFiles, AFailedWriteLeavesNoFileBehind) {
    TempFolder dir;
    PosixFileSystem fs;
    const std::string path = dir / "list.txt";
    {
        FileSizeLimit full(1000);
        Status status = fs.writeText(path, std::string(5000, 'x'));
        ASSERT_FALSE(status);
        EXPECT_EQ(status.error().code, EFBIG);
    }
    EXPECT_FALSE(exists(path));
    EXPECT_EQ(fs.writeText(dir / "missing/list.txt", "x").error().code, ENOENT);
}

// The scan report has a fixed name in the shared temporary folder: a link or another
// user's file planted there must not be written through.
TEST(PosixTextFiles, NeverWritesThroughALinkOrIntoAnotherUsersFile) {
    TempFolder dir;
    PosixFileSystem fs;
    const std::string victim = dir.file("victim", "keep me");
    const std::string planted = dir.link("report", victim);
    EXPECT_EQ(fs.writeText(planted, "x").error().code, ELOOP);
    EXPECT_EQ(contentOf(victim), "keep me");
    EXPECT_TRUE(exists(planted));
    if (::geteuid() == 0) {
        const std::string foreign = dir.file("foreign", "theirs");
        ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
        EXPECT_EQ(fs.writeText(foreign, "x").error().code, EPERM);
        EXPECT_EQ(contentOf(foreign), "theirs");
    }
}

TEST(PosixTextFiles, WritingToAFifoOrDeviceNeitherHangsNorRemovesIt) {
    TempFolder dir;
    PosixFileSystem fs;
    const std::string pipe = dir.fifo("pipe.txt");
    EXPECT_EQ(fs.writeText(pipe, "x").error().code, ENXIO);  // no reader
    EXPECT_TRUE(exists(pipe));
    auto read = fs.readLines(pipe);  // no writer
    ASSERT_TRUE(read);
    EXPECT_TRUE(read.value().empty());
    // A private copy of /dev/full, where root may make one.
    const std::string full = dir / "full";
    if (::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0) {
        EXPECT_EQ(fs.writeText(full, "x").error().code, ENOSPC);
        EXPECT_TRUE(exists(full));
    }
}

TEST(PosixTextFiles, ReplaceKeepsTheOldFileWholeOnFailure) {
    TempFolder dir;
    PosixFileSystem fs;
    const std::string path = dir.file("TypeList.ini", "old list\r\n");
    {
        FileSizeLimit full(1000);
        Status status = fs.replaceText(path, std::string(5000, 'x'));
        ASSERT_FALSE(status);
        EXPECT_EQ(status.error().code, EFBIG);
    }
    EXPECT_EQ(contentOf(path), "old list\r\n");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"TypeList.ini"});
    EXPECT_EQ(fs.replaceText(dir / "missing/TypeList.ini", "x").error().code, ENOENT);
}

TEST(PosixTextFiles, ReplaceKeepsPermissionsAndCreatesNewFiles) {
    TempFolder dir;
    PosixFileSystem fs;
    const std::string path = dir.file("TypeList.ini", "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(fs.replaceText(path, kChinese));
    EXPECT_EQ(contentOf(path), kChineseGbk);
    EXPECT_EQ(modeOf(path) & 07777, 0640u);

    const mode_t mask = ::umask(022);
    const std::string fresh = dir / "new.ini";
    ASSERT_TRUE(fs.replaceText(fresh, "x"));
    ::umask(mask);
    EXPECT_EQ(modeOf(fresh) & 07777, 0644u);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"TypeList.ini", "new.ini"}));
}

}  // namespace
}  // namespace scourix
