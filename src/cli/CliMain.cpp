#include "cli/CommandLine.h"
#include "cli/RunToEnd.h"

#include <iostream>

int main(int argc, char** argv) {
    using namespace lumetra::cli;
    std::ios::sync_with_stdio(false);
    return RunToEnd([&] {
        CommandLine commandLine;
        return commandLine.Run(std::vector<std::string>(argv + 1, argv + argc),
                               {std::cout, std::cerr});
    });
}
