# Installs the build into a fresh folder, then checks that the installed program finds its manual there
# (its --help names the page it would open with F1), that the pictures and sample files came along, and
# that the help window shows the installed manual. Every file is installed once, qzml with its manual page,
# and both programs report the same version.
#   cmake -DBUILD=... -DPREFIX=... -DBINDIR=bin -DMANDIR=share/man -DDATADIR=share/qzmax-librarian
#         -DMANUAL_TEST=... -P installcheck.cmake
cmake_minimum_required(VERSION 3.22)
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${errors}")
endif()

set(manual ${PREFIX}/${DATADIR}/manual/QZ-MAXLibrarianManual_E.htm)
foreach(file ${manual} ${PREFIX}/${DATADIR}/manual/manual.css ${PREFIX}/${DATADIR}/manual/images/main-window.png
             "${PREFIX}/${DATADIR}/SampleSMF/QZ-MAX Sample Patches.mid"
             "${PREFIX}/${DATADIR}/SampleSMF/QZ-5 Sample Patches.mid" ${PREFIX}/${BINDIR}/qzml
             ${PREFIX}/${MANDIR}/man1/qzml.1)
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

file(STRINGS ${BUILD}/install_manifest.txt installed)
set(seen)
foreach(file ${installed})
  if(file IN_LIST seen)
    message(FATAL_ERROR "installed twice: ${file}")
  endif()
  list(APPEND seen ${file})
endforeach()

foreach(program qzml qzmax-librarian)
  execute_process(COMMAND ${PREFIX}/${BINDIR}/${program} --version RESULT_VARIABLE result OUTPUT_VARIABLE out)
  if(NOT result EQUAL 0 OR NOT out MATCHES "^${program} ([0-9]+\\.[0-9]+\\.[0-9]+ \\(git [^)]+\\))\n$")
    message(FATAL_ERROR "${program} --version: ${out}")
  endif()
  list(APPEND versions "${CMAKE_MATCH_1}")
endforeach()
list(REMOVE_DUPLICATES versions)
list(LENGTH versions count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "the programs report different versions: ${versions}")
endif()

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
