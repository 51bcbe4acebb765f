// The ground under an antenna hung over it: a Sommerfeld-Norton ground of a
// conductivity and a relative permittivity, by class or as given.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tarvix {

struct Ground {
    // The class's name ("average"), or empty for a ground given by its figures.
    std::string className;
    double conductivitySPerM = 0;
    double permittivity = 0;
};

struct GroundClass {
    std::string_view name;
    std::string_view description;
    double conductivitySPerM;
    double permittivity;
};

// The classes of ground, from very good soil to sea water.
std::span<const GroundClass> groundClasses();
std::optional<Ground> groundOfClass(std::string_view name);
Ground groundOf(const GroundClass& ground);
// "average", the ground every model over ground had before the classes.
Ground averageGround();
// "average ground", or "ground of 0.01 S/m, relative permittivity 10".
std::string groundText(const Ground& ground);

} // namespace tarvix
