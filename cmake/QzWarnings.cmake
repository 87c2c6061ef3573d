# Warnings as errors on our own targets only; third-party headers stay quiet.
function(qz_target_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# One library per layer folder: every .cpp of the folder, headers found from the repository root.
function(qz_add_layer target)
  file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${target} STATIC ${_sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  qz_target_warnings(${target})
endfunction()
