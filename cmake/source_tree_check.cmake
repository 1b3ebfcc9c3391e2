# Run by CTest before and after the whole suite: MODE=snapshot lists every file and folder
# under data/ and tests/ of the source tree into LIST; MODE=compare lists them again and
# fails when anything appeared or vanished. Tests write only into temporary folders and the
# build tree; a stray file here would also reach the package.
cmake_minimum_required(VERSION 3.20)
set(entries "")
foreach(dir data tests)
  file(GLOB_RECURSE found LIST_DIRECTORIES true RELATIVE ${SOURCE} ${SOURCE}/${dir}/*)
  list(APPEND entries ${found})
endforeach()
list(SORT entries)
list(JOIN entries "\n" text)
if(MODE STREQUAL "snapshot")
  file(WRITE ${LIST} "${text}")
elseif(MODE STREQUAL "compare")
  file(READ ${LIST} before)
  if(NOT before STREQUAL text)
    string(REPLACE "\n" ";" before_list "${before}")
    set(added ${entries})
    list(REMOVE_ITEM added ${before_list})
    set(removed ${before_list})
    list(REMOVE_ITEM removed ${entries})
    message(FATAL_ERROR "The test run changed the source tree.\n"
                        "  appeared: ${added}\n  vanished: ${removed}")
  endif()
else()
  message(FATAL_ERROR "MODE must be snapshot or compare")
endif()
