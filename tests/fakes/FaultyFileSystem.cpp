#include "fakes/FaultyFileSystem.h"

namespace scourix {
namespace {

struct NoPackages final : PackageDatabase {
    bool owns(std::string_view) override { return false; }
};

}  // namespace

FaultyFileSystem::FaultyFileSystem()
    : real_(root_.path() + program, std::make_shared<NoPackages>()) {}

}  // namespace scourix
