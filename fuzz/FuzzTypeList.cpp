// TypeList.ini as the program reads it: any bytes load without a crash, and once saved the
// list reads back as the same entries with the same ticks. (The first save may differ from
// what was read: a byte that begins no GB18030 character is read as U+FFFD and saved as
// that character's own code.)
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/MainForm.h"
#include "fakes/FakePlatform.h"
#include "platform/posix/PosixFileSystem.h"

using namespace scourix;

namespace {

std::string programFolder() {
    static std::string folder = [] {
        std::string pattern = "/tmp/scourix-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return pattern;
    }();
    return folder;
}

struct Snapshot {
    std::vector<std::string> texts;
    std::vector<bool> ticks;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const CheckList& list) {
    Snapshot s;
    for (std::size_t i = 0; i < list.count(); ++i) {
        s.texts.push_back(list.text(i));
        s.ticks.push_back(list.checked(i));
    }
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = programFolder() + "/TypeList.ini";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    FakePlatform fake;
    PosixFileSystem fs(programFolder());
    Platform platform = fake.platform();
    Platform real{platform.lstDrive,
                  platform.lstPat,
                  platform.lstFound,
                  platform.controls,
                  platform.dialogs,
                  platform.window,
                  fs,
                  platform.shell,
                  platform.clock};
    MainForm form(real);
    form.LoadTypeList();
    if (!form.SaveTypeList()) {
        std::abort();
    }
    form.LoadTypeList();
    const Snapshot saved = snapshot(fake.lstPat);
    if (!form.SaveTypeList()) {
        std::abort();
    }
    form.LoadTypeList();
    if (!(snapshot(fake.lstPat) == saved)) {
        std::abort();
    }
    return 0;
}
