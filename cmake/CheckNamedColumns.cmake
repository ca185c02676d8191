# A record's columns are named once, in its `*columns.h` header; anywhere else a column number
# would have to be found and moved by hand when the record changes.
file(GLOB_RECURSE sources "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(failures "")
foreach(source IN LISTS sources)
  if(source MATCHES "columns\\.h$" OR source MATCHES "/core/app/fixedwidth\\.(h|cpp)$")
    continue()
  endif()
  # A slice by numbers, a column built from numbers, or a field read through a numbered brace.
  file(STRINGS "${source}" hits REGEX
       "(^|[^A-Za-z_])Mid\\(|(^|[^A-Za-z_])Column([ \t]+[A-Za-z_][A-Za-z0-9_]*)?[ \t]*\\{[ \t]*[0-9]|(^|[^A-Za-z_])(Set)?Field\\([^;]*\\{[ \t]*[0-9]+[ \t]*,")
  foreach(hit IN LISTS hits)
    string(REPLACE "\\;" ";" hit "${hit}") # a line's own semicolons come escaped
    string(STRIP "${hit}" hit)
    string(APPEND failures "\n  ${source}: ${hit}")
  endforeach()
endforeach()
if(failures)
  message(FATAL_ERROR "Record columns spelled as numbers outside their columns header:${failures}")
endif()
