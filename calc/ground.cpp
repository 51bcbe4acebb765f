// The ground classes.
#include "calc/ground.h"

#include "calc/number_text.h"

#include <array>

namespace tarvix {

namespace {

// Conductivity and relative permittivity by class, from the ARRL Antenna
// Book's table of common types of earth: very good (pastoral, low hills, rich
// soil), average (pastoral, medium hills, forest, heavy clay), poor (rocky
// soil, steep hills), very poor (cities, industrial areas), salt and fresh
// water.
constexpr std::array<GroundClass, 6> kClasses{{
    {"very-good", "very good ground", 0.0303, 20},
    {"average", "average ground", 0.005, 13},
    {"poor", "poor ground", 0.002, 13},
    {"very-poor", "very poor ground", 0.001, 5},
    {"sea", "sea water", 5, 81},
    {"fresh-water", "fresh water", 0.001, 80},
}};

} // namespace

std::span<const GroundClass> groundClasses() {
    return kClasses;
}

std::optional<Ground> groundOfClass(std::string_view name) {
    for (const GroundClass& ground : kClasses) {
        if (ground.name == name) {
            return groundOf(ground);
        }
    }
    return std::nullopt;
}

Ground groundOf(const GroundClass& ground) {
    return Ground{std::string(ground.name), ground.conductivitySPerM, ground.permittivity};
}

Ground averageGround() {
    return *groundOfClass("average");
}

std::string groundText(const Ground& ground) {
    for (const GroundClass& known : kClasses) {
        if (known.name == ground.className) {
            return std::string(known.description);
        }
    }
    return "ground of " + numberText(ground.conductivitySPerM) + " S/m, relative permittivity " +
           numberText(ground.permittivity);
}

} // namespace tarvix
