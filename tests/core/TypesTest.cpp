// The type list: its file, its editing, the order of its texts and the matching of names.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <tuple>

#include "FormFixture.h"
#include "base/Utf8.h"
#include "scan/PatternSet.h"
#include "types/BuiltInTypes.h"
#include "types/SortOrder.h"
#include "types/TypeListStore.h"

namespace scourix {
namespace {

class TypeListStoreTest : public FormFixture {
protected:
    TypeListStore store{state};

    void load(const std::string& text) {
        fake.fs.addFile(typeListPath(), text);
        store.initialise();
    }
    std::string saved() {
        EXPECT_TRUE(store.SaveTypeList().ok());
        return fake.fs.content(typeListPath());
    }
};

// A file of more patterns than any list kept by hand is neither read nor replaced.
TEST_F(TypeListStoreTest, AFileOfTooManyPatternsIsNeitherReadNorReplaced) {
    std::string text;
    for (std::size_t i = 0; i <= kMaxTypeLines; ++i) {
        text += "1*.t\r\n";
    }
    load(text);
    EXPECT_EQ(fake.lstPat.checkedTexts().size(), 43u);
    EXPECT_EQ(store.SaveTypeList().error().description,
              "TypeList.ini太大（最多100000个类型），没有读取，也不会被改写。");
    EXPECT_EQ(fake.fs.content(typeListPath()), text);
    load(text.substr(6));
    EXPECT_EQ(fake.lstPat.count(), kMaxTypeLines);
}

// Without an ordinary file (a FIFO, a failed lookup) the built-in list is ticked.
TEST_F(TypeListStoreTest, TheFlagIsExactlyOneCharacterAndEntriesGoToSortedPlaces) {
    fake.fs.addSpecial(typeListPath());
    store.initialise();
    EXPECT_EQ(fake.lstPat.checkedTexts().size(), 43u);
    ::unlink(fake.fs.real(typeListPath()).c_str());
    fake.fs.failOn(FsOp::Lookup, typeListPath(), FaultyFileSystem::permissionDenied());
    store.initialise();
    EXPECT_EQ(fake.lstPat.checkedTexts().size(), 43u);
    EXPECT_EQ(fake.fs.callCount(FsOp::ReadLines), 0);
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    fake.fs.clearFailures();

    load(
        "9*.old\r\n"      // any digit 1-9 ticks
        "x*.olx\r\n"      // a letter does not
        "*.tmp\r\n"       // no flag: "*" is taken as one
        "1\r\n"           // the flag alone: an empty pattern
        "\r\n"            // an empty line is passed over
        "11stpass.*\r\n"  // a pattern that begins with a digit
        "0*.log  \r\n"    // trailing blanks belong to the pattern
        "1临时*.tmp\r\n"  // Chinese text
        "中*.zh\r\n"      // a Chinese flag is one character, unticked
        "0dup\r\n"        // equal texts keep their own ticks in file order
        "1dup\r\n");
    EXPECT_EQ(fake.lstPat.texts(), (Texts{"", "*.log  ", "*.old", "*.olx", "*.zh", ".tmp",
                                          "1stpass.*", "dup", "dup", "临时*.tmp"}));
    EXPECT_EQ(fake.lstPat.checks(),
              (Ticks{true, false, true, false, false, false, true, false, true, true}));
    EXPECT_EQ(saved(),
              "1\r\n0*.log  \r\n1*.old\r\n0*.olx\r\n0*.zh\r\n0.tmp\r\n11stpass.*\r\n0dup\r\n"
              "1dup\r\n1临时*.tmp\r\n");
    // A file of empty lines is an empty list, not a missing one.
    load("\r\n\r\n");
    EXPECT_EQ(fake.lstPat.count(), 0u);
    EXPECT_EQ(saved(), "");
}

TEST_F(TypeListStoreTest, EditingAddsAsTypedUntickedRemovesTheCurrentEntryAndTicksInOneUpdate) {
    fill(fake.lstPat, {"*.bak", "*.tmp", "~*.*"}, {false, true});
    // A copy goes beside its twin, a blank before the punctuation; "" and Cancel add nothing.
    fake.dialogs.inputs = {"*.tmp", " ", ""};
    for (int i = 0; i < 4; ++i) {
        form.mAddType_Click();
    }
    EXPECT_EQ(fake.lstPat.texts(), (Texts{" ", "*.bak", "*.tmp", "*.tmp", "~*.*"}));
    EXPECT_EQ(fake.lstPat.checks(), (Ticks{false, false, true, false, false}));
    EXPECT_EQ(inputTexts(fake.dialogs), Texts(4, "请输入类型||"));

    form.mDelType_Click();  // no current entry: nothing
    fake.lstPat.current = 0;
    form.lstPat_Click();  // the clicked entry stays the tool tip
    EXPECT_EQ(fake.controls.toolTip("lstPat"), " ");
    form.lstPat_MouseUp(kLeftButton, 0);
    form.lstPat_MouseUp(kMiddleButton, 0);
    form.lstPat_MouseUp(kRightButton, 0);
    EXPECT_EQ(fake.window.popupMenus, Texts{"PopType"});
    form.mDelType_Click();
    const int repaints = fake.lstPat.repaints;
    form.mTChSel_Click();
    EXPECT_EQ(fake.lstPat.checks(), (Ticks{true, false, true, true}));
    form.mTUSelAll_Click();
    EXPECT_EQ(fake.lstPat.checkedTexts(), Texts{});
    form.mTSelAll_Click();
    EXPECT_EQ(fake.lstPat.checkedTexts().size(), 4u);
    EXPECT_EQ(fake.lstPat.repaints - repaints, 3);
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

TEST_F(TypeListStoreTest, DescriptionsAreReadAfreshWithoutEmptyLinesAndShownEvenAfterAFailure) {
    const std::string path = fake.fs.program + "/TypeRead.ini";
    fake.fs.addFile(path, "*.tmp\r\n");
    fake.fs.failOn(FsOp::ReadLines, path, FaultyFileSystem::permissionDenied(), 1);
    form.mReportType_Click();
    EXPECT_EQ(lastBox(), "读取文件类型的详细说明时发生错误。\r\n\r\n" + path +
                             "\r\nPermission denied|16|文件类型的详细说明");
    EXPECT_EQ(fake.window.lastInfo().text, "");

    fake.fs.addFile(path, "*.tmp\r\n\r\n  临时文件  \r\n   \r\n\r\n最后一行");
    form.mReportType_Click();
    const auto& r = fake.window.lastInfo();
    EXPECT_EQ(r.heading + "|" + r.text,
              "文件类型的详细说明|*.tmp\r\n  临时文件  \r\n   \r\n最后一行\r\n");
    EXPECT_TRUE(r.textColor == kBlue && r.background == kWhite);
    // A removed file gives an empty window; a double click opens no file.
    ASSERT_TRUE(fake.fs.removeFile(path));
    form.lstFound_DblClick();
    EXPECT_EQ(fake.window.lastInfo().text, "");
    EXPECT_EQ(fake.window.infoWindows.size(), 3u);
    EXPECT_EQ(fake.dialogs.boxes.size(), 1u);
    EXPECT_TRUE(fake.shell.openedDocuments.empty());
}

// The user's settings folder, and a program folder that may not be written.
class SettingsFs : public FaultyFileSystem {
public:
    bool programWritable = true;
    std::string config = "/home/user/.config/scourix";
    bool canWriteIn(const std::string& folder) const override {
        return programWritable || folder != program;
    }
    std::string userConfigFolder() const override { return config; }
    Status makeFolders(const std::string& folder) override {
        addFolder(folder);
        return {};
    }
};

// Where the list is read and written, and what restoring it leaves for the next start.
TEST(TypeListPlaceTest, TheProgramFolderKeepsTheListUnlessItIsProtectedOrInstalled) {
    const std::string cfg = "/home/user/.config/scourix", own = cfg + "/TypeList.ini";
    const std::string shared = "/opt/scourix/TypeList.ini";
    const std::string ask = "你真的要恢复所有类型到初始状态吗？此举将重新启动程序。|52|恢复列表";
    const std::string restart = "请重新启动程序。|64|Scourix 1.51";
    // Files present (the program folder's copy, the user's own, the installed marker),
    // program folder writable, settings folder; the list read and written; restoring ends.
    using Row = std::tuple<std::string, bool, std::string, std::string, std::string, bool>;
    for (const auto& [files, writable, config, inUse, toWrite, ends] : std::vector<Row>{
             {"s", true, "", shared, shared, true},
             {"", true, "", shared, shared, true},
             {"so", true, cfg, shared, shared, true},
             // Protected: read until the user has a copy; without settings, not restorable.
             {"s", false, "", shared, shared, false},
             {"s", false, cfg, shared, own, true},
             {"so", false, cfg, own, own, true},
             // Installed, even a folder root can write keeps no list there.
             {"i", true, cfg, own, own, true},
             {"i", true, "", "", "", true},
             {"is", false, "", "", "", true},  // a copy left from before is not in use
         }) {
        SCOPED_TRACE(files + std::to_string(writable) + config);
        const bool ownCopy = files.find('o') != std::string::npos;
        SettingsFs fs;
        fs.programWritable = writable;
        fs.config = config;
        for (const auto& [flag, path] :
             {std::pair{'s', shared}, {'o', own}, {'i', fs.program + "/installed"}}) {
            if (files.find(flag) != std::string::npos) {
                fs.addFile(path, "1*.old\r\n");
            }
        }
        fs.addFolder(fs.program, !writable);
        EXPECT_EQ(typeListInUse(fs), inUse);
        EXPECT_EQ(typeListToWrite(fs), toWrite);
        EXPECT_TRUE(toWrite != own || fs.exists(cfg));

        FakePlatform fake;
        MainForm form(Platform{fake.lstDrive, fake.lstPat, fake.lstFound, fake.controls,
                               fake.dialogs, fake.window, fs, fake.shell, fake.clock});
        // A list that cannot be read is not replaced, but the user's own copy may be written.
        fs.failOn(FsOp::ReadLines, shared, FaultyFileSystem::permissionDenied());
        TypeListStore store{form.state()};
        store.initialise();  // silently, the built-in list in place of one it cannot read
        EXPECT_EQ(fake.lstPat.checkedTexts().size(), inUse == own && ownCopy ? 1u : 43u);
        EXPECT_EQ(store.SaveTypeList().ok(),
                  files.find('s') == std::string::npos || toWrite != shared);
        fake.dialogs.answers = {mb::kIdNo, mb::kIdYes, mb::kIdOk};
        fs.calls.clear();
        form.mResetType_Click();
        EXPECT_EQ(fs.callCount(FsOp::Remove) + fs.callCount(FsOp::ReplaceText), 0);
        form.mResetType_Click();
        EXPECT_EQ(fake.window.endNowCalls, ends ? 1 : 0);
        EXPECT_EQ(takeBoxes(fake.dialogs),
                  (Texts{ask, ask, ends ? restart : "Permission denied|16|恢复列表"}));
        // The next start finds no list or the built-in one, all ticked; a protected folder
        // keeps its copy.
        const std::string next = fs.exists(typeListInUse(fs)) ? fs.content(typeListInUse(fs)) : "";
        EXPECT_TRUE(!ends || next.empty() ||
                    (next.starts_with("1*.---\r\n1*.#Res\r\n") &&
                     next.ends_with("\r\n1Previous Backup of*.*\r\n")));
        EXPECT_EQ(fs.exists(shared), !writable);
    }
}

TEST(SortOrder, BuiltInListIsInItsOwnOrderFromAnyShuffle) {
    const std::vector<std::string> expected(builtInTypes().begin(), builtInTypes().end());
    EXPECT_EQ(std::ranges::adjacent_find(expected,
                                         [](auto& a, auto& b) { return !SortOrder::less(a, b); }),
              expected.end());
    std::vector<std::string> shuffled = expected;
    std::mt19937 rng(1551);
    for (int round = 0; round < 200; ++round) {
        std::shuffle(shuffled.begin(), shuffled.end(), rng);
        FakeCheckList list;  // one by one, as the user would add them
        for (const std::string& s : shuffled) {
            SortOrder::insertSorted(list, s);
        }
        ASSERT_EQ(list.texts(), expected) << "round " << round;
    }
}

// Case decides only between texts otherwise equal, small letters first; hyphens and
// apostrophes are passed over; punctuation, then digits, then letters, then the rest, with
// a byte that is not UTF-8 last; full-width forms sort with what they stand for.
TEST(SortOrder, CaseHyphensAndClassesOfCharacters) {
    const std::pair<const char*, const char*> ordered[] = {
        {"abc", "ABD"},  {"ABC", "abd"},           {"a", "A"},         {"ςa", "Σb"},
        {"Яa", "яb"},    {"coo", "co-op"},         {"co-op", "cop"},   {"its", "it'sa"},
        {"it's", "itt"}, {"*.---", "*.#Res"},      {"*.bk_", "*.bk1"}, {"*.ab9", "*.aba"},
        {"9", "a"},      {"~*.*", "Backup of*.*"}, {"z", "é"},         {"я", "中"},
        {"zzz", "临时"}, {"临时", "\xff"},         {"", "-a"},         {"ａ", "b"},
        {"１", "2"}};
    for (const auto& [a, b] : ordered) {
        EXPECT_TRUE(SortOrder::less(a, b) && !SortOrder::less(b, a)) << a << " < " << b;
    }
    for (const char* punct :
         {" ", "!", "#", "$", "&", "*", ".", "?", "@", "_", "~", "§", "×", "，"}) {
        EXPECT_TRUE(SortOrder::less(punct, "0") && !SortOrder::less("0", punct)) << punct;
    }
}

// Matching and the orders fold case as Unicode's simple folding does (status C and S of
// Debian's unicode-data), at every code point, but for the listed exception.
TEST(CaseFolding, EveryCodePointFoldsAsUnicodesTableSays) {
    std::ifstream file("/usr/share/unicode/CaseFolding.txt");
    ASSERT_TRUE(file) << "no CaseFolding.txt: scripts/deps.sh installs unicode-data";
    // The dotted capital I, which simple folding leaves alone, folds to i (a user typing
    // "i" expects to find it).
    std::map<char32_t, char32_t> folding{{0x130, U'i'}};
    for (std::string line; std::getline(file, line);) {
        unsigned from = 0;
        unsigned to = 0;
        char status = 0;
        if (std::sscanf(line.c_str(), "%x; %c; %x;", &from, &status, &to) == 3 &&
            (status == 'C' || status == 'S') && from != 0x130) {
            folding[from] = to;
        }
    }
    ASSERT_GT(folding.size(), 1400u);
    int wrong = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        const auto it = folding.find(c);
        const char32_t expected = it == folding.end() ? c : it->second;
        if (utf8::foldCase(c) != expected && ++wrong <= 5) {
            ADD_FAILURE() << std::hex << "U+" << static_cast<unsigned>(c);
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(PatternSet({"*Ɓ*"}).matches(0, "ɓ") &&
                PatternSet({"ΣΊΣΥΦΟΣ"}).matches(0, "σίσυφος"));
}

// Which characters the order takes as letters and which as capitals, against the Unicode
// Character Database: below U+0530 the letters (L*) but for the modifier letters, capitals
// the Lu and Lt that fold; the form a letter sorts by is its folding. The irregular
// capitals of Latin Extended-B and the later Greek ones count as letters without case.
TEST(SortOrder, LettersAndCapitals) {
    std::ifstream in("/usr/share/unicode/UnicodeData.txt");
    ASSERT_TRUE(in) << "no UnicodeData.txt: scripts/deps.sh installs unicode-data";
    const auto within = [](unsigned cp, unsigned first, unsigned last) {
        return cp >= first && cp <= last;
    };
    int checked = 0;
    for (std::string line; std::getline(in, line) && std::stoul(line, nullptr, 16) < 0x530;) {
        const unsigned cp = std::stoul(line, nullptr, 16);
        const std::string category = line.substr(line.find(';', line.find(';') + 1) + 1, 2);
        const bool caseless = within(cp, 0x181, 0x1BC) || within(cp, 0x1F6, 0x1F7) || cp == 0x220 ||
                              within(cp, 0x23A, 0x245) || cp == 0x37F || cp == 0x3CF ||
                              within(cp, 0x3F4, 0x3FF);
        char32_t lower = 0;
        bool upper = false;
        const bool letter = utf8::foldLetter(cp, lower, upper);
        ++checked;
        EXPECT_EQ(letter, (category[0] == 'L' && category != "Lm") || cp == 0x37A || cp == 0x3F6)
            << std::hex << cp;
        EXPECT_EQ(upper,
                  (category == "Lu" || category == "Lt") && !caseless && utf8::foldCase(cp) != cp)
            << std::hex << cp;
        EXPECT_EQ(lower, letter ? utf8::foldCase(cp) : lower) << std::hex << cp;
    }
    EXPECT_GT(checked, 1200);
}

TEST(PatternSetTest, WildcardsCaseAndLiterals) {
    // A pattern, names it matches, names it does not.
    using Names = std::vector<const char*>;
    const std::vector<std::tuple<const char*, Names, Names>> cases = {
        // What the random agreement test below cannot reach: case outside Latin-1, characters
        // of three bytes, a "*" in the name, "[" and blanks as literals, a lead byte alone.
        {"??", {"ab", "中文"}, {"中", "abc"}},
        {"x*", {"x*y", "x**"}, {"y*"}},
        {"*.ДОК", {"файл.док"}, {}},
        {"Ａ*", {"ａｂ"}, {}},
        {"[ab].tmp", {"[AB].TMP"}, {"a.tmp"}},
        {"Backup of*.*", {"backup of x.bak"}, {"Backupof x.bak"}},
        {"?.tmp", {"\xc3.tmp"}, {"\xc3\xc3.tmp"}},
    };
    for (const auto& [pattern, matching, other] : cases) {
        const PatternSet set({pattern});
        for (const bool match : {true, false}) {
            for (const char* name : match ? matching : other) {
                EXPECT_EQ(set.matches(0, name), match) << pattern << " / " << name;
            }
        }
    }
}

// The fast forms (literal, suffix, prefix) and the general matcher agree with a plain
// matcher over folded characters on random patterns and names.
TEST(PatternSetTest, EveryFormAgreesWithAPlainMatcher) {
    const auto plain = [](auto& self, std::u32string_view p, std::u32string_view s) -> bool {
        if (p.empty() || p[0] == U'*') {
            return p.empty()
                       ? s.empty()
                       : self(self, p.substr(1), s) || (!s.empty() && self(self, p, s.substr(1)));
        }
        return !s.empty() && (p[0] == U'?' || p[0] == s[0]) && self(self, p.substr(1), s.substr(1));
    };
    std::mt19937 random(7);
    const std::vector<std::string> pieces = {"a", "b", "B", ".", "é", "É", "~", "\xff", "*", "?"};
    const auto text = [&](std::size_t kinds) {  // folded too
        std::string out;
        for (int n = static_cast<int>(random() % 6); n > 0; --n) {
            out += pieces[random() % kinds];
        }
        std::u32string folded;
        for (std::size_t i = 0; i < out.size();) {
            folded += utf8::foldCase(utf8::next(out, i));
        }
        return std::pair(out, folded);
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> patterns;
        std::vector<std::u32string> folded;
        for (int i = 0; i < 8; ++i) {
            auto [pattern, p] = text(pieces.size());
            patterns.push_back(pattern);
            folded.push_back(p);
        }
        const PatternSet set(patterns);
        for (int k = 0; k < 30; ++k) {
            const auto [name, s] = text(pieces.size() - 2);
            std::vector<std::size_t> expected;
            for (std::size_t i = 0; i < patterns.size(); ++i) {
                const std::u32string_view p = folded[i];
                if (plain(plain, p, s) ||
                    (p.ends_with(U".*") && name.find('.') == std::string::npos &&
                     plain(plain, p.substr(0, p.size() - 2), s))) {
                    expected.push_back(i);
                }
            }
            std::vector<std::size_t> hits;
            set.matchAll(name, hits);
            ASSERT_EQ(hits, expected) << name;
        }
    }
}

}  // namespace
}  // namespace scourix
