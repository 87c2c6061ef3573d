# Installs the build into a fresh folder, then checks that the installed program finds its manual there
# (its --help names the page it would open with F1), that the pictures and sample files came along, and
# that the help window shows the installed manual.
#   cmake -DBUILD=... -DPREFIX=... -DBINDIR=bin -DDATADIR=share/qzmax-librarian -DMANUAL_TEST=... -P installcheck.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${errors}")
endif()

set(manual ${PREFIX}/${DATADIR}/manual/QZ-MAXLibrarianManual_E.htm)
foreach(file ${manual} ${PREFIX}/${DATADIR}/manual/manual.css ${PREFIX}/${DATADIR}/manual/images/main-window.png
             "${PREFIX}/${DATADIR}/SampleSMF/QZ-MAX Sample Patches.mid"
             "${PREFIX}/${DATADIR}/SampleSMF/QZ-5 Sample Patches.mid" ${PREFIX}/${BINDIR}/qzml)
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

execute_process(COMMAND ${PREFIX}/${BINDIR}/qzmax-librarian --help
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "qzmax-librarian --help failed: ${errors}")
endif()
file(REAL_PATH ${manual} manual)
string(REGEX MATCH "Manual: ([^\n]*)" line "${out}")
if(NOT CMAKE_MATCH_1)
  message(FATAL_ERROR "the installed program names no manual:\n${out}")
endif()
file(REAL_PATH "${CMAKE_MATCH_1}" found)
if(NOT found STREQUAL manual)
  message(FATAL_ERROR "the installed program looks for its manual in ${CMAKE_MATCH_1}, not ${manual}")
endif()

set(ENV{QZ_INSTALLED_BIN} ${PREFIX}/${BINDIR})
execute_process(COMMAND ${MANUAL_TEST} theInstalledManualOpensInTheHelpWindow
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR out MATCHES "SKIP")
  message(FATAL_ERROR "the help window did not show the installed manual:\n${out}${errors}")
endif()
file(REMOVE_RECURSE ${PREFIX})
