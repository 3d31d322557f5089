#pragma once

#include <functional>
#include <string>

class QPrinter;

namespace lumetra {

class Ui;

// Prints with `print`; a printer that prints into a file saves that file as every file is saved
// (SaveFile): whole or not at all, never onto a pipe or device, its other names, owner and mode
// kept. On failure shows `failed` (with the cause when the file was at fault) and returns false.
bool PrintSafely(QPrinter& printer, Ui& ui, const std::string& failed,
                 const std::function<bool(QPrinter&)>& print);

} // namespace lumetra
