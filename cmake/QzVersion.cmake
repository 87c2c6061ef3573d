# The one version of the programs is the project's (CMakeLists.txt). It goes into generated/qzversion.h at
# configure time; the checkout's revision (short commit hash and commit count) goes into
# generated/qzrevision.h at build time, rewritten only when it changed, so a new commit shows in the
# programs without configuring again and rebuilds only the few files that include it.
# Targets that include either header link qz_version.
set(QZ_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/qzversion.h.in ${QZ_GENERATED_DIR}/qzversion.h @ONLY)

# QZ_BUILD_NUMBER, when given, stands in for the commit count (a build outside a checkout has 0).
find_package(Git QUIET)
add_custom_target(qz_revision
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DOUTPUT=${QZ_GENERATED_DIR}/qzrevision.h
          "-DGIT=${GIT_EXECUTABLE}" "-DBUILD_NUMBER=${QZ_BUILD_NUMBER}" -P ${CMAKE_CURRENT_LIST_DIR}/QzRevision.cmake
  BYPRODUCTS ${QZ_GENERATED_DIR}/qzrevision.h
  VERBATIM)

add_library(qz_version INTERFACE)
target_include_directories(qz_version INTERFACE ${QZ_GENERATED_DIR})
add_dependencies(qz_version qz_revision)
