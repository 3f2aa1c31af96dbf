# What `make install` gives a consuming project: the CMake package
# (find_package(Lumex CONFIG) with the imported targets Lumex::lumex and
# Lumex::lumex_static) and a pkg-config file lumex.pc.
include(CMakePackageConfigHelpers)

set(LUMEX_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Lumex)

install(TARGETS lumex lumex_static EXPORT LumexTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT LumexTargets NAMESPACE Lumex:: DESTINATION ${LUMEX_CMAKE_DIR})

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/LumexConfig.cmake.in
  ${CMAKE_BINARY_DIR}/LumexConfig.cmake INSTALL_DESTINATION ${LUMEX_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/LumexConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/LumexConfig.cmake ${CMAKE_BINARY_DIR}/LumexConfigVersion.cmake
        DESTINATION ${LUMEX_CMAKE_DIR})

# The pkg-config file names its folders from its own place, so that an
# installation moved to another prefix still describes itself.
file(RELATIVE_PATH LUMEX_PC_TO_PREFIX "${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig"
     "${CMAKE_INSTALL_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/lumex.pc.in ${CMAKE_BINARY_DIR}/lumex.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/lumex.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
