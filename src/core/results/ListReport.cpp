#include "results/ListReport.h"

#include <cstdio>

#include "base/TextFormat.h"
#include "base/Utf8.h"
#include "infowin/InfoContent.h"
#include "platform/Dialogs.h"
#include "platform/VisibleText.h"
#include "results/ShellCommands.h"

namespace scourix {
namespace {

constexpr const char* kSaveTitle = "保存列表到文件";

}  // namespace

std::string ListReport::listFileText() const {
    const Platform& ui = s_.ui;
    const CheckList& found = ui.lstFound;
    std::string text;
    text.reserve(256 + found.count() * 64);
    text += ui.controls.caption("frmMain") + kCrLf;
    text += "列表文件保存于" + formatDateTime(ui.clock.now()) + kCrLf;
    text += std::string("-----------------") + kCrLf;
    text += s_.sFindPlaces + kCrLf;
    text += s_.sFindTypes + kCrLf;
    text += std::string("找到的文件：") + kCrLf;
    for (std::size_t i = 0; i < found.count(); ++i) {
        text += "    ";
        const std::string& entry = found.text(i);
        text += needsEscapes(entry) ? visibleText(entry) : entry;
        text += kCrLf;
    }
    text += std::string("----------------------") + kCrLf;
    text += std::string("保存文件结束!") + kCrLf;
    return text;
}

void ListReport::ViewInfo(const std::string& filename) {
    Platform& ui = s_.ui;
    Result<WrittenFilePtr> written = ui.fs.writeText(filename, listFileText());
    if (!written) {
        ui.dialogs.messageBox(std::string("写入文件时发生错误。") + kCrLf + kCrLf +
                                  visibleText(filename) + kCrLf + written.error().description,
                              mb::kCritical, "错误");
        return;
    }
    if (filename != s_.sTempPath + std::string(kScanReportName)) {
        ShellCommands::reportOpener(ui, ui.shell.openTextFile(filename));
        return;
    }
    std::erase_if(s_.reportsWritten, [&](const auto& report) { return report.first == filename; });
    s_.reportsWritten.emplace_back(filename, std::move(written).value());
    auto text = ui.fs.readText(filename);
    InfoContent content;
    content.heading = std::string(kScanReportName);
    content.text = text ? std::move(text).value() : std::string();
    content.textColor = kBlue;
    content.background = kCream;
    showInfo(ui.window, content);
}

void ListReport::mSaveList_Click() {
    Platform& ui = s_.ui;
    const std::string folder = ui.fs.currentFolder();
    const std::string prompt =
        std::string("请输入文件名: ") + kCrLf + "当前的目录位置为 [" + visibleText(folder) + " ]";
    const std::string answer =
        ui.dialogs.inputBox(prompt, kSaveTitle, defaultListName(ui.clock.now()));
    if (answer.empty()) {
        return;
    }
    const std::string name = applyExtensionRule(answer);
    // Any file of that name is refused, hidden ones too: saving must never overwrite.
    auto existing = ui.fs.lookup(name, Lookup::WithHiddenAndSystem);
    if (existing && !existing.value().empty()) {
        ui.dialogs.messageBox("保存文件失败，" + visibleText(name) + "已经存在！", mb::kCritical,
                              kSaveTitle);
        return;
    }
    ViewInfo(name);
}

std::string ListReport::applyExtensionRule(const std::string& name) {
    const std::size_t length = characterCount(name);
    if (length <= 4) {
        return name + ".txt";
    }
    // Walk to the start of the last five characters.
    std::size_t i = 0;
    for (std::size_t skipped = 0; skipped < length - 5; ++skipped) {
        utf8::next(name, i);
    }
    return name.find('.', i) != std::string::npos ? name : name + ".txt";
}

std::string ListReport::defaultListName(const DateTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d_%02d_%02d_%02d%02d", t.year, t.month, t.day, t.hour,
                  t.minute);
    return std::string("查找") + buf + ".txt";
}

}  // namespace scourix
