# Fails when a source under src/ includes a header of a higher layer, apart from
# the two stated exceptions. Run as: cmake -DSOURCE_DIR=src -DLAYERS="a;b;..." -P
# (LAYERS bottom up, as src/CMakeLists.txt lists them).
cmake_minimum_required(VERSION 3.25)

set(allowed_upward
  "board -> analysis/ThreatCategory.h"
  "board -> analysis/PatternTables.h"
  "board -> analysis/AnalysisSetup.h"
  "protocol/GameCommands.cpp -> search/ABPNSEngine.h")

set(faults "")
set(rank 0)
foreach(layer IN LISTS LAYERS)
  set(rank_of_${layer} ${rank})
  math(EXPR rank "${rank} + 1")
endforeach()

foreach(layer IN LISTS LAYERS)
  file(GLOB files ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
  foreach(file IN LISTS files)
    get_filename_component(name ${file} NAME)
    file(STRINGS ${file} includes REGEX "^#include \"[a-z]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"(([a-z]+)/[^\"]+)\".*" "\\1;\\2" parts "${line}")
      list(GET parts 0 header)
      list(GET parts 1 target)
      if(NOT DEFINED rank_of_${target})
        string(APPEND faults "  ${layer}/${name}: ${header} is in no layer\n")
      elseif(rank_of_${target} GREATER rank_of_${layer}
             AND NOT "${layer} -> ${header}" IN_LIST allowed_upward
             AND NOT "${layer}/${name} -> ${header}" IN_LIST allowed_upward)
        string(APPEND faults "  ${layer}/${name} includes ${header} from a higher layer\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Layering broken:\n${faults}")
endif()
message(STATUS "Every include goes to the same or a lower layer, or is a stated exception.")
