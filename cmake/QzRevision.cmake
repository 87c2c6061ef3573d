# Run at build time (cmake -P) by the qz_revision target: writes OUTPUT with the checkout's revision, and
# leaves it untouched when that has not changed.
#   SOURCE_DIR  the checkout      OUTPUT  the header      GIT  the git program (may be empty)
#   BUILD_NUMBER  when not empty, used in place of the commit count
set(revision "unknown")
set(count 0)
if(GIT)
  execute_process(COMMAND ${GIT} rev-parse --short=7 HEAD WORKING_DIRECTORY ${SOURCE_DIR}
                  OUTPUT_VARIABLE _hash OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE _result ERROR_QUIET)
  if(_result EQUAL 0 AND _hash MATCHES "^[0-9a-f]+$")
    set(revision ${_hash})
  endif()
  execute_process(COMMAND ${GIT} rev-list --count HEAD WORKING_DIRECTORY ${SOURCE_DIR}
                  OUTPUT_VARIABLE _count OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE _result ERROR_QUIET)
  if(_result EQUAL 0 AND _count MATCHES "^[0-9]+$")
    set(count ${_count})
  endif()
endif()
if(NOT "${BUILD_NUMBER}" STREQUAL "")
  set(count ${BUILD_NUMBER})
endif()

set(_text "#pragma once\n// Generated at build time by cmake/QzRevision.cmake: the revision the programs were built from.\n\n#define QZ_GIT_REVISION \"${revision}\"\n#define QZ_BUILD_NUMBER \"${count}\"\n")
set(_old "")
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} _old)
endif()
if(NOT _old STREQUAL _text)
  file(WRITE ${OUTPUT} "${_text}")
endif()
