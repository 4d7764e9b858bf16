#include "text/number_settings.h"

namespace text {

std::string GroupDigits(std::string_view digits, std::string_view separator, int size) {
    std::string grouped(digits);
    if (size <= 0) return grouped;
    for (int i = static_cast<int>(digits.size()) - size; i > 0; i -= size)
        grouped.insert(static_cast<size_t>(i), separator);
    return grouped;
}

}  // namespace text
