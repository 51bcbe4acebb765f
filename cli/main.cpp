// tarvix-design: the command-line companion of the Tarvix window.
#include "cli/tarvix_design.h"

#include <iostream>

int main(int argc, char** argv) {
    return tarvix::runTarvixDesign(argc, argv, std::cout, std::cerr);
}
