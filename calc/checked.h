// Floating-point steps that report a fault instead of producing an infinity
// or a NaN. Every arithmetic step of the two calculations goes through these.
#pragma once

namespace tarvix::checked {

double add(double a, double b);
double sub(double a, double b);
double mul(double a, double b);
double div(double a, double b); // b == 0 is a division by zero
double square(double a);        // power with exponent 2
double ln(double a);            // a <= 0 is an invalid argument
double sqrt(double a);          // a < 0 is an invalid argument

} // namespace tarvix::checked
