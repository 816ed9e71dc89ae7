# The updater's Info.plist entries: automatic checks off, a feed address with "&" escaped so that
# the property list stays well formed (read back by macOS's plutil), and addresses that
# cannot be written into it refused.
#   cmake -DSOURCE_DIR=<repository> -DWORK_DIR=<scratch folder> -P UpdaterPlistEntriesTest.cmake

include(${SOURCE_DIR}/src/platform/macos/UpdaterPlistEntries.cmake)
set(key "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA=")
set(feed "https://updates.invalid/appcast.xml?channel=stable&arch=arm64")

lumora_updater_plist_entries(entries "" "")
if(NOT entries STREQUAL "<key>SUEnableAutomaticChecks</key>\n\t<false/>")
  message(FATAL_ERROR "Without a feed, expected only SUEnableAutomaticChecks:\n${entries}")
endif()

lumora_updater_plist_entries(entries "${feed}" "${key}")
string(FIND "${entries}" "<string>https://updates.invalid/appcast.xml?channel=stable&amp;arch=arm64</string>" at)
if(at EQUAL -1)
  message(FATAL_ERROR "The feed address is not written escaped:\n${entries}")
endif()
set(plist "${WORK_DIR}/UpdaterPlistEntries.plist")
file(WRITE "${plist}" "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\">\n<dict>\n\t${entries}\n</dict>\n</plist>\n")
if(CMAKE_HOST_APPLE)
  find_program(plutil plutil REQUIRED)
  execute_process(COMMAND "${plutil}" -extract SUFeedURL raw -o - "${plist}"
                  OUTPUT_VARIABLE read_back OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT read_back STREQUAL feed)
    message(FATAL_ERROR "plutil reads SUFeedURL as \"${read_back}\" (status ${status}), not \"${feed}\".")
  endif()
  execute_process(COMMAND "${plutil}" -extract SUEnableAutomaticChecks raw -o - "${plist}"
                  OUTPUT_VARIABLE read_back OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT read_back STREQUAL "false")
    message(FATAL_ERROR "plutil reads SUEnableAutomaticChecks as \"${read_back}\", not false.")
  endif()
endif()

# Each of these must stop the configuration with a message. Each runs in a script of its own,
# since a fatal error ends the script that raises it.
foreach(refused IN ITEMS
    "http://updates.invalid/appcast.xml"
    "https://updates.invalid/app cast.xml"
    "https://updates.invalid/<appcast>.xml"
    "https://updates.invalid/\"appcast\".xml")
  set(script "${WORK_DIR}/UpdaterPlistEntriesRefused.cmake")
  file(WRITE "${script}" "include(${SOURCE_DIR}/src/platform/macos/UpdaterPlistEntries.cmake)\nlumora_updater_plist_entries(entries [==[${refused}]==] ${key})\n")
  execute_process(COMMAND "${CMAKE_COMMAND}" -P "${script}"
                  RESULT_VARIABLE status ERROR_VARIABLE error)
  if(status EQUAL 0 OR NOT error MATCHES "LUMORA_SPARKLE_FEED_URL")
    message(FATAL_ERROR "The feed address ${refused} was not refused:\n${error}")
  endif()
endforeach()
foreach(refused_key IN ITEMS "" "AAAA" "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA-=")
  set(script "${WORK_DIR}/UpdaterPlistEntriesRefused.cmake")
  file(WRITE "${script}" "include(${SOURCE_DIR}/src/platform/macos/UpdaterPlistEntries.cmake)\nlumora_updater_plist_entries(entries [==[${feed}]==] \"${refused_key}\")\n")
  execute_process(COMMAND "${CMAKE_COMMAND}" -P "${script}"
                  RESULT_VARIABLE status ERROR_VARIABLE error)
  if(status EQUAL 0 OR NOT error MATCHES "LUMORA_SPARKLE_PUBLIC_KEY")
    message(FATAL_ERROR "The key \"${refused_key}\" was not refused:\n${error}")
  endif()
endforeach()
