#pragma once

#include <functional>

namespace lumetra::cli {

// Runs a command so that it always ends with an exit status: out of memory anywhere, an escaped
// exception or a fatal error inside Qt is a message on stderr and status 1, never an abort. What
// a command had begun to save is left whole or not at all by the save itself.
int RunToEnd(const std::function<int()>& command);

} // namespace lumetra::cli
