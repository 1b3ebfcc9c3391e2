# Writes the manual page of a program from its own --help, so that the page cannot drift
# from the program. Run at build time:
#   cmake -DPROGRAM=path -DNAME=name -DSUMMARY=text -DVERSION=text -DOUTPUT=file.1
#         -P manpage.cmake
# The page is plain roff (a NAME section for whatis, the help text as it stands), which
# `man` and lintian read without warnings.
foreach(var PROGRAM NAME SUMMARY VERSION OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "manpage.cmake: ${var} is not set")
  endif()
endforeach()

# The desktop program builds its QApplication before it reads the options.
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND "${PROGRAM}" --help OUTPUT_VARIABLE help RESULT_VARIABLE status
                ERROR_QUIET)
if(NOT status EQUAL 0 OR help STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} --help failed (${status})")
endif()
string(REPLACE "${PROGRAM}" "${NAME}" help "${help}")

# roff: a backslash is written \e, a minus \-, and a line that starts with a dot or an
# apostrophe is kept from being read as a request.
string(REPLACE "\\" "\\e" help "${help}")
string(REPLACE "-" "\\-" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
string(REGEX REPLACE "\n+$" "" help "${help}")
string(TOUPPER "${NAME}" title)
string(REPLACE "-" "\\-" escapedName "${NAME}")

file(WRITE "${OUTPUT}"
     ".TH ${title} 1 \"\" \"${VERSION}\" \"User Commands\"\n"
     ".SH NAME\n${escapedName} \\- ${SUMMARY}\n"
     ".SH DESCRIPTION\n"
     "The text below is what \\fB${escapedName} \\-\\-help\\fR prints.\n"
     ".PP\n.nf\n${help}\n.fi\n"
     ".SH SEE ALSO\n"
     "The README of Tamvisto; the help pages in /usr/share/tamvisto.\n")
