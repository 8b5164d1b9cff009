#include "gui/CommandLine.h"

#include <cstdio>
#include <cstring>

namespace scourix {

std::optional<int> CommandLine::early(int argc, char* const argv[]) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            std::fputs(helpText().c_str(), stdout);
            return 0;
        }
        if (std::strcmp(arg, "--version") == 0) {
            std::fputs(versionText().c_str(), stdout);
            return 0;
        }
    }
    return std::nullopt;
}

std::optional<int> CommandLine::leftover(int argc, char* const argv[]) {
    if (argc <= 1) {
        return std::nullopt;
    }
    const std::string arg = argv[1];
    const std::string what = !arg.empty() && arg.front() == '-' ? "无法识别的选项" : "多余的参数";
    std::fprintf(stderr, "scourix：%s“%s”。用“scourix --help”查看用法。\n", what.c_str(),
                 arg.c_str());
    return kUsageError;
}

std::string CommandLine::helpText() {
    return "用法：scourix [选项]\n"
           "查找并清除垃圾文件：临时文件、备份文件和其他残留文件。\n"
           "\n"
           "  -h, --help     显示本帮助并退出\n"
           "      --version  显示版本信息并退出\n"
           "\n"
           "也接受 Qt 自己的选项，例如 -platform offscreen、-display :1。\n"
           "退出状态：0 正常关闭；2 用法错误或无法打开窗口。\n"
           "详见 man scourix。\n";
}

std::string CommandLine::versionText() {
    return "scourix 1.51\n";
}

}  // namespace scourix
