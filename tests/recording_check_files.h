#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/check_file.h"

namespace orbista {

// Keeps every check file a system hands over, in order, in memory.
class RecordingCheckFiles : public CheckFileSink {
  public:
    void WriteCheckFile(std::string_view fileName, std::string_view content) override {
        written.emplace_back(std::string(fileName), std::string(content));
    }
    std::vector<std::pair<std::string, std::string>> written;
};

}  // namespace orbista
