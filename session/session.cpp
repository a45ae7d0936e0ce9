#include "session/session.h"

namespace orbista {

Session::Session(GameParts parts, CheckFileWrites writes) : Session(parts, writes, nullptr) {}

Session::Session(GameParts parts, CheckFileSink& checkFiles)
    : Session(parts, std::nullopt, &checkFiles) {}

Session::Session(GameParts parts, std::optional<CheckFileWrites> writes, CheckFileSink* checkFiles)
    : engine(parts.state, parts.settings, parts.view, parts.random,
             checkFiles ? *checkFiles : checkFolder_.emplace(parts.view, ".", *writes), autosaves) {
}

}  // namespace orbista
