# cmake -DCMARK=cmark-gfm|cmark -DINPUT=docs/user_guide.md -DOUTPUT=.../UserGuide.html
#       -DVERSION=x.y.z [-DTITLE="user guide"] [-DLINKS="a.md=A.html,b.md=../B.html"]
#       -P render_user_guide.cmake
# Renders a page of the documentation to one HTML page (the user guide for
# Help and the Start menu, the references it points to), turns its links to
# other pages into links to where those are installed, and copies the
# pictures it shows into a folder beside the page.
if(NOT DEFINED TITLE)
  set(TITLE "user guide")
endif()
# GitHub's cmark knows tables as an extension.
set(extensions)
get_filename_component(cmark_name ${CMARK} NAME)
if(cmark_name MATCHES "gfm")
  set(extensions -e table)
endif()
execute_process(COMMAND ${CMARK} ${extensions} --to html ${INPUT}
                OUTPUT_VARIABLE body RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmark could not render ${INPUT}")
endif()
string(REPLACE "," ";" LINKS "${LINKS}")
foreach(link ${LINKS})
  string(REGEX REPLACE "=.*$" "" from "${link}")
  string(REGEX REPLACE "^[^=]*=" "" to "${link}")
  string(REPLACE "href=\"${from}\"" "href=\"${to}\"" body "${body}")
  string(REPLACE "href=\"${from}#" "href=\"${to}#" body "${body}")
endforeach()
set(page "<!DOCTYPE html>
<html lang=\"en\">
<head>
<meta charset=\"utf-8\">
<title>ODC Setup ${VERSION} - ${TITLE}</title>
<style>
body { font-family: Segoe UI, Tahoma, sans-serif; max-width: 50em; margin: 2em auto; padding: 0 1em; line-height: 1.45; }
code, pre { font-family: Consolas, monospace; background: #f3f3f3; }
pre { padding: 0.5em; overflow-x: auto; }
img { max-width: 100%; border: 1px solid #ccc; }
table { border-collapse: collapse; } td, th { border: 1px solid #ccc; padding: 0.2em 0.5em; }
</style>
</head>
<body>
${body}<hr>
<p>ODC Setup ${VERSION}</p>
</body>
</html>
")
get_filename_component(out_dir ${OUTPUT} DIRECTORY)
file(WRITE ${OUTPUT} "${page}")
get_filename_component(in_dir ${INPUT} DIRECTORY)
file(READ ${INPUT} markdown)
# Square brackets would upset CMake's lists: match the links by their
# parenthesised part only.
string(REGEX MATCHALL "\\(screenshots/[^)]+\\)" pictures "${markdown}")
foreach(link ${pictures})
  string(REGEX REPLACE "^\\((.*)\\)$" "\\1" picture "${link}")
  get_filename_component(sub ${picture} DIRECTORY)
  file(COPY ${in_dir}/${picture} DESTINATION ${out_dir}/${sub})
endforeach()
