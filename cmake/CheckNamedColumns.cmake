# A record's columns are named once, in its `*columns.h` header; anywhere else a column number
# would have to be found and moved by hand when the record changes.
file(GLOB_RECURSE sources "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp" "${SOURCE_DIR}/tools/*.h"
     "${SOURCE_DIR}/tools/*.cpp")
# A slice by numbers, a column built from numbers, a field read through a numbered brace, or a
# substr whose position or length is written as a number (0, the start, is no column).
set(numbered_slice
    "(^|[^A-Za-z_])Mid\\("
    "(^|[^A-Za-z_])Column([ \t]+[A-Za-z_][A-Za-z0-9_]*)?[ \t]*\\{[ \t]*[0-9]"
    "(^|[^A-Za-z_])(Set)?Field\\([^;]*\\{[ \t]*[0-9]+[ \t]*,"
    "(^|[^A-Za-z0-9_])substr[ \t]*\\([ \t]*[1-9]"
    "(^|[^A-Za-z0-9_])substr[ \t]*\\(([^(),]|\\([^()]*\\))*,[ \t]*[1-9]")
list(JOIN numbered_slice "|" numbered_slice)
set(failures "")
foreach(source IN LISTS sources)
  if(source MATCHES "columns\\.h$" OR source MATCHES "/core/app/fixedwidth\\.(h|cpp)$")
    continue()
  endif()
  file(STRINGS "${source}" hits REGEX "${numbered_slice}")
  if(NOT hits)
    continue()
  endif()
  # The line number: count the line ends before each hit, searching on from the one before.
  file(READ "${source}" text)
  set(searched 0)
  set(line 1)
  foreach(hit IN LISTS hits)
    string(REPLACE "\\;" ";" hit "${hit}") # a line's own semicolons come escaped
    string(SUBSTRING "${text}" ${searched} -1 rest)
    string(FIND "${rest}" "${hit}" at)
    if(at GREATER_EQUAL 0)
      string(SUBSTRING "${rest}" 0 ${at} before)
      string(REGEX MATCHALL "\n" ends "${before}")
      list(LENGTH ends count)
      math(EXPR line "${line} + ${count}")
      string(LENGTH "${hit}" length)
      math(EXPR searched "${searched} + ${at} + ${length}")
    endif()
    string(STRIP "${hit}" hit)
    string(APPEND failures "\n  ${source}:${line}: ${hit}")
  endforeach()
endforeach()
if(failures)
  message(FATAL_ERROR "Record columns spelled as numbers outside their columns header:${failures}")
endif()
