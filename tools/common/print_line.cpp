#include "tools/common/print_line.h"

#include <cstdarg>
#include <string>

#include "assets/printable_name.h"

namespace vorel {

void printLine(std::FILE* stream, const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    std::va_list measuring;
    va_copy(measuring, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    std::string line(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(line.data(), line.size() + 1, format, arguments);
    va_end(arguments);
    const std::string shown = printableName(line) + "\n";
    std::fwrite(shown.data(), 1, shown.size(), stream);
}

}  // namespace vorel
