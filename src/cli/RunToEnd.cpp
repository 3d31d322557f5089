#include "cli/RunToEnd.h"

#include "cli/Commands.h"
#include "data/SafeWrite.h"

#include <QString>
#include <QtGlobal>

#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <unistd.h>

namespace lumetra::cli {
namespace {

constexpr const char* kOutOfMemory = "lumetra-cli: out of memory; the command was stopped.\n";

// Writes without allocating: memory may be what ran out.
[[noreturn]] void EndWith(const char* text) {
    RemoveUnfinishedWrite();
    std::string_view rest(text);
    while (!rest.empty()) {
        const ssize_t put = ::write(STDERR_FILENO, rest.data(), rest.size());
        if (put <= 0)
            break;
        rest.remove_prefix(size_t(put));
    }
    ::_exit(kFailed);
}

// An exception that could not unwind to RunToEnd (it met a frame that allows none).
[[noreturn]] void Terminated() {
    try {
        if (std::exception_ptr escaped = std::current_exception())
            std::rethrow_exception(escaped);
    } catch (const std::bad_alloc&) {
        EndWith(kOutOfMemory);
    } catch (...) {
    }
    EndWith("lumetra-cli: an internal error stopped the command.\n");
}

void QtMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtFatalMsg) {
        std::cerr << text.toLocal8Bit().constData() << '\n';
        return;
    }
    EndWith("lumetra-cli: the drawing system failed (out of memory?); the command was stopped.\n");
}

} // namespace

int RunToEnd(const std::function<int()>& command) {
    std::set_terminate(Terminated);
    qInstallMessageHandler(QtMessage);
    try {
        return command();
    } catch (const std::bad_alloc&) {
        std::cerr.clear();
        std::cerr << kOutOfMemory;
        return kFailed;
    }
}

} // namespace lumetra::cli
