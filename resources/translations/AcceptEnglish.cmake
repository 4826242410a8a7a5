# Takes the source text as the English of every English entry that has no
# translation yet, and lists each one (cmake -P). The source texts are
# English: a new one that reads well needs nothing else; one that does not
# gets its English written into the .ts by hand afterwards. Entries with a
# translation, finished or not, are left alone.
# In: TS_DIR (the folder with the .ts files).
if(NOT DEFINED TS_DIR)
  message(FATAL_ERROR "AcceptEnglish.cmake needs -DTS_DIR=...")
endif()
file(GLOB files ${TS_DIR}/*_en.ts)
foreach(file IN LISTS files)
  file(READ ${file} text)
  # Listed from a copy whose semicolons cannot split the list of matches.
  string(ASCII 1 separator)
  string(REPLACE ";" "${separator}" listed "${text}")
  string(REGEX MATCHALL "<source>[^<]*</source>\n *<translation type=\"unfinished\">(</translation>|\n *<numerusform></numerusform>)"
         found "${listed}")
  get_filename_component(name ${file} NAME)
  foreach(entry IN LISTS found)
    string(REGEX REPLACE "<source>([^<]*)</source>.*" "\\1" source "${entry}")
    string(REPLACE "${separator}" ";" source "${source}")
    message(STATUS "${name}: ${source}")
  endforeach()
  # A plain message, then one with plural forms (English has two).
  string(REGEX REPLACE "<source>([^<]*)</source>\n( *)<translation type=\"unfinished\"></translation>"
         "<source>\\1</source>\n\\2<translation>\\1</translation>" text "${text}")
  string(REGEX REPLACE
         "<source>([^<]*)</source>\n( *)<translation type=\"unfinished\">\n( *)<numerusform></numerusform>\n *<numerusform></numerusform>"
         "<source>\\1</source>\n\\2<translation>\n\\3<numerusform>\\1</numerusform>\n\\3<numerusform>\\1</numerusform>"
         text "${text}")
  file(WRITE ${file} "${text}")
endforeach()
