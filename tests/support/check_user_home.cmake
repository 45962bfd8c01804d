# Runs a test program the way a developer runs one by hand: with only HOME set,
# and a home that holds a registry file with a connection string and a
# settings file. The program must pass and leave that home exactly as it was:
# the same files with the same bytes, nothing added (no lock file either).
#   cmake -DPROGRAM=... -DHOME_FOLDER=... -P check_user_home.cmake

string(CONCAT registry "Windows Registry Editor Version 5.00\r\n\r\n"
  "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Dorset Software\\Recorder 6]\r\n"
  "\"Connection String\"=\"Driver={FreeTDS};Server=recorder;Database=NBNData;UID=me;PWD=secret\"\r\n")
set(settings "eMtbNW=6508\r\neMtbSE=6711\r\nrgGridSystem=1\r\nrgGridType=2\r\n")

file(REMOVE_RECURSE "${HOME_FOLDER}")
file(WRITE "${HOME_FOLDER}/.config/velmora/registry.reg" "${registry}")
file(WRITE "${HOME_FOLDER}/.local/share/Velmora/settings.ini" "${settings}")

# Every file and folder below the home with a digest of its content.
function(describe_home result)
  file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE "${HOME_FOLDER}" "${HOME_FOLDER}/*")
  list(SORT entries)
  set(lines "")
  foreach(entry IN LISTS entries)
    if(IS_DIRECTORY "${HOME_FOLDER}/${entry}")
      list(APPEND lines "${entry}/")
    else()
      file(SHA256 "${HOME_FOLDER}/${entry}" digest)
      list(APPEND lines "${entry} ${digest}")
    endif()
  endforeach()
  string(REPLACE ";" "\n" lines "${lines}")
  set(${result} "${lines}" PARENT_SCOPE)
endfunction()

describe_home(before)
set(ENV{HOME} "${HOME_FOLDER}")
unset(ENV{XDG_CONFIG_HOME})
unset(ENV{XDG_DATA_HOME})
execute_process(COMMAND "${PROGRAM}" RESULT_VARIABLE status)
describe_home(after)

set(problems "")
if(NOT status EQUAL 0)
  string(APPEND problems "${PROGRAM} failed: ${status}\n")
endif()
if(NOT before STREQUAL after)
  string(APPEND problems "${PROGRAM} changed the user's home.\nBefore:\n${before}\nAfter:\n${after}\n")
endif()
if(problems)
  message(FATAL_ERROR "${problems}")
endif()
file(REMOVE_RECURSE "${HOME_FOLDER}")
