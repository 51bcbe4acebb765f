#include "fake_nec2c.h"

#include <fstream>
#include <sys/stat.h>

namespace tarvix::test {

const char* const kListing = R"(
                               --------- FREQUENCY --------
                                FREQUENCY : 7.0000E+00 MHz
                        --------- ANTENNA INPUT PARAMETERS ---------
  TAG   SEG       VOLTAGE (VOLTS)         CURRENT (AMPS)         IMPEDANCE (OHMS)        ADMITTANCE (MHOS)     POWER
  No:   No:     REAL      IMAGINARY     REAL      IMAGINARY     REAL      IMAGINARY    REAL       IMAGINARY   (WATTS)
    3    37  1.0000E+00  0.0000E+00  1.4745E-02  3.0724E-03  6.4996E+01 -1.3543E+01  1.4745E-02  3.0724E-03  7.3727E-03
                               ---------- POWER BUDGET ---------
                               INPUT POWER   =  7.3727E-03 Watts
                               RADIATED POWER=  7.0042E-03 Watts
                               STRUCTURE LOSS=  3.6847E-04 Watts
                               NETWORK LOSS  =  0.0000E+00 Watts
                               EFFICIENCY    =   95.00 Percent
                               --------- FREQUENCY --------
                                FREQUENCY : 7.0100E+00 MHz
                        --------- ANTENNA INPUT PARAMETERS ---------
)";

std::string fakeEngine(const ScratchDir& scratch, const std::string& message, int status,
                       const std::string& listing) {
    const auto listingPath = scratch.path("listing.txt");
    std::ofstream(listingPath) << listing;
    const auto script = scratch.path("nec2c");
    std::ofstream(script) << "#!/bin/sh\n"
                          << "for a in \"$@\"; do case \"$a\" in -o*) /bin/cp '"
                          << listingPath.string() << "' \"${a#-o}\";; esac; done\n"
                          << (message.empty() ? "" : "echo '" + message + "' >&2\n") << "exit "
                          << status << "\n";
    chmod(script.c_str(), 0755);
    return script.string();
}

} // namespace tarvix::test
