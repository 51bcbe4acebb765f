# The browser edition, compiled by emscripten: the calculator's and the
# simulation's libraries, which use no Qt, and the page's module on them
# (web/). Qt, the windows, the terminal program and the tests are not built.

# The header-only libraries (Boost, Eigen, nlohmann JSON) are the system's
# own packages. Their folders are reached through links of their own, never
# through /usr/include, whose C library headers are not emscripten's.
set(TARVIX_SYSTEM_HEADERS ${PROJECT_BINARY_DIR}/system-headers)
file(MAKE_DIRECTORY ${TARVIX_SYSTEM_HEADERS})
foreach(folder boost nlohmann)
    file(CREATE_LINK /usr/include/${folder} ${TARVIX_SYSTEM_HEADERS}/${folder} SYMBOLIC)
endforeach()
foreach(target Boost::headers nlohmann_json::nlohmann_json)
    add_library(${target} INTERFACE IMPORTED)
    target_include_directories(${target} SYSTEM INTERFACE ${TARVIX_SYSTEM_HEADERS})
endforeach()
add_library(Eigen3::Eigen INTERFACE IMPORTED)
target_include_directories(Eigen3::Eigen SYSTEM INTERFACE /usr/include/eigen3)

# The design and the simulation report their faults by exceptions.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

add_subdirectory(calc)
add_subdirectory(entry)
add_subdirectory(nec)
add_subdirectory(report)
add_subdirectory(check)
add_subdirectory(ui)
add_subdirectory(web)
include(${PROJECT_SOURCE_DIR}/dist/copyright.cmake)
