#include "cli/StreamingList.h"

namespace scourix {

void StreamingList::append(std::string text) {
    std::vector<std::string> one;
    one.push_back(std::move(text));
    receiver_(one);
}

}  // namespace scourix
