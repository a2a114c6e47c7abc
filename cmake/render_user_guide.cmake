# cmake -DCMARK=... -DINPUT=docs/user_guide.md -DOUTPUT=.../UserGuide.html
#       -DVERSION=x.y.z -P render_user_guide.cmake
# Renders the user guide to one HTML page for Help and the Start menu, and
# copies the pictures it shows into a folder beside the page.
execute_process(COMMAND ${CMARK} --to html ${INPUT}
                OUTPUT_VARIABLE body RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmark could not render ${INPUT}")
endif()
set(page "<!DOCTYPE html>
<html lang=\"en\">
<head>
<meta charset=\"utf-8\">
<title>ODC Setup ${VERSION} - user guide</title>
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
