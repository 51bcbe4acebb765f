// tarvix-design: the command-line companion of the Tarvix window.
#include "cli/tarvix_design.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    // What the run does not turn into a message of its own (an exception no
    // layer expected) still ends with one line that names it, and a failure
    // status, rather than with std::terminate.
    try {
        return tarvix::runTarvixDesign(argc, argv, std::cout, std::cerr);
    } catch (const std::exception& error) {
        std::cerr << "tarvix-design: internal error: " << error.what() << '\n';
    } catch (...) {
        std::cerr << "tarvix-design: internal error of no known kind\n";
    }
    return tarvix::kExitFileError;
}
