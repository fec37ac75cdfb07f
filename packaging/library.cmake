# liborvane for other programs: the shared library, its public headers, a CMake package
# (find_package(orvane) gives orvane::orvane) and orvane.pc for pkg-config. The library goes to
# the liborvane0 package; the headers, the link and both package files to liborvane-dev.
include(CMakePackageConfigHelpers)

set(orvane_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/orvane)
install(TARGETS orvane EXPORT orvaneTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT lib NAMELINK_COMPONENT dev)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/orvane DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
    COMPONENT dev)
install(EXPORT orvaneTargets NAMESPACE orvane:: DESTINATION ${orvane_cmake_dir} COMPONENT dev)

configure_package_config_file(cmake/orvaneConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/orvaneConfig.cmake INSTALL_DESTINATION ${orvane_cmake_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/orvaneConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/orvaneConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/orvaneConfigVersion.cmake
    DESTINATION ${orvane_cmake_dir} COMPONENT dev)

# The .pc file finds its prefix from where it lies, so the package and a temporary prefix work
# alike.
file(RELATIVE_PATH ORVANE_PC_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" ORVANE_PC_PREFIX "${ORVANE_PC_PREFIX}")
configure_file(cmake/orvane.pc.in ${CMAKE_CURRENT_BINARY_DIR}/orvane.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/orvane.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
    COMPONENT dev)

# The library's one-page manual, beside the headers it describes.
install(FILES ${PROJECT_SOURCE_DIR}/docs/api.md DESTINATION share/doc/liborvane-dev
    COMPONENT dev)
