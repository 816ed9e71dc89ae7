# The updater's entries in Info.plist.
#
# lumora_updater_plist_entries(<variable> <feed URL> <public key>) sets <variable> to the entries:
# SUEnableAutomaticChecks always, and the feed and its key when given (both or neither). The feed
# must be an https address made only of the characters a URL may hold; it is written escaped for
# the property list, so that a query's "&" keeps the file well formed.
function(lumora_updater_plist_entries variable feed_url public_key)
  # Explicit, or Sparkle asks the user at the second start: the app checks only when asked to.
  set(entries "<key>SUEnableAutomaticChecks</key>\n\t<false/>")
  if(NOT feed_url STREQUAL "" OR NOT public_key STREQUAL "")
    if(NOT feed_url MATCHES "^https://[A-Za-z0-9._~:/?#@!$&'()*+,;=%-]+$")
      message(FATAL_ERROR
        "LUMORA_SPARKLE_FEED_URL must be an https address, given with its key, and hold only the "
        "characters of a URL (spaces, quotes and angle brackets percent-encoded): "
        "\"${feed_url}\".")
    endif()
    # An EdDSA public key is 32 bytes: 44 characters of base64. A malformed key stops the updater.
    if(NOT public_key MATCHES "^[A-Za-z0-9+/]+=*$")
      message(FATAL_ERROR "LUMORA_SPARKLE_PUBLIC_KEY must be the base64 EdDSA public key.")
    endif()
    string(LENGTH "${public_key}" key_length)
    if(NOT key_length EQUAL 44)
      message(FATAL_ERROR "LUMORA_SPARKLE_PUBLIC_KEY must be 44 characters of base64 (32 bytes).")
    endif()
    string(REPLACE "&" "&amp;" escaped_feed_url "${feed_url}")
    string(APPEND entries
      "\n\t<key>SUFeedURL</key>\n\t<string>${escaped_feed_url}</string>"
      "\n\t<key>SUPublicEDKey</key>\n\t<string>${public_key}</string>")
  endif()
  set(${variable} "${entries}" PARENT_SCOPE)
endfunction()
