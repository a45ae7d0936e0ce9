#include "sim/arguments.h"

#include "session/comparison.h"

namespace orbista {

std::filesystem::path ArgumentList::WritableFileValue() {
    const std::string& option = Option();
    std::filesystem::path path = Value();
    if (!CanWriteFile(path)) {
        throw UsageError(option + ": cannot write " + path.string());
    }
    return path;
}

}  // namespace orbista
