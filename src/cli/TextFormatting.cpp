#include "cli/TextFormatting.h"

#include <vector>

namespace scourix {

std::string substitute(const std::string& text, std::initializer_list<std::string> values) {
    const std::vector<std::string> v(values);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const auto k = static_cast<std::size_t>(text[i + 1] - '1');
            if (k < v.size()) {
                out += v[k];
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace scourix
