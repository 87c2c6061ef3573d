# Warnings on our own targets only; third-party headers stay quiet. They stop the build only when asked
# for (-DQZ_WERROR=ON, as tools/test and the presets of the checking builds do): a user's compiler may
# warn where ours does not.
option(QZ_WERROR "Treat compiler warnings as errors" OFF)

function(qz_target_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(QZ_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# One library per layer folder: every .cpp of the folder, headers found from the repository root.
function(qz_add_layer target)
  file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${target} STATIC ${_sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  qz_target_warnings(${target})
endfunction()
