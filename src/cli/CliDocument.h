#pragma once

#include "data/LumetraDoc.h"
#include "platform/ConsoleUi.h"
#include "platform/MemorySettingsStore.h"

#include <ostream>
#include <string>

namespace lumetra::cli {

// A document as every command has one: messages on the error stream, and settings that live
// only for the run, so a batch job never changes the desktop user's remembered paths.
struct CliDocument {
    explicit CliDocument(std::ostream& err) : ui(err), doc(ui, settings) {}
    bool Open(const std::string& path) { return doc.OnOpenDocument(path); }

    ConsoleUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc;
};

} // namespace lumetra::cli
